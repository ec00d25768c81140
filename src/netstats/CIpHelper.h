#pragma once

#include "CInterfaces.h"
#include "IfTable.h"

#include <cstdint>
#include <memory>
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

  // Totals of the last snapshot in bytes, exact; 0 before the first one.
  double BytesReceived() const { return static_cast<double>(m_received); }
  double BytesSent() const { return static_cast<double>(m_sent); }

private:
  void LoadInterfaceTable();

  std::shared_ptr<IIfTable> m_table;
  std::shared_ptr<CInterfaces> m_objInterfaces;
  std::uint64_t m_received = 0; // bytes
  std::uint64_t m_sent = 0;     // bytes
  // Reused between snapshots so a steady table costs no allocation here.
  std::vector<std::byte> m_buffer;
};

} // namespace tallyflow
