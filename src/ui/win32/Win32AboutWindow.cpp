#include "ui/win32/Win32AboutWindow.h"

#include "about/AboutLayout.h"
#include "platform/win32/Win32Text.h"

namespace tallyflow {
namespace {

constexpr const wchar_t *kClass = L"TallyflowAbout";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

} // namespace

Win32AboutWindow::Win32AboutWindow(Services services, HWND owner, int dpi)
    : Win32Form(dpi), m_icon(services.icon), m_linkCursor(services.linkCursor) {
  CreateFormWindow(kClass, kStyle, kExStyle, kAboutClientWidth, kAboutClientHeight, L"", owner);
  BuildControls(AboutLayout(), AboutTabOrder());
  ::SetWindowTextW(Control(AboutControl::Text1), AnsiToWide(kTermsText).c_str());
  m_form = std::make_unique<AboutForm>(*this, std::move(services.form));
}

Win32AboutWindow::~Win32AboutWindow() { DestroyFormWindow(); }

HWND Win32AboutWindow::MakePicture(const ControlLayout &c, HWND parent, RECT r, int id) {
  const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  if (c.id == +AboutControl::Picture3) {
    // The banner: white, the program's mark and its name.
    return MakePanel(parent, r, id, kBoxColour, false, [this](HDC dc, const RECT &) {
      if (m_icon != nullptr) {
        ::DrawIconEx(dc, Px(120), Px(60), m_icon, Px(600), Px(600), 0, nullptr, DI_NORMAL);
      }
      const HGDIOBJ old = ::SelectObject(dc, Font(ControlFont{"Arial", 14, true}));
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, static_cast<COLORREF>(kBannerTextColour));
      RECT text{Px(840), Px(60), Px(840) + Px(1500), Px(60) + Px(540)};
      ::DrawTextW(dc, L"Tallyflow", -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      ::SelectObject(dc, old);
    });
  }
  if (c.id == +AboutControl::Image3) {
    // The strip beside the title: the words of what the program does.
    const HWND strip = ::CreateWindowExW(0, L"STATIC", AnsiToWide(c.look.accessibleName).c_str(),
                                         WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX,
                                         r.left, r.top, r.right - r.left, r.bottom - r.top, parent, menu,
                                         ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(strip, WM_SETFONT, reinterpret_cast<WPARAM>(Font(ControlFont{"Arial", 8.25, false})),
                   FALSE);
    return strip;
  }
  // Image2: the program icon, 64 × 64 at 96 dpi.
  const HWND image =
      ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL, r.left,
                        r.top, Px(960), Px(960), parent, menu, ::GetModuleHandleW(nullptr), nullptr);
  if (m_icon != nullptr) {
    ::SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(m_icon), 0);
  }
  return image;
}

void Win32AboutWindow::Command(const ControlLayout &c, int code) {
  if (code == BN_CLICKED) {
    m_form->Click(static_cast<AboutControl>(c.id));
  }
}

bool Win32AboutWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  switch (msg) {
  case WM_COMMAND:
    // Escape (IDCANCEL); Enter with no button focused (IDOK) is OK's.
    if (LOWORD(wParam) == IDCANCEL || (LOWORD(wParam) == IDOK && lParam == 0)) {
      m_form->cmdok_Click();
      result = 0;
      return true;
    }
    return false;
  case WM_CLOSE:
    m_form->cmdok_Click(); // the close box unloads it as OK does
    result = 0;
    return true;
  case WM_SETCURSOR: {
    const ControlLayout *c = LayoutOf(reinterpret_cast<HWND>(wParam));
    if (c != nullptr && c->kind == ControlKind::Link && m_linkCursor != nullptr) {
      ::SetCursor(m_linkCursor);
      result = TRUE;
      return true;
    }
    return false;
  }
  default:
    return false;
  }
}

void Win32AboutWindow::Caption(const std::string &text) {
  ::SetWindowTextW(Hwnd(), Utf8ToWide(text).c_str());
}

void Win32AboutWindow::Text(AboutControl label, const std::string &text) {
  SetControlText(Control(label), Utf8ToWide(text));
}

std::string Win32AboutWindow::Text(AboutControl label) const {
  return WideToUtf8(ControlText(Control(label)));
}

std::string Win32AboutWindow::Tip(AboutControl control) const { return EntryOf(AboutLayout(), +control).tip; }

void Win32AboutWindow::ShowModal(Services services, HWND owner, int dpi,
                                 const std::function<bool(MSG &)> &preTranslate) {
  Win32AboutWindow about(std::move(services), owner, dpi);
  if (!about.Created()) {
    return; // no window to show: the monitor goes on
  }
  about.Form().Form_Load();
  // Centred over the owner.
  RECT o{}, a{};
  ::GetWindowRect(owner, &o);
  ::GetWindowRect(about.Hwnd(), &a);
  const int x = o.left + ((o.right - o.left) - (a.right - a.left)) / 2;
  const int y = o.top + ((o.bottom - o.top) - (a.bottom - a.top)) / 2;
  ::SetWindowPos(about.Hwnd(), nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::EnableWindow(owner, FALSE);
  ::ShowWindow(about.Hwnd(), SW_SHOWNORMAL);
  ::SetFocus(about.Control(AboutTabOrder().front()));
  MSG msg;
  bool quit = false;
  while (!about.Closed()) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      quit = got == 0;
      break;
    }
    if (!about.PreTranslate(msg) && !(preTranslate && preTranslate(msg))) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  // The owner is enabled before the About window goes, so Windows gives it
  // the activation back instead of another program's window.
  ::EnableWindow(owner, TRUE);
  ::SetActiveWindow(owner);
  if (quit) {
    ::PostQuitMessage(static_cast<int>(msg.wParam)); // for the main loop
  }
}

} // namespace tallyflow
