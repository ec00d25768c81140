#pragma once

#include "about/AboutForm.h"
#include "about/AboutLayout.h"

#include <QDialog>

#include <map>
#include <string>

class QLabel;

namespace tallyflow {

// The About window on Qt: a fixed-size modal dialog built from the layout
// table; its behaviour is AboutForm's. Every opening makes and loads it
// afresh.
class frmAbout final : public QDialog, public IAboutWindow {
public:
  using Services = AboutForm::Services;

  explicit frmAbout(Services services);

  void Form_Load() { m_form.Form_Load(); }

  // Makes, loads and shows the dialog modally; returns when it closes.
  static void ShowModal(Services services);

  QLabel *Label(AboutControl label) const;

  // IAboutWindow
  void Caption(const std::string &text) override;
  void Text(AboutControl label, const std::string &text) override;
  std::string Text(AboutControl label) const override;
  std::string Tip(AboutControl control) const override;
  std::uintptr_t NativeHandle() const override;
  void Close() override { accept(); }

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  void BuildControls();

  std::map<int, QWidget *> m_controls; // by identifier
  AboutForm m_form;
};

} // namespace tallyflow
