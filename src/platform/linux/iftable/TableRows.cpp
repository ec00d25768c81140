#include "platform/linux/iftable/TableRows.h"

#include "netstats/IfTable.h"
#include "netstats/IfTableDecoder.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace tallyflow {
namespace {

void Put(std::byte *row, std::size_t offset, std::uint32_t value) { StoreLe32(row + offset, value); }

// One MIB_IFROW: the fixed fields as the table lays them out, the UTF-16
// name with its terminator, the description.
void WriteRow(std::byte *row, const RowFacts &facts, const Counters &counters) {
  std::memset(row + mib::kIndex, 0, mib::kDescr - mib::kIndex);
  Put(row, mib::kIndex, facts.index);
  Put(row, mib::kType, facts.type);
  Put(row, mib::kMtu, facts.mtu);
  Put(row, mib::kSpeed, facts.speed);
  const std::size_t addressBytes = std::min(facts.address.size(), mib::kPhysAddrMax);
  Put(row, mib::kPhysAddrLen, static_cast<std::uint32_t>(addressBytes));
  std::copy_n(facts.address.begin(), addressBytes, row + mib::kPhysAddr);
  Put(row, mib::kAdminStatus, facts.adminStatus);
  Put(row, mib::kOperStatus, facts.operStatus);
  Put(row, mib::kLastChange, facts.lastChange);
  // Sent multicast (kOutNUcastPkts) Linux does not count apart, and the
  // output queue length it does not keep: both stay 0.
  static constexpr std::size_t kFields[kCounterCount] = {
      mib::kInOctets,        mib::kInUcastPkts, mib::kInNUcastPkts, mib::kInDiscards,  mib::kInErrors,
      mib::kInUnknownProtos, mib::kOutOctets,   mib::kOutUcastPkts, mib::kOutDiscards, mib::kOutErrors};
  for (std::size_t i = 0; i < kCounterCount; ++i) {
    Put(row, kFields[i], counters[i]);
  }
  const std::size_t descrBytes = std::min(facts.description.size(), mib::kDescrMax);
  Put(row, mib::kDescrLen, static_cast<std::uint32_t>(descrBytes));
  const std::size_t nameChars = std::min(facts.name.size(), mib::kNameChars - 1);
  for (std::size_t i = 0; i <= nameChars; ++i) {
    const char16_t c = i < nameChars ? facts.name[i] : u'\0';
    row[mib::kName + 2 * i] = static_cast<std::byte>(c & 0xFF);
    row[mib::kName + 2 * i + 1] = static_cast<std::byte>(c >> 8);
  }
  std::memcpy(row + mib::kDescr, facts.description.data(), descrBytes);
}

} // namespace

std::size_t TableRows::TableBytes() const { return mib::TableSize(m_rows.size()); }

void TableRows::WriteTable(std::byte *table, bool byIndex) const {
  std::vector<std::size_t> order(m_rows.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (byIndex) {
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
      return m_rows[a].facts->index < m_rows[b].facts->index;
    });
  }
  StoreLe32(table, static_cast<std::uint32_t>(order.size()));
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Row &r = m_rows[order[i]];
    WriteRow(table + mib::TableSize(i), *r.facts, r.counters);
  }
}

} // namespace tallyflow
