#pragma once

#include "netstats/IfTable.h"

#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyflow::test {

// A scripted GetIfTable. Each snapshot takes the next scripted table (the
// last one repeats). Faults can be injected per snapshot: a result for the
// size query or the fill, or a table that grows between the two calls.
class FakeIfTable final : public IIfTable {
public:
  struct Snapshot {
    std::vector<std::byte> image;
    std::optional<std::uint32_t> sizeResult; // instead of 122
    std::optional<std::uint32_t> fillResult; // instead of 0
    std::size_t growBy = 0;                  // bytes the table grows after the size query
  };

  void Push(Snapshot s) { m_script.push_back(std::move(s)); }
  void Push(std::vector<std::byte> image) { Push(Snapshot{std::move(image), {}, {}, 0}); }

  std::uint32_t GetIfTable(std::byte *pIfTable, std::uint32_t *pdwSize, bool bOrder) override {
    ++calls;
    lastOrder = bOrder;
    if (pIfTable == nullptr) {
      // A size query starts the next snapshot.
      if (m_script.size() > 1 && started) {
        m_script.pop_front();
      }
      started = true;
    }
    if (m_script.empty()) {
      return kErrorNotSupported;
    }
    const Snapshot &s = m_script.front();
    const std::size_t needed = s.image.size() + (pIfTable ? s.growBy : 0);
    if (pIfTable == nullptr) {
      *pdwSize = static_cast<std::uint32_t>(s.image.size());
      return s.sizeResult.value_or(kErrorInsufficientBuffer);
    }
    if (*pdwSize < needed) {
      *pdwSize = static_cast<std::uint32_t>(needed);
      return kErrorInsufficientBuffer;
    }
    if (s.fillResult && *s.fillResult != kNoError) {
      return *s.fillResult;
    }
    std::memcpy(pIfTable, s.image.data(), s.image.size());
    return kNoError;
  }

  // The platform's own count, when the test gives one; GetIfTable is not
  // asked for it.
  std::uint32_t GetNumberOfInterfaces(std::uint32_t *pdwNumIf) override {
    ++countCalls;
    if (!numberOfInterfaces) {
      return kErrorNotSupported;
    }
    *pdwNumIf = *numberOfInterfaces;
    return kNoError;
  }

  // With latin1 set, bDescr is read as a single-byte code page (Latin-1),
  // as on Windows; otherwise it is taken as UTF-8 already.
  std::string NarrowToUtf8(std::string_view narrow) const override {
    if (!latin1) {
      return std::string(narrow);
    }
    std::string out;
    for (const char c : narrow) {
      const auto b = static_cast<unsigned char>(c);
      if (b < 0x80) {
        out += c;
      } else {
        out += static_cast<char>(0xC0 | (b >> 6));
        out += static_cast<char>(0x80 | (b & 0x3F));
      }
    }
    return out;
  }

  std::optional<std::uint32_t> numberOfInterfaces;
  bool latin1 = false;
  int calls = 0;
  int countCalls = 0;
  bool lastOrder = true;
  bool started = false;

private:
  std::deque<Snapshot> m_script;
};

} // namespace tallyflow::test
