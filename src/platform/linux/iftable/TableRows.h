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

// A snapshot's rows: the cache's facts of each link with the counters the
// snapshot read, in the order the kernel listed the links. The facts stay
// the cache's own; they hold until its next Refresh, which comes only with
// the next snapshot, when these rows are made again.
class TableRows {
public:
  void Clear() { m_rows.clear(); }
  void Add(const RowFacts &facts, const Counters &counters) { m_rows.push_back(Row{&facts, counters}); }
  std::size_t Count() const { return m_rows.size(); }

  // Bytes of the MIB_IFTABLE image of these rows.
  std::size_t TableBytes() const;
  // Writes that image (the count, then the rows in the kernel's order or by
  // index) into `table`, which holds TableBytes(). Only each row's meaningful
  // bytes are written: the decoder reads nothing past the name's terminator
  // and the description's length.
  void WriteTable(std::byte *table, bool byIndex) const;

private:
  struct Row {
    const RowFacts *facts;
    Counters counters;
  };
  std::vector<Row> m_rows;
};

} // namespace tallyflow
