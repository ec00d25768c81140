#pragma once

#include "services/ITimer.h"
#include "ui/win32/Win32Handles.h"

namespace tallyflow {

// A window timer on SetTimer, with the rules the tick relies on: interval 0
// never fires, enabling (or a new interval while enabled) starts a full
// interval, and the handler runs on the window thread from the message loop.
// Each timer has a message-only window of its own to receive WM_TIMER.
class Win32Timer final : public ITimer {
public:
  Win32Timer();
  ~Win32Timer() override;
  Win32Timer(const Win32Timer &) = delete;
  Win32Timer &operator=(const Win32Timer &) = delete;

  bool Interval(std::int64_t milliseconds) override;
  std::int64_t Interval() const override { return m_interval; }
  void Enabled(bool enabled) override;
  bool Enabled() const override { return m_enabled; }
  void OnTick(std::function<void()> handler) override { m_handler = std::move(handler); }

  // Whether a Windows timer is running now (for tests).
  bool Running() const { return m_running; }

private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Restart();

  UniqueWindow m_window;
  std::int64_t m_interval = 0; // ms
  bool m_enabled = false;
  bool m_running = false;
  std::function<void()> m_handler;
};

} // namespace tallyflow
