#include "ui/win32/Win32MonitorWindow.h"

#include "monitor/MonitorLayout.h"
#include "platform/win32/Win32Text.h"

#include <array>

namespace tallyflow {
namespace {

constexpr const wchar_t *kClass = L"TallyflowMonitor";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (::GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<RECT> *>(data)->push_back(info.rcWork);
  }
  return TRUE;
}

} // namespace

Win32MonitorWindow::Win32MonitorWindow(Services services, int dpi) : Win32Form(dpi), m_icon(services.icon) {
  CreateFormWindow(kClass, kStyle, 0, kMonitorClientWidth, kMonitorClientHeight, L"Tallyflow Monitor",
                   nullptr);
  if (services.icon != nullptr) {
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(services.icon));
  }
  if (services.smallIcon != nullptr) {
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(services.smallIcon));
  }
  m_title = kMonitorDesignTitle;
  BuildControls(MonitorLayout(), MonitorTabOrder());
  for (const ControlLayout &c : MonitorLayout()) {
    if (const auto label = TickLabelOf(c.id)) {
      m_labels[*label] = Control(c.id);
      m_captions[*label] = c.caption;
    }
  }
  const HWND interval = Control(MonitorControl::cboUpdateInterval);
  for (int ms : ListedIntervals()) {
    ::SendMessageW(interval, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(ms).c_str()));
  }
  ::SetWindowTextW(interval, L"200");
  m_tmrUpdate.Interval(100);
  m_Timer1.Interval(2000);
  m_form = std::make_unique<MonitorForm>(*this, std::move(services.form));
}

Win32MonitorWindow::~Win32MonitorWindow() { DestroyFormWindow(); }

HWND Win32MonitorWindow::MakePicture(const ControlLayout &c, HWND parent, RECT bounds, int id) {
  if (c.kind == ControlKind::Picture) {
    m_PIC1 = std::make_unique<GdiSurface>(parent, id, bounds, Dpi());
    m_PIC1->BackColor(kFaceColour); // the face colour until the first Draw makes it black
    return m_PIC1->Window();
  }
  // Image1: the program icon at its design size.
  const HWND image = ::CreateWindowExW(
      0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL, bounds.left, bounds.top,
      bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
  if (m_icon != nullptr) {
    ::SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(m_icon), 0);
  }
  return image;
}

void Win32MonitorWindow::Command(const ControlLayout &c, int code) {
  if (code == BN_CLICKED) {
    m_form->Click(static_cast<MonitorControl>(c.id));
  }
}

void Win32MonitorWindow::Rescaled() {
  for (const ControlLayout &c : MonitorLayout()) {
    if (c.kind == ControlKind::Picture) {
      m_PIC1->Resize(DesignBounds(c), Dpi()); // the next tick draws the graph at its new size
    }
  }
}

bool Win32MonitorWindow::Handle(UINT msg, WPARAM wParam, LPARAM, LRESULT &result) {
  switch (msg) {
  case WM_CLOSE:
    m_form->Form_Unload(); // saves and ends the program
    result = 0;
    return true;
  case WM_QUERYENDSESSION:
    result = TRUE; // nothing to ask the user: the close saves
    return true;
  case WM_ENDSESSION:
    if (wParam != FALSE) {
      m_form->Form_Unload(); // the session ends: save, as the close box does
    }
    result = 0;
    return true;
  default:
    return false;
  }
}

std::string Win32MonitorWindow::UpdateIntervalText() const {
  std::array<wchar_t, 64> buffer{}; // an interval's text fits; a longer one is read whole
  const HWND box = Control(MonitorControl::cboUpdateInterval);
  const int length = ::GetWindowTextLengthW(box);
  if (length < static_cast<int>(buffer.size())) {
    const int n = ::GetWindowTextW(box, buffer.data(), static_cast<int>(buffer.size()));
    return WideToUtf8(std::wstring_view(buffer.data(), static_cast<std::size_t>(n)));
  }
  return WideToUtf8(ControlText(box));
}

void Win32MonitorWindow::UpdateIntervalText(const std::string &text) {
  ::SetWindowTextW(Control(MonitorControl::cboUpdateInterval), Utf8ToWide(text).c_str());
}

std::int16_t Win32MonitorWindow::ConnectionIndex() const {
  return static_cast<std::int16_t>(
      ::SendMessageW(Control(MonitorControl::cboConnectionType), CB_GETCURSEL, 0, 0));
}

bool Win32MonitorWindow::ConnectionIndex(std::int16_t index) {
  if (index < -1 || index >= ConnectionCount()) {
    return false;
  }
  ::SendMessageW(Control(MonitorControl::cboConnectionType), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  return true;
}

int Win32MonitorWindow::ConnectionCount() const {
  return static_cast<int>(::SendMessageW(Control(MonitorControl::cboConnectionType), CB_GETCOUNT, 0, 0));
}

void Win32MonitorWindow::ConnectionClear() {
  ::SendMessageW(Control(MonitorControl::cboConnectionType), CB_RESETCONTENT, 0, 0);
}

void Win32MonitorWindow::ConnectionAdd(const std::string &text) {
  ::SendMessageW(Control(MonitorControl::cboConnectionType), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str()));
}

// Captions are kept as the tick wrote them, so an unchanged one costs a
// string compare and never touches the control.
bool Win32MonitorWindow::Caption(MonitorLabel label, const std::string &text) {
  std::string &shown = m_captions.at(label);
  if (text == shown) {
    return true;
  }
  Utf8ToWide(text, m_wide);
  SetControlText(m_labels.at(label), m_wide);
  shown = text;
  return true;
}

const std::string &Win32MonitorWindow::Caption(MonitorLabel label) const { return m_captions.at(label); }

void Win32MonitorWindow::Title(const std::string &text) {
  if (text == m_title) {
    return;
  }
  m_title = text;
  Utf8ToWide(text, m_wide);
  ::SetWindowTextW(Hwnd(), m_wide.c_str());
}

bool Win32MonitorWindow::StartUpBox() const {
  return ::SendMessageW(Control(MonitorControl::chkStartUp), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// BM_SETCHECK raises no BN_CLICKED: the logic decides when the click runs.
void Win32MonitorWindow::StartUpBox(bool checked) {
  ::SendMessageW(Control(MonitorControl::chkStartUp), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

TwipsRect Win32MonitorWindow::ToTwips(const RECT &r) const {
  return {Twips(r.left), Twips(r.top), Twips(r.right - r.left), Twips(r.bottom - r.top)};
}

std::optional<TwipsRect> Win32MonitorWindow::OuterBounds() const {
  // A minimised window's rectangle is its icon's: the normal place is the one kept.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  RECT r;
  if (::IsIconic(Hwnd()) && ::GetWindowPlacement(Hwnd(), &placement)) {
    r = placement.rcNormalPosition;
  } else {
    ::GetWindowRect(Hwnd(), &r);
  }
  return ToTwips(r);
}

void Win32MonitorWindow::MoveOuter(double leftTwips, double topTwips) {
  ::SetWindowPos(Hwnd(), nullptr, Px(leftTwips), Px(topTwips), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TwipsRect Win32MonitorWindow::PrimaryScreen() const {
  return ToTwips(RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
}

std::vector<TwipsRect> Win32MonitorWindow::WorkAreas() const {
  std::vector<RECT> rects;
  ::EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&rects));
  std::vector<TwipsRect> areas;
  for (const RECT &r : rects) {
    areas.push_back(ToTwips(r));
  }
  return areas;
}

WindowState Win32MonitorWindow::State() const {
  if (::IsIconic(Hwnd())) {
    return WindowState::Minimised;
  }
  return ::IsZoomed(Hwnd()) ? WindowState::Maximised : WindowState::Normal;
}

void Win32MonitorWindow::Show(WindowState state) {
  ::ShowWindow(Hwnd(), state == WindowState::Minimised ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
  ::UpdateWindow(Hwnd());
  if (state != WindowState::Minimised) {
    ::SetFocus(Control(MonitorControl::cboConnectionType)); // the first Tab stop
  }
}

} // namespace tallyflow
