#pragma once

#include "netstats/CInterfaces.h"

#include <chrono>
#include <cstdint>
#include <unordered_map>

namespace tallyflow {

// Bytes that moved between two snapshots, summed over the interfaces present
// in both (matched by InterfaceIndex).
struct ByteDelta {
  std::uint64_t received = 0;
  std::uint64_t sent = 0;
};

// One counter's growth. The platform's counters are unsigned 32-bit and wrap
// past 2^32; a counter that went down is taken as wrapped only when the
// wrapped delta is plausible: below 2^31 bytes and, where the link speed is
// known, within four times what the link could carry in `elapsed` (virtual
// links report nominal speeds). Otherwise the counter was reset: 0.
std::uint32_t CounterDelta(std::uint32_t previous, std::uint32_t current, std::uint32_t speedBitsPerSecond,
                           std::chrono::nanoseconds elapsed);

// Compares two snapshots interface by interface. Interfaces that appeared or
// vanished in between contribute nothing.
class TrafficDelta {
public:
  ByteDelta Between(const CInterfaces &previous, const CInterfaces &current,
                    std::chrono::nanoseconds elapsed);

private:
  struct Counters {
    std::uint32_t received;
    std::uint32_t sent;
  };
  std::unordered_map<std::uint32_t, Counters> m_previous; // by InterfaceIndex; reused
};

} // namespace tallyflow
