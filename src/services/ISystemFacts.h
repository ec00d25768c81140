#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tallyflow {

// A program to start, with its arguments.
struct ProgramCall {
  std::string program;
  std::vector<std::string> arguments;
};

// What the About window learns of the machine. Owner and organisation are
// nothing when the read failed; the tool is nothing when there is none.
class ISystemFacts {
public:
  virtual ~ISystemFacts() = default;
  virtual std::optional<std::string> RegisteredOwner() = 0;
  virtual std::optional<std::string> RegisteredOrganization() = 0;
  virtual std::optional<ProgramCall> SystemInfoTool() = 0;
};

} // namespace tallyflow
