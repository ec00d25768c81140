#pragma once

#include "services/IFileTest.h"
#include "services/IMessageBox.h"
#include "services/IProgramStarter.h"
#include "services/IShellOpener.h"

#include <set>
#include <string>
#include <vector>

namespace tallyflow::test {

struct FakeFiles final : IFileTest {
  bool FileExists(const std::string &path) const override { return files.count(path) > 0; }
  std::set<std::string> files;
};

// Starts only what exists in `files` (when given); records every attempt.
struct FakeStarter final : IProgramStarter {
  bool Start(const std::string &program, const std::vector<std::string> &arguments) override {
    started.push_back(program);
    lastArguments = arguments;
    return files == nullptr || files->FileExists(program);
  }
  const FakeFiles *files = nullptr;
  std::vector<std::string> started;
  std::vector<std::string> lastArguments;
};

struct FakeMessages final : IMessageBox {
  void Show(const std::string &text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

struct FakeShell final : IShellOpener {
  void Open(const std::string &target, std::uintptr_t owner) override {
    opened.push_back(target);
    owners.push_back(owner);
  }
  std::vector<std::string> opened;
  std::vector<std::uintptr_t> owners;
};

} // namespace tallyflow::test
