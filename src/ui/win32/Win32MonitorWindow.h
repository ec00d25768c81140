#pragma once

#include "monitor/IMonitorWindow.h"
#include "monitor/MonitorForm.h"
#include "ui/win32/GdiSurface.h"
#include "ui/win32/Win32Form.h"
#include "ui/win32/Win32Timer.h"

#include <map>
#include <memory>
#include <string>

namespace tallyflow {

// The monitor window on Win32: the controls of the layout table, the graph
// on a GDI surface and two SetTimer timers; its behaviour is MonitorForm's.
class Win32MonitorWindow final : public Win32Form, public IMonitorWindow {
public:
  struct Services {
    MonitorForm::Services form;
    HICON icon = nullptr; // the program icon, 32 × 32 at 96 dpi
    HICON smallIcon = nullptr;
  };

  Win32MonitorWindow(Services services, int dpi);
  ~Win32MonitorWindow() override;

  MonitorForm &Form() { return *m_form; }
  GdiSurface &Surface() { return *m_PIC1; }

  // IMonitorWindow
  ITimer &tmrUpdate() override { return m_tmrUpdate; }
  ITimer &Timer1() override { return m_Timer1; }
  DrawingSurface &PIC1() override { return *m_PIC1; }
  std::string UpdateIntervalText() const override;
  void UpdateIntervalText(const std::string &text) override;
  std::int16_t ConnectionIndex() const override;
  bool ConnectionIndex(std::int16_t index) override;
  int ConnectionCount() const override;
  void ConnectionClear() override;
  void ConnectionAdd(const std::string &text) override;
  bool Caption(MonitorLabel label, const std::string &text) override;
  const std::string &Caption(MonitorLabel label) const override;
  void Title(const std::string &text) override;
  bool StartUpBox() const override;
  void StartUpBox(bool checked) override;
  std::optional<TwipsRect> OuterBounds() const override;
  void MoveOuter(double leftTwips, double topTwips) override;
  TwipsRect PrimaryScreen() const override;
  std::vector<TwipsRect> WorkAreas() const override;
  WindowState State() const override;
  void Show(WindowState state) override;

protected:
  HWND MakePicture(const ControlLayout &c, HWND parent, RECT bounds, int id) override;
  bool Handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
  void Command(const ControlLayout &c, int code) override;
  void Rescaled() override;

private:
  TwipsRect ToTwips(const RECT &r) const;

  HICON m_icon;
  Win32Timer m_tmrUpdate;
  Win32Timer m_Timer1;
  std::unique_ptr<GdiSurface> m_PIC1;
  std::map<MonitorLabel, HWND> m_labels;
  std::map<MonitorLabel, std::string> m_captions; // as the tick wrote them, UTF-8
  std::string m_title;                            // UTF-8
  std::wstring m_wide;                            // conversion room, kept between ticks
  std::unique_ptr<MonitorForm> m_form;
};

} // namespace tallyflow
