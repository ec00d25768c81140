#pragma once

#include "about/AboutLayout.h"
#include "about/AboutLogic.h"
#include "services/IMessageBox.h"
#include "services/IProgramStarter.h"
#include "services/IShellOpener.h"

#include <cstdint>
#include <string>

namespace tallyflow {

// The About window as its logic sees it.
class IAboutWindow {
public:
  virtual ~IAboutWindow() = default;
  virtual void Caption(const std::string &text) = 0;
  // A label's text.
  virtual void Text(AboutControl label, const std::string &text) = 0;
  virtual std::string Text(AboutControl label) const = 0;
  // A control's tool tip.
  virtual std::string Tip(AboutControl control) const = 0;
  // The window's native handle (an HWND on Windows), the owner of shell calls.
  virtual std::uintptr_t NativeHandle() const = 0;
  // Closes the window; the modal loop that showed it returns.
  virtual void Close() = 0;
};

// The About window's behaviour, written once for every front end: loading
// and the four clicks, which a front end passes on by the control's
// identifier (Click) or calls by name.
class AboutForm {
public:
  struct Services {
    VersionInfo version;
    ISystemFacts *facts = nullptr;
    IProgramStarter *starter = nullptr;
    IMessageBox *messages = nullptr;
    IShellOpener *shell = nullptr;
  };

  AboutForm(IAboutWindow &window, Services services) : m_window(window), m_services(std::move(services)) {}

  void Form_Load();
  void cmdok_Click() { m_window.Close(); }
  void cmdSysInfo_Click();
  void lblEMail_Click();
  void lblHomePage_Click();
  // A button or link was pressed; other controls are not pressed.
  void Click(AboutControl control);

private:
  IAboutWindow &m_window;
  Services m_services;
};

} // namespace tallyflow
