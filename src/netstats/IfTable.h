#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tallyflow {

// Result codes of GetIfTable, as the Win32 call returns them.
inline constexpr std::uint32_t kNoError = 0;
inline constexpr std::uint32_t kErrorNotSupported = 50;
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;

// The published MIB_IFTABLE image: a 4-byte row count, then 860-byte
// MIB_IFROW rows. All integers little-endian. Offsets are bytes within a row.
namespace mib {
inline constexpr std::size_t kCountSize = 4;
inline constexpr std::size_t kRowSize = 860;
inline constexpr std::size_t kNameChars = 256; // UTF-16 code units
inline constexpr std::size_t kName = 0;
inline constexpr std::size_t kIndex = 512;
inline constexpr std::size_t kType = 516;
inline constexpr std::size_t kMtu = 520;
inline constexpr std::size_t kSpeed = 524;
inline constexpr std::size_t kPhysAddrLen = 528;
inline constexpr std::size_t kPhysAddr = 532;
inline constexpr std::size_t kPhysAddrMax = 8;
inline constexpr std::size_t kAdminStatus = 540;
inline constexpr std::size_t kOperStatus = 544;
inline constexpr std::size_t kLastChange = 548;
inline constexpr std::size_t kInOctets = 552;
inline constexpr std::size_t kInUcastPkts = 556;
inline constexpr std::size_t kInNUcastPkts = 560;
inline constexpr std::size_t kInDiscards = 564;
inline constexpr std::size_t kInErrors = 568;
inline constexpr std::size_t kInUnknownProtos = 572;
inline constexpr std::size_t kOutOctets = 576;
inline constexpr std::size_t kOutUcastPkts = 580;
inline constexpr std::size_t kOutNUcastPkts = 584;
inline constexpr std::size_t kOutDiscards = 588;
inline constexpr std::size_t kOutErrors = 592;
inline constexpr std::size_t kOutQLen = 596;
inline constexpr std::size_t kDescrLen = 600;
inline constexpr std::size_t kDescr = 604;
inline constexpr std::size_t kDescrMax = 256; // bytes of narrow text

constexpr std::size_t TableSize(std::size_t rows) { return kCountSize + rows * kRowSize; }
} // namespace mib

// What the snapshot needs of the platform's interface table: the contract of
// IP Helper's GetIfTable. With no buffer, or one smaller than the table, the
// call stores the needed size in *pdwSize and returns 122; with a buffer large
// enough it fills a MIB_IFTABLE image and returns 0; 50 means the platform
// has no interface table. Bytes of a row's name after its terminator, and of
// its description beyond dwDescrLen, carry nothing and may be anything.
class IIfTable {
public:
  virtual ~IIfTable() = default;

  virtual std::uint32_t GetIfTable(std::byte *pIfTable, std::uint32_t *pdwSize, bool bOrder) = 0;

  // The contract of GetNumberOfInterfaces: stores how many rows a table
  // taken now would hold and returns 0. A platform that cannot tell without
  // building the table returns 50, and the caller counts a table instead;
  // that is the default.
  virtual std::uint32_t GetNumberOfInterfaces(std::uint32_t *pdwNumIf) {
    static_cast<void>(pdwNumIf);
    return kErrorNotSupported;
  }

  // bDescr holds narrow text in the platform's code page; the program works
  // in UTF-8. Linux fills UTF-8 already, so the default is the identity.
  virtual std::string NarrowToUtf8(std::string_view narrow) const { return std::string(narrow); }
};

} // namespace tallyflow
