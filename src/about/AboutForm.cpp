#include "about/AboutForm.h"

namespace tallyflow {

void AboutForm::Form_Load() {
  const AboutTexts texts = LoadAbout(m_services.version, *m_services.facts);
  m_window.Caption(texts.caption);
  m_window.Text(AboutControl::lblTitle, texts.title);
  m_window.Text(AboutControl::lblCopyright, texts.copyright);
  m_window.Text(AboutControl::lblregname, texts.owner);
  m_window.Text(AboutControl::lblregcompany, texts.organisation);
}

void AboutForm::cmdSysInfo_Click() {
  StartSysInfo(*m_services.facts, *m_services.starter, *m_services.messages);
}

void AboutForm::lblEMail_Click() {
  m_services.shell->Open(EmailTarget(m_window.Text(AboutControl::lblTitle)), m_window.NativeHandle());
}

// The home page is the link's own tool tip, so the two never disagree.
void AboutForm::lblHomePage_Click() {
  m_services.shell->Open(m_window.Tip(AboutControl::lblHomePage), m_window.NativeHandle());
}

void AboutForm::Click(AboutControl control) {
  switch (control) {
  case AboutControl::cmdok:
    cmdok_Click();
    break;
  case AboutControl::cmdSysInfo:
    cmdSysInfo_Click();
    break;
  case AboutControl::lblEMail:
    lblEMail_Click();
    break;
  case AboutControl::lblHomePage:
    lblHomePage_Click();
    break;
  default:
    break;
  }
}

} // namespace tallyflow
