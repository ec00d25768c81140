#pragma once

#include "netstats/CInterfaces.h"
#include "netstats/IfTable.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallyflow {

// Byte totals over every row of one snapshot, in 64-bit arithmetic so that
// no row's unsigned 32-bit counter is ever dropped or wraps the sum.
struct IfTableTotals {
  std::uint64_t received = 0; // bytes
  std::uint64_t sent = 0;     // bytes
};

// Decodes every complete row of a MIB_IFTABLE image into new records appended
// to `into`, in table order, and returns the totals. Never reads outside
// `image`: a row count that claims more rows than the image holds decodes only
// the complete rows inside it. `table` converts the narrow description text.
// The records of one snapshot live in one new block that every handle shares.
IfTableTotals DecodeIfTable(std::span<const std::byte> image, const IIfTable &table, CInterfaces &into);

// The rows a MIB_IFTABLE image holds: what its count claims, but only the
// complete rows inside the image.
std::size_t CompleteRows(std::span<const std::byte> image);

// wszName: UTF-16LE code units up to the first NUL (all when there is none),
// as UTF-8 in `out` (its contents replaced, its room kept); an unpaired
// surrogate becomes U+FFFD.
void Utf16LeToUtf8(std::span<const std::byte> units, std::string &out);

// bPhysAddr as upper-case hex bytes without leading zeros ("00" for a zero
// byte) joined by "-", into `text`; returns the characters written: none
// when the length is 0 or negative, at most 23 (the 8 bytes the row holds).
std::size_t FormatAdapterAddress(std::span<const std::byte> bytes, std::int32_t length,
                                 char (&text)[mib::kPhysAddrMax * 3]);

inline std::uint32_t LoadLe32(const std::byte *p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline void StoreLe32(std::byte *p, std::uint32_t v) {
  p[0] = static_cast<std::byte>(v);
  p[1] = static_cast<std::byte>(v >> 8);
  p[2] = static_cast<std::byte>(v >> 16);
  p[3] = static_cast<std::byte>(v >> 24);
}

} // namespace tallyflow
