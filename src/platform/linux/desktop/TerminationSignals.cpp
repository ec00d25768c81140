#include "platform/linux/desktop/TerminationSignals.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tallyflow {
namespace {

constexpr std::array kSignals = {SIGTERM, SIGHUP, SIGINT};

// The pipe's write end, for the handler: a signal handler can reach no
// object, so this one number is the only state it has.
volatile std::sig_atomic_t g_signalPipe = -1;

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(static_cast<int>(g_signalPipe), &byte, 1);
  errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    return; // the signals keep their default: the program ends unsaved, as before
  }
  m_read = UniqueFd(fds[0]);
  m_write = UniqueFd(fds[1]);
  g_signalPipe = m_write.get();
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : kSignals) {
    ::sigaction(s, &action, nullptr);
  }
}

TerminationSignals::~TerminationSignals() {
  if (!Watching()) {
    return;
  }
  for (int s : kSignals) {
    ::signal(s, SIG_DFL);
  }
  g_signalPipe = -1;
}

bool TerminationSignals::Take() {
  bool arrived = false;
  char bytes[16];
  while (::read(m_read.get(), bytes, sizeof bytes) > 0) {
    arrived = true;
  }
  return arrived;
}

std::unique_ptr<ITerminationRequests> WatchTermination() {
  auto signals = std::make_unique<TerminationSignals>();
  if (!signals->Watching()) {
    return nullptr;
  }
  return signals;
}

} // namespace tallyflow
