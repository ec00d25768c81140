#pragma once

#include "platform/linux/iftable/NetlinkMessages.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tallyflow {

// Everything a MIB_IFROW holds but the counters, as the link cache keeps it.
struct RowFacts {
  std::uint32_t index = 0;
  std::uint32_t type = 0;         // IANA ifType
  std::uint32_t mtu = 0;          // bytes
  std::uint32_t speed = 0;        // bits per second
  std::vector<std::byte> address; // at most 8 bytes go into the row
  std::uint32_t adminStatus = 0;
  std::uint32_t operStatus = 0;
  std::uint32_t lastChange = 0; // centiseconds since boot
  std::u16string name;          // without its terminator
  std::string description;      // UTF-8, at most 255 bytes
};

// A snapshot's rows, packed one after the other in the order the kernel
// listed the links: the fixed fields as the table lays them out, then the
// UTF-16 name with its terminator and the description, about 130 bytes a
// row instead of the table's 860. The next snapshot mostly lists the same
// links in the same order, so a row usually only takes new counters, in
// place; writing the table reads the rows front to back.
class PackedRows {
public:
  std::size_t Count() const { return m_offsets.size(); }
  // Keeps the first `rows` rows.
  void Truncate(std::size_t rows);
  void Append(const RowFacts &facts, const Counters &counters);
  // When row `position` is the link `index`: its counters replaced, true.
  bool Patch(std::size_t position, std::uint32_t index, const Counters &counters);

  // Bytes of the MIB_IFTABLE image of these rows.
  std::size_t TableBytes() const;
  // Writes that image (the count, then the rows in the kernel's order or by
  // index) into `table`, which holds TableBytes(). Only each row's meaningful
  // bytes are written: the decoder reads nothing past the name's terminator
  // and the description's length.
  void WriteTable(std::byte *table, bool byIndex) const;

private:
  std::vector<std::byte> m_bytes;
  std::vector<std::uint32_t> m_offsets; // of each row in m_bytes
};

} // namespace tallyflow
