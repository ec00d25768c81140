#pragma once

#include "IShellOpener.h"

#include <windows.h>

namespace tallyflow {

// ShellExecuteA as the About window has always called it, the About window
// as the owner; the result is not examined. The call comes in through the
// constructor, so that a test can see what is passed.
class Win32ShellOpener final : public IShellOpener {
public:
  using ShellExecuteFn = HINSTANCE(WINAPI *)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  explicit Win32ShellOpener(ShellExecuteFn shellExecute);
  void Open(const std::string &target, std::uintptr_t owner) override;

private:
  ShellExecuteFn m_shellExecute;
};

} // namespace tallyflow
