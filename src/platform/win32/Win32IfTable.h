#pragma once

#include "netstats/IfTable.h"

namespace tallyflow {

// The real IP Helper GetIfTable.
class Win32IfTable final : public IIfTable {
public:
  std::uint32_t GetIfTable(std::byte *pIfTable, std::uint32_t *pdwSize, bool bOrder) override;
  // bDescr is in the system's ANSI code page.
  std::string NarrowToUtf8(std::string_view narrow) const override;
};

} // namespace tallyflow
