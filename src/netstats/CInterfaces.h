#pragma once

#include "netstats/CInterface.h"

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace tallyflow {

// A position counted from 1, as a 16- or 32-bit integer, or a text key.
// Records carry no keys, so a text key always fails.
using IndexKey = std::variant<std::int16_t, std::int32_t, std::string>;

// The ordered records of one snapshot. Records are shared: a caller holding
// one keeps it valid and unchanged whatever happens to the collection.
class CInterfaces {
public:
  using Handle = std::shared_ptr<CInterface>;
  using const_iterator = std::vector<Handle>::const_iterator;

  // Appends the record, takes it over (the caller's handle becomes empty) and
  // returns a handle to it.
  Handle Add(Handle &objInterface);

  // Appends the record without handing a handle back: each handle copy is an
  // atomic count on the snapshot's shared block, twice per record for nothing
  // when the caller (the table decoder) has no use for it.
  void Append(Handle &&objInterface) { m_colInterfaces.push_back(std::move(objInterface)); }

  // The record at 1-based position vntIndexKey. Throws std::out_of_range for
  // a position outside 1..Count and std::invalid_argument for a text key.
  Handle Item(const IndexKey &vntIndexKey) const;

  std::int32_t Count() const { return static_cast<std::int32_t>(m_colInterfaces.size()); }

  // Removes the record at that position; later records move up. Fails as Item.
  void Remove(const IndexKey &vntIndexKey);

  // Position-order iteration (the collection's for-each enumerator).
  const_iterator begin() const { return m_colInterfaces.begin(); }
  const_iterator end() const { return m_colInterfaces.end(); }

  void Reserve(std::size_t rows) { m_colInterfaces.reserve(rows); }

private:
  std::size_t Position(const IndexKey &vntIndexKey) const;

  std::vector<Handle> m_colInterfaces;
};

} // namespace tallyflow
