# Sourced: steady_shot WINDOW FILE takes a screenshot once two taken 0.3 s
# apart agree (a tool tip or a first paint on its way out is gone), trying
# for up to 15 s; after that the last one stays, and it returns 1.
steady_shot() {
  import -window "$1" "$2"
  for _ in $(seq 50); do
    sleep 0.3
    import -window "$1" "$2.next.png"
    if [ "$(/usr/bin/compare -metric AE "$2" "$2.next.png" null: 2>&1 || true)" = 0 ]; then
      rm -f "$2.next.png"
      return 0
    fi
    mv "$2.next.png" "$2"
  done
  return 1
}
