#pragma once

#include <cstdint>
#include <functional>

namespace tallyflow {

// A window timer. Its tick handler runs on the window thread.
class ITimer {
public:
  static constexpr std::int64_t kMaxInterval = 65'535; // ms

  virtual ~ITimer() = default;

  // Milliseconds, 0 to 65,535; 0 never fires. Any other value is refused
  // (false) and leaves the interval as it was.
  virtual bool Interval(std::int64_t milliseconds) = 0;
  virtual std::int64_t Interval() const = 0;

  // Enabling starts a full interval; a disabled timer does not fire.
  virtual void Enabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;

  virtual void OnTick(std::function<void()> handler) = 0;
};

} // namespace tallyflow
