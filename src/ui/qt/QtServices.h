#pragma once

#include "pictures/NumberPicture.h"
#include "services/AppFacts.h"
#include "services/IFileTest.h"
#include "services/IMessageBox.h"
#include "services/IProgramStarter.h"
#include "services/IShellOpener.h"
#include "services/IYield.h"

#include <QString>

class QWidget;

namespace tallyflow {

class QtYield final : public IYield {
public:
  void RunPendingEvents() override;
};

class QtMessageBox final : public IMessageBox {
public:
  explicit QtMessageBox(QWidget *parent = nullptr) : m_parent(parent) {}
  void Show(const std::string &text) override;

private:
  QWidget *m_parent;
};

class QtProgramStarter final : public IProgramStarter {
public:
  bool Start(const std::string &program, const std::vector<std::string> &arguments) override;
};

// Opens with the desktop's handler; QUrl's tolerant parsing percent-encodes
// what a URL may not hold as it is (the blanks of a mailto subject).
class QtShellOpener final : public IShellOpener {
public:
  void Open(const std::string &target, std::uintptr_t owner) override;
};

class QtFileTest final : public IFileTest {
public:
  bool FileExists(const std::string &path) const override;
};

// Facts of the running program: its path from Qt, the rest from the build.
AppFacts ReadAppFacts();

// The user's thousands separator and decimal point.
NumberLocale SystemNumberLocale();

inline QString ToQString(const std::string &utf8) { return QString::fromStdString(utf8); }

} // namespace tallyflow
