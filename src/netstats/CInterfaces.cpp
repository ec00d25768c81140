#include "netstats/CInterfaces.h"

#include <stdexcept>

namespace tallyflow {

CInterfaces::Handle CInterfaces::Add(Handle &objInterface) {
  m_colInterfaces.push_back(std::move(objInterface));
  objInterface.reset();
  return m_colInterfaces.back();
}

std::size_t CInterfaces::Position(const IndexKey &vntIndexKey) const {
  if (std::holds_alternative<std::string>(vntIndexKey)) {
    throw std::invalid_argument("CInterfaces: records have no keys");
  }
  const std::int64_t position = std::holds_alternative<std::int16_t>(vntIndexKey)
                                    ? std::get<std::int16_t>(vntIndexKey)
                                    : std::get<std::int32_t>(vntIndexKey);
  if (position < 1 || position > static_cast<std::int64_t>(m_colInterfaces.size())) {
    throw std::out_of_range("CInterfaces: position " + std::to_string(position) + " outside 1.." +
                            std::to_string(m_colInterfaces.size()));
  }
  return static_cast<std::size_t>(position - 1);
}

CInterfaces::Handle CInterfaces::Item(const IndexKey &vntIndexKey) const {
  return m_colInterfaces[Position(vntIndexKey)];
}

void CInterfaces::Remove(const IndexKey &vntIndexKey) {
  const auto at = Position(vntIndexKey);
  m_colInterfaces.erase(m_colInterfaces.begin() + static_cast<std::ptrdiff_t>(at));
}

} // namespace tallyflow
