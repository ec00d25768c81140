#pragma once

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
  // A label's text, by its name in the layout.
  virtual void Text(const char *label, const std::string &text) = 0;
  virtual std::string Text(const char *label) const = 0;
  // A control's tool tip, by its name in the layout.
  virtual std::string Tip(const char *control) const = 0;
  // The window's native handle (an HWND on Windows), the owner of shell calls.
  virtual std::uintptr_t NativeHandle() const = 0;
  // Closes the window; the modal loop that showed it returns.
  virtual void Close() = 0;
};

// The About window's behaviour, written once for every front end: loading
// and the four clicks.
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

private:
  IAboutWindow &m_window;
  Services m_services;
};

} // namespace tallyflow
