#pragma once

#include "pictures/NumberPicture.h"
#include "services/AppFacts.h"
#include "services/IFileTest.h"
#include "services/IMessageBox.h"
#include "services/IProgramStarter.h"
#include "services/IYield.h"
#include "ui/win32/Win32Handles.h"

#include <functional>
#include <optional>
#include <string>

namespace tallyflow {

// Runs the messages waiting now, with the program's keyboard handling, and
// returns. A WM_QUIT met on the way is put back for the main loop.
class Win32Yield final : public IYield {
public:
  explicit Win32Yield(std::function<bool(MSG &)> preTranslate) : m_preTranslate(std::move(preTranslate)) {}
  void RunPendingEvents() override;

private:
  std::function<bool(MSG &)> m_preTranslate;
};

// MessageBoxA with OK only, the program's title as its caption.
class Win32MessageBox final : public IMessageBox {
public:
  Win32MessageBox(std::string caption, std::function<HWND()> owner)
      : m_caption(std::move(caption)), m_owner(std::move(owner)) {}
  void Show(const std::string &text) override;

private:
  std::string m_caption;
  std::function<HWND()> m_owner;
};

// CreateProcessW in a normal window with the focus; the program's path is a
// registry text, in the system code page. Arguments are quoted as the C
// runtime splits them.
class Win32ProgramStarter final : public IProgramStarter {
public:
  bool Start(const std::string &program, const std::vector<std::string> &arguments) override;
};

// An ordinary file at a path in the system code page.
class Win32FileTest final : public IFileTest {
public:
  bool FileExists(const std::string &path) const override;
};

// The running program: its path from GetModuleFileNameW, the rest from the
// build. The path and names go to the registry, so they are in the system
// code page; a path that has no form there is given in its short (8.3)
// form, which names the same file in ASCII. Nothing when neither exists.
std::optional<AppFacts> ReadWin32AppFacts();
// The same from a full wide path, as a test can give.
std::optional<AppFacts> AppFactsFor(const std::wstring &exePath);

// The user's digit grouping and decimal separator (GetLocaleInfoEx).
NumberLocale Win32NumberLocale();

// The dots per inch of the primary screen.
int ScreenDpi();

// The link labels' pointing hand, made from its outline.
HCURSOR MakeLinkCursor();

} // namespace tallyflow
