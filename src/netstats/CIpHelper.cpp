#include "netstats/CIpHelper.h"

#include "netstats/IfTableDecoder.h"

#include <algorithm>

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

std::optional<std::size_t> CIpHelper::ReadTable() {
  if (!m_table) {
    return std::nullopt;
  }
  std::uint32_t size = 0;
  if (m_table->GetIfTable(nullptr, &size, false) == kErrorNotSupported || size == 0) {
    return std::nullopt;
  }
  m_buffer.resize(size);
  if (m_table->GetIfTable(m_buffer.data(), &size, false) != kNoError) {
    return std::nullopt;
  }
  return m_buffer.size();
}

std::int32_t CIpHelper::InterfaceCount() {
  std::uint32_t known = 0;
  if (m_table && m_table->GetNumberOfInterfaces(&known) == kNoError) {
    return static_cast<std::int32_t>(std::min<std::uint32_t>(known, 0x7FFFFFFF));
  }
  const auto filled = ReadTable();
  if (!filled) {
    return 0;
  }
  // As the decoder counts them.
  const std::size_t rows = CompleteRows(std::span(m_buffer.data(), *filled));
  return static_cast<std::int32_t>(std::min<std::size_t>(rows, 0x7FFFFFFF));
}

void CIpHelper::LoadInterfaceTable() {
  m_received = 0;
  m_sent = 0;
  if (!ReadTable()) {
    return;
  }
  // The decoder reads only complete rows inside the buffer, whatever the
  // row count claims.
  const auto totals = DecodeIfTable(m_buffer, *m_table, *m_objInterfaces);
  m_received = totals.received;
  m_sent = totals.sent;
}

} // namespace tallyflow
