#pragma once

#include <string>
#include <vector>

namespace tallyflow {

// Starts a program detached, in a normal window with the focus. Arguments go
// as a list, never through a shell. False when it could not be started.
class IProgramStarter {
public:
  virtual ~IProgramStarter() = default;
  virtual bool Start(const std::string &program, const std::vector<std::string> &arguments) = 0;
};

} // namespace tallyflow
