#pragma once

#include "platform/linux/UniqueFd.h"
#include "platform/linux/desktop/LinuxDesktop.h"

namespace tallyflow {

// SIGTERM, SIGHUP and SIGINT (log-out, a closed terminal, Ctrl-C) as bytes
// in a pipe: the handler only writes one, and the event loop watches the
// read end. One at a time per process; the signals' default handling comes
// back when it goes.
class TerminationSignals final : public ITerminationRequests {
public:
  TerminationSignals();
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals &) = delete;
  TerminationSignals &operator=(const TerminationSignals &) = delete;

  // False when the pipe could not be made: nothing is caught then.
  bool Watching() const { return static_cast<bool>(m_read); }

  int Descriptor() const override { return m_read.get(); }
  bool Take() override;

private:
  UniqueFd m_read;
  UniqueFd m_write;
};

} // namespace tallyflow
