#pragma once

#include "about/AboutForm.h"
#include "ui/win32/Win32Form.h"

#include <functional>
#include <memory>

namespace tallyflow {

// The About window on Win32: a fixed dialog-framed window built from the
// layout table; its behaviour is AboutForm's. ShowModal disables the owner
// and runs the messages of every window (the monitor's timers keep ticking)
// until it closes; Escape and the close box close it as OK does.
class Win32AboutWindow final : public Win32Form, public IAboutWindow {
public:
  struct Services {
    AboutForm::Services form;
    HICON icon = nullptr; // the program icon, 64 × 64 at 96 dpi
    HCURSOR linkCursor = nullptr;
  };

  Win32AboutWindow(Services services, HWND owner, int dpi);
  ~Win32AboutWindow() override;

  AboutForm &Form() { return *m_form; }

  // Makes, loads and shows the window modally over `owner`; returns when it
  // closes. `preTranslate` is the program's keyboard handling for the other
  // windows whose messages run meanwhile.
  static void ShowModal(Services services, HWND owner, int dpi,
                        const std::function<bool(MSG &)> &preTranslate);

  // IAboutWindow
  void Caption(const std::string &text) override;
  void Text(AboutControl label, const std::string &text) override;
  std::string Text(AboutControl label) const override;
  std::string Tip(AboutControl control) const override;
  std::uintptr_t NativeHandle() const override { return reinterpret_cast<std::uintptr_t>(Hwnd()); }
  void Close() override { m_closed = true; }

  bool Closed() const { return m_closed; }

protected:
  HWND MakePicture(const ControlLayout &c, HWND parent, RECT bounds, int id) override;
  bool Handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
  void Command(const ControlLayout &c, int code) override;

private:
  HICON m_icon;
  HCURSOR m_linkCursor;
  bool m_closed = false;
  std::unique_ptr<AboutForm> m_form;
};

} // namespace tallyflow
