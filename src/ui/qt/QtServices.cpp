#include "ui/qt/QtServices.h"

#include "services/BuildInfo.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace tallyflow {

void QtYield::RunPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtMessageBox::Show(const std::string &text) {
  QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), ToQString(text), QMessageBox::Ok,
                  m_parent);
  box.setTextFormat(Qt::PlainText); // the text may name a path or a program
  box.exec();
}

bool QtProgramStarter::Start(const std::string &program, const std::vector<std::string> &arguments) {
  QStringList args;
  for (const auto &a : arguments) {
    args << ToQString(a);
  }
  return QProcess::startDetached(ToQString(program), args);
}

void QtShellOpener::Open(const std::string &target, std::uintptr_t) {
  QDesktopServices::openUrl(QUrl(ToQString(target), QUrl::TolerantMode));
}

bool QtFileTest::FileExists(const std::string &path) const {
  const QFileInfo info(ToQString(path));
  return info.exists() && info.isFile();
}

AppFacts ReadAppFacts() {
  AppFacts facts;
  facts.title = build::kTitle;
  const QFileInfo exe(QCoreApplication::applicationFilePath());
  facts.exePath = exe.absoluteFilePath().toStdString();
  // Linux names no type after a dot: "My.Monitor" is the whole name, and the
  // settings and the start-up entry both go by it.
  facts.exeName = exe.fileName().toStdString();
  // QDir keeps a root as "/" (or "C:/"), any other directory without a
  // trailing separator; the native form uses the platform's separator.
  facts.exeDirectory = QDir::toNativeSeparators(exe.absolutePath()).toStdString();
  facts.version = build::Version();
  return facts;
}

NumberLocale SystemNumberLocale() {
  const QLocale locale;
  return NumberLocale{locale.groupSeparator().toStdString(), locale.decimalPoint().toStdString()};
}

} // namespace tallyflow
