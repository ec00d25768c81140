#pragma once

#include "IYield.h"

#include <functional>

namespace tallyflow::test {

// A yield that runs a scripted step once, at the next yield: a click that
// arrives while a tick waits in its yield.
class ScriptedYield final : public IYield {
public:
  void RunPendingEvents() override {
    if (hook) {
      auto h = std::move(hook); // once
      h();
    }
  }
  std::function<void()> hook;
};

} // namespace tallyflow::test
