#include "ui/win32/Win32Timer.h"

namespace tallyflow {
namespace {
constexpr UINT_PTR kTimerId = 1;
constexpr const wchar_t *kClass = L"TallyflowTimer";
} // namespace

Win32Timer::Win32Timer() {
  RegisterClassOnce(kClass, Proc);
  m_window.reset(::CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   ::GetModuleHandleW(nullptr), this));
}

Win32Timer::~Win32Timer() {
  if (m_running) {
    ::KillTimer(m_window.get(), kTimerId);
  }
}

bool Win32Timer::Interval(std::int64_t milliseconds) {
  if (milliseconds < 0 || milliseconds > kMaxInterval) {
    return false;
  }
  m_interval = milliseconds;
  Restart();
  return true;
}

void Win32Timer::Enabled(bool enabled) {
  m_enabled = enabled;
  Restart();
}

// SetTimer on a running timer replaces it, so the count starts afresh.
void Win32Timer::Restart() {
  if (m_enabled && m_interval > 0) {
    m_running = ::SetTimer(m_window.get(), kTimerId, static_cast<UINT>(m_interval), nullptr) != 0;
  } else if (m_running) {
    ::KillTimer(m_window.get(), kTimerId);
    m_running = false;
  }
}

LRESULT CALLBACK Win32Timer::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto *self = WindowObject<Win32Timer>(hwnd, msg, lParam);
  if (msg == WM_TIMER && wParam == kTimerId && self != nullptr) {
    // A WM_TIMER already queued when the timer stopped is not a tick.
    if (self->m_running && self->m_handler) {
      self->m_handler();
    }
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace tallyflow
