#!/usr/bin/python3
"""Walks Tallyflow's windows as assistive technology sees them over AT-SPI.

Usage: atspi_walk.py monitor|about
Checks what a screen reader relies on and prints one line per fault; for
the monitor, also prints "entries:" and the connection list's entries, one
per line, for the speech checks. Exits 1 on any fault."""
import sys
import time

import pyatspi

CONTROLS = {"combo box", "check box", "push button", "link", "text", "image"}


def application():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Tallyflow Manager":
                return app
        time.sleep(0.1)
    sys.exit("no application named Tallyflow Manager on the AT-SPI bus")


def descendants(node):
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


def main(which):
    app = application()
    faults = []
    wanted = "frame" if which == "monitor" else "dialog"
    for _ in range(50):
        tops = [w for w in app if w is not None and w.getRoleName() == wanted]
        if tops:
            break
        time.sleep(0.1)
    else:
        sys.exit(f"no top level with the role {wanted}")
    top = tops[0]
    if not top.name.strip():
        faults.append(f"the {wanted} has no name")
    for node in descendants(top):
        role, name = node.getRoleName(), node.name.strip()
        showing = node.getState().contains(pyatspi.STATE_SHOWING)
        if not showing and role not in ("list item", "list"):
            continue  # hidden: nothing a reader meets
        if role in ("frame", "filler", "dialog", "window"):
            faults.append(f"a {role} ({name!r}) inside the window: a screen reader takes it for a window")
        if showing and role in CONTROLS and not name:
            faults.append(f"an unnamed {role}")
        if showing and role == "label" and not name:
            faults.append("an empty label")
    if which == "monitor":
        combos = [n for n in descendants(top) if n.getRoleName() == "combo box"]
        items = list(descendants(combos[0][0])) if combos else []
        selected = [i.name for i in items if i.getState().contains(pyatspi.STATE_SELECTED)]
        text = combos[0].queryText().getText(0, -1) if combos else None
        if len(selected) != 1 or text != selected[0]:
            faults.append(f"the connection list's text {text!r} is not its one selected entry {selected}")
        labels = [r for r in combos[0].getRelationSet()
                  if r.getRelationType() == pyatspi.RELATION_LABELLED_BY] if combos else []
        if not labels or "Connection type" not in labels[0].getTarget(0).name:
            faults.append("the connection list is not labelled by its caption")
        print("entries:")
        for item in items:
            print(item.name.strip())
    else:
        links = [n for n in descendants(top) if n.getRoleName() == "link"]
        for link in links:
            actions = link.queryAction()
            names = [actions.getName(i) for i in range(actions.nActions)]
            if "press" not in [n.lower() for n in names]:
                faults.append(f"the link {link.name!r} has no press action: {names}")
        if sorted(link.name for link in links) != ["Email me", "WebSite"]:
            faults.append(f"links: {[link.name for link in links]}")
        for node in descendants(top):
            if node.name == "Registered name:" and not any(
                    r.getRelationType() == pyatspi.RELATION_LABEL_FOR for r in node.getRelationSet()):
                faults.append("the caption 'Registered name:' labels nothing")
    for fault in faults:
        print("FAULT:", fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
