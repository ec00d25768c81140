#include "platform/linux/iftable/PackedRows.h"

#include "netstats/IfTable.h"
#include "netstats/IfTableDecoder.h"

#include <algorithm>
#include <cstring>

namespace tallyflow {
namespace {

// A packed row: the name's and the description's lengths in bytes (16 bits
// each), the fixed fields from the index up to the description's length as
// the table lays them out, the name, the description; padding to 8 bytes.
constexpr std::size_t kNameBytes = 0;
constexpr std::size_t kDescrBytes = 2;
constexpr std::size_t kFixed = 4;
constexpr std::size_t kFixedBytes = mib::kDescr - mib::kIndex;
constexpr std::size_t kName = kFixed + kFixedBytes;

std::size_t Load16(const std::byte *p) {
  return static_cast<std::size_t>(p[0]) | static_cast<std::size_t>(p[1]) << 8;
}

void Store16(std::byte *p, std::size_t v) {
  p[0] = static_cast<std::byte>(v & 0xFF);
  p[1] = static_cast<std::byte>((v >> 8) & 0xFF);
}

// A table field in a packed row.
void PutField(std::byte *packed, std::size_t tableOffset, std::uint32_t value) {
  StoreLe32(packed + kFixed + (tableOffset - mib::kIndex), value);
}

void PutCounters(std::byte *packed, const Counters &c) {
  static constexpr std::size_t kFields[kCounterCount] = {
      mib::kInOctets,        mib::kInUcastPkts, mib::kInNUcastPkts, mib::kInDiscards,  mib::kInErrors,
      mib::kInUnknownProtos, mib::kOutOctets,   mib::kOutUcastPkts, mib::kOutDiscards, mib::kOutErrors};
  for (std::size_t i = 0; i < kCounterCount; ++i) {
    PutField(packed, kFields[i], c[i]);
  }
}

} // namespace

void PackedRows::Truncate(std::size_t rows) {
  if (rows < m_offsets.size()) {
    m_bytes.resize(m_offsets[rows]);
    m_offsets.resize(rows);
  }
}

void PackedRows::Append(const RowFacts &facts, const Counters &counters) {
  const std::size_t nameBytes = 2 * (facts.name.size() + 1);
  const std::size_t descrBytes = std::min(facts.description.size(), mib::kDescrMax);
  const std::size_t at = m_bytes.size();
  m_bytes.resize(at + ((kName + nameBytes + descrBytes + 7) & ~std::size_t{7}), std::byte{0});
  std::byte *packed = m_bytes.data() + at;
  Store16(packed + kNameBytes, nameBytes);
  Store16(packed + kDescrBytes, descrBytes);
  PutField(packed, mib::kIndex, facts.index);
  PutField(packed, mib::kType, facts.type);
  PutField(packed, mib::kMtu, facts.mtu);
  PutField(packed, mib::kSpeed, facts.speed);
  const std::size_t addressBytes = std::min(facts.address.size(), mib::kPhysAddrMax);
  PutField(packed, mib::kPhysAddrLen, static_cast<std::uint32_t>(addressBytes));
  std::copy_n(facts.address.begin(), addressBytes, packed + kFixed + (mib::kPhysAddr - mib::kIndex));
  PutField(packed, mib::kAdminStatus, facts.adminStatus);
  PutField(packed, mib::kOperStatus, facts.operStatus);
  PutField(packed, mib::kLastChange, facts.lastChange);
  // Sent multicast (kOutNUcastPkts) Linux does not count apart, and the
  // output queue length it does not keep: both stay 0.
  PutField(packed, mib::kDescrLen, static_cast<std::uint32_t>(descrBytes));
  PutCounters(packed, counters);
  for (std::size_t i = 0; i < facts.name.size(); ++i) {
    Store16(packed + kName + 2 * i, facts.name[i]);
  }
  std::memcpy(packed + kName + nameBytes, facts.description.data(), descrBytes);
  m_offsets.push_back(static_cast<std::uint32_t>(at));
}

bool PackedRows::Patch(std::size_t position, std::uint32_t index, const Counters &counters) {
  if (position >= m_offsets.size()) {
    return false;
  }
  std::byte *packed = m_bytes.data() + m_offsets[position];
  if (LoadLe32(packed + kFixed) != index) {
    return false;
  }
  PutCounters(packed, counters);
  return true;
}

std::size_t PackedRows::TableBytes() const { return mib::TableSize(m_offsets.size()); }

void PackedRows::WriteTable(std::byte *table, bool byIndex) const {
  std::vector<std::uint32_t> order = m_offsets;
  if (byIndex) {
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
      return LoadLe32(m_bytes.data() + a + kFixed) < LoadLe32(m_bytes.data() + b + kFixed);
    });
  }
  StoreLe32(table, static_cast<std::uint32_t>(order.size()));
  for (std::size_t i = 0; i < order.size(); ++i) {
    const std::byte *packed = m_bytes.data() + order[i];
    std::byte *row = table + mib::TableSize(i);
    const std::size_t nameBytes = Load16(packed + kNameBytes);
    std::memcpy(row + mib::kName, packed + kName, nameBytes);
    std::memcpy(row + mib::kIndex, packed + kFixed, kFixedBytes);
    std::memcpy(row + mib::kDescr, packed + kName + nameBytes, Load16(packed + kDescrBytes));
  }
}

} // namespace tallyflow
