#pragma once

#include "netstats/CInterfaces.h"
#include "netstats/IfTable.h"
#include "netstats/IfTableDecoder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tallyflow {

// The monitor's only source of traffic figures: each read of Interfaces takes
// a fresh snapshot of the platform's interface table.
class CIpHelper {
public:
  explicit CIpHelper(std::shared_ptr<IIfTable> table);

  // Makes the given collection (or none) the held one; totals untouched.
  void Interfaces(std::shared_ptr<CInterfaces> objInterfaces);

  // A new snapshot: a new collection of new records, and new totals. A failed
  // or empty snapshot gives an empty collection and totals of 0.
  std::shared_ptr<CInterfaces> Interfaces();

  // The number of interfaces in a fresh table, without making records: what
  // Count of a new snapshot would be. The platform's own count when it keeps
  // one, else a table counted. Touches neither the held collection nor the
  // totals.
  std::int32_t InterfaceCount();

  // Totals of the last snapshot in bytes, exact; 0 before the first one.
  double BytesReceived() const { return static_cast<double>(m_received); }
  double BytesSent() const { return static_cast<double>(m_sent); }

private:
  void LoadInterfaceTable();
  // The table into m_buffer; the bytes filled, or nothing on failure.
  std::optional<std::size_t> ReadTable();

  std::shared_ptr<IIfTable> m_table;
  std::shared_ptr<CInterfaces> m_objInterfaces;
  std::uint64_t m_received = 0; // bytes
  std::uint64_t m_sent = 0;     // bytes
  // Reused between snapshots so a steady table costs no allocation here.
  std::vector<std::byte> m_buffer;
};

} // namespace tallyflow
