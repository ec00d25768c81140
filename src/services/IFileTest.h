#pragma once

#include <string>

namespace tallyflow {

// Whether an ordinary file exists at a path.
class IFileTest {
public:
  virtual ~IFileTest() = default;
  virtual bool FileExists(const std::string &path) const = 0;
};

} // namespace tallyflow
