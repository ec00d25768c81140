#pragma once

// Builds MIB_IFTABLE images byte by byte at the published offsets, written
// out here as plain numbers so that a wrong offset in the product's decoder
// cannot hide behind a shared constant.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tallyflow::test {

struct MibRow {
  std::u16string name;
  std::uint32_t index = 0;
  std::uint32_t type = 6;
  std::uint32_t mtu = 1500;
  std::uint32_t speed = 0;
  std::uint32_t physAddrLen = 0;
  std::vector<std::uint8_t> physAddr; // up to 8 bytes
  std::uint32_t adminStatus = 1;
  std::uint32_t operStatus = 5;
  std::uint32_t lastChange = 0;
  std::uint32_t inOctets = 0;
  std::uint32_t inUcast = 0;
  std::uint32_t inNUcast = 0;
  std::uint32_t inDiscards = 0;
  std::uint32_t inErrors = 0;
  std::uint32_t inUnknown = 0;
  std::uint32_t outOctets = 0;
  std::uint32_t outUcast = 0;
  std::uint32_t outNUcast = 0;
  std::uint32_t outDiscards = 0;
  std::uint32_t outErrors = 0;
  std::uint32_t outQLen = 0;
  std::uint32_t descrLen = 0;
  std::string descr; // raw bytes, at most 256
};

// A row with an index and a description, the rest as above.
inline MibRow NamedRow(std::uint32_t index, const std::string &descr) {
  MibRow r;
  r.index = index;
  r.descr = descr;
  r.descrLen = static_cast<std::uint32_t>(descr.size());
  return r;
}

inline void Put32(std::vector<std::byte> &b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) {
    b[at + static_cast<std::size_t>(i)] = static_cast<std::byte>((v >> (8 * i)) & 0xFF);
  }
}

// `claimedRows` is what bytes 0-3 say; by default the number of rows given.
inline std::vector<std::byte> BuildMibTable(const std::vector<MibRow> &rows, long long claimedRows = -1) {
  std::vector<std::byte> b(4 + rows.size() * 860);
  Put32(b, 0,
        static_cast<std::uint32_t>(claimedRows < 0 ? static_cast<long long>(rows.size()) : claimedRows));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const MibRow &row = rows[r];
    const std::size_t base = 4 + r * 860;
    for (std::size_t i = 0; i < row.name.size() && i < 256; ++i) {
      b[base + 2 * i] = static_cast<std::byte>(row.name[i] & 0xFF);
      b[base + 2 * i + 1] = static_cast<std::byte>(row.name[i] >> 8);
    }
    Put32(b, base + 512, row.index);
    Put32(b, base + 516, row.type);
    Put32(b, base + 520, row.mtu);
    Put32(b, base + 524, row.speed);
    Put32(b, base + 528, row.physAddrLen);
    for (std::size_t i = 0; i < row.physAddr.size() && i < 8; ++i) {
      b[base + 532 + i] = static_cast<std::byte>(row.physAddr[i]);
    }
    Put32(b, base + 540, row.adminStatus);
    Put32(b, base + 544, row.operStatus);
    Put32(b, base + 548, row.lastChange);
    Put32(b, base + 552, row.inOctets);
    Put32(b, base + 556, row.inUcast);
    Put32(b, base + 560, row.inNUcast);
    Put32(b, base + 564, row.inDiscards);
    Put32(b, base + 568, row.inErrors);
    Put32(b, base + 572, row.inUnknown);
    Put32(b, base + 576, row.outOctets);
    Put32(b, base + 580, row.outUcast);
    Put32(b, base + 584, row.outNUcast);
    Put32(b, base + 588, row.outDiscards);
    Put32(b, base + 592, row.outErrors);
    Put32(b, base + 596, row.outQLen);
    Put32(b, base + 600, row.descrLen);
    std::memcpy(b.data() + base + 604, row.descr.data(), std::min<std::size_t>(row.descr.size(), 256));
  }
  return b;
}

} // namespace tallyflow::test
