#pragma once

#include "SafeFile.h"

#include <functional>
#include <memory>

class QSocketNotifier;

namespace tallyflow {

// Turns SIGTERM, SIGHUP and SIGINT (log-out, a closed terminal, Ctrl-C) into
// a call of `close` on the event loop: the handler only writes a byte to a
// pipe, and a socket notifier reads it there. One at a time per process;
// the signals' previous handling comes back when it goes.
class TerminationSignals {
public:
  explicit TerminationSignals(std::function<void()> close);
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals &) = delete;
  TerminationSignals &operator=(const TerminationSignals &) = delete;

private:
  UniqueFd m_read;
  UniqueFd m_write;
  std::unique_ptr<QSocketNotifier> m_notifier;
  std::function<void()> m_close;
};

} // namespace tallyflow
