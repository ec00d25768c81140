#pragma once

#include <string>

namespace tallyflow {

// A modal message with an OK button only.
class IMessageBox {
public:
  virtual ~IMessageBox() = default;
  virtual void Show(const std::string &text) = 0;
};

} // namespace tallyflow
