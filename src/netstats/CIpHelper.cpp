#include "CIpHelper.h"

#include "IfTableDecoder.h"

namespace tallyflow {

CIpHelper::CIpHelper(std::shared_ptr<IIfTable> table) : m_table(std::move(table)) {}

void CIpHelper::Interfaces(std::shared_ptr<CInterfaces> objInterfaces) {
  m_objInterfaces = std::move(objInterfaces);
}

std::shared_ptr<CInterfaces> CIpHelper::Interfaces() {
  m_objInterfaces = std::make_shared<CInterfaces>();
  LoadInterfaceTable();
  return m_objInterfaces;
}

void CIpHelper::LoadInterfaceTable() {
  m_received = 0;
  m_sent = 0;
  if (!m_table) {
    return;
  }
  std::uint32_t size = 0;
  if (m_table->GetIfTable(nullptr, &size, false) == kErrorNotSupported) {
    return;
  }
  if (size == 0) {
    return;
  }
  m_buffer.resize(size);
  if (m_table->GetIfTable(m_buffer.data(), &size, false) != kNoError) {
    return;
  }
  // The decoder reads only complete rows inside the buffer, whatever the
  // row count claims.
  const auto totals = DecodeIfTable(m_buffer, *m_table, *m_objInterfaces);
  m_received = totals.received;
  m_sent = totals.sent;
}

} // namespace tallyflow
