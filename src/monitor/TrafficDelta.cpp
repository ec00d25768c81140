#include "monitor/TrafficDelta.h"

namespace tallyflow {

std::uint32_t CounterDelta(std::uint32_t previous, std::uint32_t current, std::uint32_t speedBitsPerSecond,
                           std::chrono::nanoseconds elapsed) {
  const std::uint32_t delta = current - previous; // modulo 2^32: a wrap gives its true small delta
  if (current >= previous) {
    return delta;
  }
  constexpr std::uint32_t kHalfRange = 0x80000000u;
  if (delta >= kHalfRange) {
    return 0;
  }
  if (speedBitsPerSecond != 0) {
    constexpr double kMargin = 4.0;
    const double seconds = std::chrono::duration<double>(elapsed).count();
    const double carriable = static_cast<double>(speedBitsPerSecond) / 8.0 * seconds * kMargin; // bytes
    if (static_cast<double>(delta) > carriable) {
      return 0;
    }
  }
  return delta;
}

ByteDelta TrafficDelta::Between(const CInterfaces &previous, const CInterfaces &current,
                                std::chrono::nanoseconds elapsed) {
  m_previous.clear();
  m_previous.reserve(static_cast<std::size_t>(previous.Count()));
  for (const auto &rec : previous) {
    m_previous.emplace(rec->InterfaceIndex(), Counters{rec->OctetsReceived(), rec->OctetsSent()});
  }
  ByteDelta sum;
  for (const auto &rec : current) {
    const auto it = m_previous.find(rec->InterfaceIndex());
    if (it == m_previous.end()) {
      continue; // appeared since the previous snapshot
    }
    sum.received += CounterDelta(it->second.received, rec->OctetsReceived(), rec->Speed(), elapsed);
    sum.sent += CounterDelta(it->second.sent, rec->OctetsSent(), rec->Speed(), elapsed);
  }
  return sum;
}

} // namespace tallyflow
