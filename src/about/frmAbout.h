#pragma once

#include "AboutLogic.h"
#include "IShellOpener.h"
#include "Twips.h"

#include <QDialog>

#include <map>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace tallyflow {

// The About window's controls, in twips relative to their parent.
const std::vector<ControlLayout> &AboutLayout();

// A fixed-size modal dialog: title and version, copyright, the registered
// owner and organisation, the system-information launcher and two links.
// Every opening makes and loads it afresh.
class frmAbout final : public QDialog {
public:
  struct Services {
    VersionInfo version;
    ISystemFacts *facts = nullptr;
    IProgramStarter *starter = nullptr;
    IMessageBox *messages = nullptr;
    IShellOpener *shell = nullptr;
  };

  explicit frmAbout(Services services);

  void Form_Load();
  void cmdok_Click();
  void cmdSysInfo_Click();
  void lblEMail_Click();
  void lblHomePage_Click();

  // Makes, loads and shows the dialog modally; returns when it closes.
  static void ShowModal(Services services);

  QLabel *Label(const char *name) const;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void BuildControls();

  Services m_services;
  std::map<std::string, QWidget *> m_controls;
};

} // namespace tallyflow
