#include "ui/win32/Win32Handles.h"

namespace tallyflow {

ATOM RegisterClassOnce(const wchar_t *name, WNDPROC proc, HCURSOR cursor, HBRUSH background) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (const ATOM atom = static_cast<ATOM>(::GetClassInfoExW(instance, name, &existing))) {
    return atom;
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = cursor != nullptr ? cursor : ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return ::RegisterClassExW(&wc);
}

} // namespace tallyflow
