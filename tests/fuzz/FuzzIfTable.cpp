// The MIB_IFTABLE decoder fed arbitrary bytes, with an arbitrary reported
// size and result codes.
#include "netstats/CIpHelper.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class FuzzedTable final : public tallyflow::IIfTable {
public:
  std::uint32_t Reported() const { return m_reported; }
  FuzzedTable(const std::uint8_t *data, std::size_t size) {
    if (size >= 12) {
      std::memcpy(&m_sizeResult, data, 4);
      std::memcpy(&m_fillResult, data + 4, 4);
      std::memcpy(&m_reported, data + 8, 4);
      data += 12;
      size -= 12;
    }
    m_image.assign(reinterpret_cast<const std::byte *>(data),
                   reinterpret_cast<const std::byte *>(data) + size);
    m_reported %= 1u << 20; // keep the buffer the snapshot makes small
  }
  std::uint32_t GetIfTable(std::byte *buffer, std::uint32_t *size, bool) override {
    if (buffer == nullptr) {
      *size = m_reported;
      return m_sizeResult % 4 == 0 ? 50 : 122;
    }
    // Fill at most what the caller gave, whatever we "have".
    const std::size_t n = std::min<std::size_t>(*size, m_image.size());
    if (n > 0) {
      std::memcpy(buffer, m_image.data(), n);
    }
    return m_fillResult % 3 == 0 ? 31 : 0;
  }

private:
  std::vector<std::byte> m_image;
  std::uint32_t m_sizeResult = 1, m_fillResult = 1, m_reported = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const auto table = std::make_shared<FuzzedTable>(data, size);
  tallyflow::CIpHelper ip(table);
  const auto col = ip.Interfaces();
  std::uint64_t received = 0, sent = 0;
  for (const auto &rec : *col) {
    received += rec->OctetsReceived();
    sent += rec->OctetsSent();
    // Every text must be readable whole.
    volatile std::size_t n =
        rec->InterfaceName().size() + rec->InterfaceDescription().size() + rec->AdapterAddress().size();
    (void)n;
  }
  if (static_cast<double>(received) != ip.BytesReceived() || static_cast<double>(sent) != ip.BytesSent()) {
    std::abort(); // the totals are the sums of the rows
  }
  if (col->Count() > 0 && static_cast<std::size_t>(col->Count()) > (table->Reported() - 4) / 860) {
    std::abort(); // more rows than the buffer of the reported size could hold
  }
  return 0;
}
