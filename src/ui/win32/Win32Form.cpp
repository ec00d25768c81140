#include "ui/win32/Win32Form.h"

#include <commctrl.h>

#include <cmath>

namespace tallyflow {
namespace {

constexpr const wchar_t *kPanelClass = L"TallyflowPanel";

COLORREF Ref(Colour c) { return static_cast<COLORREF>(c & 0xFFFFFF); } // both 0x00BBGGRR

// The layout's texts and font names are ASCII: each byte is its character.
std::wstring FromAscii(const char *text) {
  return std::wstring(text, text + std::char_traits<char>::length(text));
}

bool IsLabel(ControlKind k) {
  return k == ControlKind::Label || k == ControlKind::ValueBox || k == ControlKind::Link;
}

} // namespace

Win32Form::~Win32Form() = default;

int Win32Form::Px(double twips) const { return static_cast<int>(std::lround(twips * m_dpi / 1440.0)); }
double Win32Form::Twips(int pixels) const { return std::round(static_cast<double>(pixels) * 1440.0 / m_dpi); }

void Win32Form::CreateFormWindow(const wchar_t *className, DWORD style, DWORD exStyle, int clientWidthTwips,
                                 int clientHeightTwips, const wchar_t *title, HWND owner) {
  m_clientWidthTwips = clientWidthTwips;
  m_clientHeightTwips = clientHeightTwips;
  // No class brush: the class outlives every window, its brushes are the
  // window's own (WM_ERASEBKGND).
  if (RegisterClassOnce(className, Proc) == 0) {
    return;
  }
  RECT outer{0, 0, Px(clientWidthTwips), Px(clientHeightTwips)};
  ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  m_window.reset(::CreateWindowExW(exStyle, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                   outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
                                   ::GetModuleHandleW(nullptr), this));
}

HFONT Win32Form::Font(const ControlFont &font, bool underline) {
  const std::string key = std::string(font.family) + "/" + std::to_string(font.points) + "/" +
                          (font.bold ? "b" : "") + (underline ? "u" : "");
  if (const auto it = m_fontByKey.find(key); it != m_fontByKey.end()) {
    return it->second;
  }
  // Points at the window's dpi: 8.25 pt is 11 px at 96 dpi, 17 at 144.
  const int height = -static_cast<int>(std::lround(font.points * m_dpi / 72.0));
  const std::wstring family = FromAscii(font.family);
  m_fonts.emplace_back(::CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, underline,
                                     FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, family.c_str()));
  return m_fontByKey[key] = m_fonts.back().get();
}

HBRUSH Win32Form::Brush(Colour colour) {
  UniqueBrush &b = m_brushes[colour];
  if (!b) {
    b.reset(::CreateSolidBrush(Ref(colour)));
  }
  return b.get();
}

RECT Win32Form::DesignBounds(const ControlLayout &c) const {
  return RECT{Px(c.left), Px(c.top), Px(c.left) + Px(c.width), Px(c.top) + Px(c.height)};
}

HWND Win32Form::Control(int id) const {
  const auto it = m_controls.find(id);
  return it == m_controls.end() ? nullptr : it->second;
}

const ControlLayout *Win32Form::LayoutOf(HWND control) const {
  const auto it = m_layoutOf.find(control);
  return it == m_layoutOf.end() ? nullptr : it->second;
}

void Win32Form::BuildControls(const std::vector<ControlLayout> &layout, const std::vector<int> &tabOrder) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  m_tips.reset(::CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr));
  ::SendMessageW(m_tips.get(), TTM_SETMAXTIPWIDTH, 0, Px(4500)); // long tips wrap
  int id = 100;
  for (const ControlLayout &c : layout) {
    const HWND parent = c.parent == 0 ? Hwnd() : Control(c.parent);
    const HWND h = MakeControl(c, parent, id);
    if (h == nullptr) {
      m_complete = false;
      continue;
    }
    // Later controls lie over earlier ones where they overlap (lblType over
    // the end of Label1, Frame3 over lblType's foot), as designed.
    ::SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_controls[c.id] = h;
    m_layoutOf[h] = &c;
    m_byId[id++] = h;
    if (c.tip[0] != '\0') {
      const std::wstring tip = FromAscii(c.tip);
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = parent;
      tool.uId = reinterpret_cast<UINT_PTR>(h);
      tool.lpszText = const_cast<wchar_t *>(tip.c_str()); // copied by the tool tip
      ::SendMessageW(m_tips.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  // Tab follows the order of siblings: each stop goes after the one before.
  // Across panels it runs as the panels lie, and wraps round, so only the
  // cycle is fixed: the window gives the first stop the focus itself.
  HWND previous = HWND_TOP;
  for (int stop : tabOrder) {
    ::SetWindowPos(Control(stop), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = Control(stop);
  }
}

HWND Win32Form::MakePanel(HWND parent, RECT r, int id, Colour colour, bool etched,
                          std::function<void(HDC, const RECT &)> paint) {
  RegisterClassOnce(kPanelClass, PanelProc);
  m_panels.push_back(std::make_unique<Panel>(Panel{this, colour, etched, std::move(paint)}));
  return ::CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                           r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                           m_panels.back().get());
}

HWND Win32Form::MakeControl(const ControlLayout &c, HWND parent, int id) {
  const RECT r = DesignBounds(c);
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  const std::wstring caption = FromAscii(c.caption);
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  const DWORD notify = c.tip[0] != '\0' ? SS_NOTIFY : 0; // a tool tip needs the mouse
  auto make = [&](DWORD exStyle, const wchar_t *cls, DWORD style, int height) {
    return ::CreateWindowExW(exStyle, cls, caption.c_str(), child | style, r.left, r.top, r.right - r.left,
                             height, parent, menu, instance, nullptr);
  };
  const bool right = c.look.align == TextAlign::Right;
  HWND h = nullptr;
  switch (c.kind) {
  case ControlKind::Picture:
  case ControlKind::Image:
    return MakePicture(c, parent, r, id);
  case ControlKind::Frame:
    // A frame is etched; a picture panel in a frame's place has a plain border.
    return MakePanel(parent, r, id, kFaceColour, c.look.frame == FrameStyle::Etched);
  case ControlKind::Label:
    h = make(0, L"STATIC",
             (right ? SS_RIGHT : SS_LEFT) | SS_NOPREFIX | notify |
                 (c.sizedToText && !right ? SS_LEFTNOWORDWRAP : 0),
             r.bottom - r.top);
    break;
  case ControlKind::ValueBox:
    h = make(0, L"STATIC", SS_RIGHT | SS_CENTERIMAGE | SS_NOPREFIX | WS_BORDER | notify, r.bottom - r.top);
    if (h != nullptr) {
      ::SetWindowSubclass(h, ValueBoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    break;
  case ControlKind::Link:
    // A button that looks like a link: a Tab stop that Enter and Space press.
    h = make(0, L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, r.bottom - r.top);
    break;
  case ControlKind::DropDownList:
  case ControlKind::DropDownEdit:
    // The height given is the closed box's; the list drops 12 entries deep.
    h = make(0, L"COMBOBOX",
             WS_TABSTOP | WS_VSCROLL |
                 (c.kind == ControlKind::DropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL),
             Px(c.height) * 8);
    break;
  case ControlKind::CheckBox:
    h = make(0, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, r.bottom - r.top);
    break;
  case ControlKind::Button:
    h = make(0, L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, r.bottom - r.top);
    break;
  case ControlKind::Rule:
    h = make(0, L"STATIC", SS_ETCHEDHORZ, r.bottom - r.top);
    break;
  case ControlKind::TextBox:
    // Below the client area and never seen: no Tab stop.
    h = make(WS_EX_CLIENTEDGE, L"EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL, r.bottom - r.top);
    break;
  }
  if (h == nullptr) {
    return nullptr;
  }
  ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(Font(c.font, c.kind == ControlKind::Link)), FALSE);
  if (c.kind == ControlKind::DropDownList || c.kind == ControlKind::DropDownEdit) {
    // The closed box's height is its selection field's and two borders of 3.
    ::SendMessageW(h, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(1, Px(c.height) - 6));
  }
  if (c.sizedToText) {
    m_layoutOf[h] = &c;
    SizeToText(h, caption);
  }
  return h;
}

void Win32Form::SizeToText(HWND control, const std::wstring &text) {
  const HDC dc = ::GetDC(control);
  const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, 0, 0};
  ::DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_LEFT);
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  ::SetWindowPos(control, nullptr, 0, 0, text.empty() ? 0 : r.right, r.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::Rescale(int dpi, const RECT &suggested) {
  m_dpi = dpi;
  // The old fonts stay alive until every control has its new one.
  const std::vector<UniqueFont> old = std::move(m_fonts);
  m_fonts.clear();
  m_fontByKey.clear();
  for (const auto &[h, c] : m_layoutOf) {
    const RECT r = DesignBounds(*c);
    const bool list = c->kind == ControlKind::DropDownList || c->kind == ControlKind::DropDownEdit;
    ::SetWindowPos(h, nullptr, r.left, r.top, r.right - r.left, list ? Px(c->height) * 8 : r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (c->kind != ControlKind::Picture && c->kind != ControlKind::Image && c->kind != ControlKind::Frame) {
      ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(Font(c->font, c->kind == ControlKind::Link)),
                     TRUE);
    }
    if (list) {
      ::SendMessageW(h, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(1, Px(c->height) - 6));
    }
    if (c->sizedToText) {
      SizeToText(h, ControlText(h));
    }
  }
  ::SendMessageW(m_tips.get(), TTM_SETMAXTIPWIDTH, 0, Px(4500));
  // At the suggested place, with the client area the design gives at this
  // dpi: the frame is what the system made of it, measured, not assumed.
  ::SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client;
  RECT outer;
  ::GetClientRect(Hwnd(), &client);
  ::GetWindowRect(Hwnd(), &outer);
  ::SetWindowPos(Hwnd(), nullptr, 0, 0, outer.right - outer.left + Px(m_clientWidthTwips) - client.right,
                 outer.bottom - outer.top + Px(m_clientHeightTwips) - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Rescaled();
  ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void Win32Form::SetControlText(HWND control, const std::wstring &text) {
  ::SetWindowTextW(control, text.c_str());
  if (const ControlLayout *c = LayoutOf(control); c != nullptr && c->sizedToText) {
    SizeToText(control, text);
  }
}

std::wstring Win32Form::ControlText(HWND control) const {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

LRESULT Win32Form::CtlColour(UINT msg, HDC dc, HWND control) {
  const ControlLayout *c = LayoutOf(control);
  if (c == nullptr) { // a combo box's own edit field or list
    const HWND parent = ::GetParent(control);
    c = LayoutOf(parent);
  }
  Colour back = kFaceColour;
  if (c != nullptr && (c->kind == ControlKind::ValueBox || c->kind == ControlKind::DropDownList ||
                       c->kind == ControlKind::DropDownEdit || msg == WM_CTLCOLORLISTBOX)) {
    back = kBoxColour;
  } else if (c != nullptr) {
    // Labels show their parent's face: white on the About window's banner.
    const HWND parent = ::GetParent(control);
    for (const auto &p : m_panels) {
      if (::GetWindowLongPtrW(parent, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(p.get())) {
        back = p->colour;
      }
    }
  }
  ::SetTextColor(dc, Ref(c != nullptr ? c->look.text : kTextColour));
  ::SetBkColor(dc, Ref(back));
  if (c != nullptr && IsLabel(c->kind) && c->kind != ControlKind::ValueBox) {
    ::SetBkMode(dc, TRANSPARENT);
  }
  return reinterpret_cast<LRESULT>(Brush(back));
}

void Win32Form::DrawItem(const DRAWITEMSTRUCT &item) {
  const ControlLayout *c = LayoutOf(item.hwndItem);
  if (c == nullptr) {
    return;
  }
  const HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const std::wstring text = ControlText(item.hwndItem);
  ::FillRect(dc, &r, Brush(kFaceColour));
  ::SetBkMode(dc, TRANSPARENT);
  const HGDIOBJ old =
      ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
  if (c->kind == ControlKind::Link) {
    ::SetTextColor(dc, Ref(c->look.text));
    RECT textRect = r;
    ::DrawTextW(dc, text.c_str(), -1, &textRect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    ::DrawTextW(dc, text.c_str(), -1, &textRect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    if (focused) {
      ::InflateRect(&textRect, 1, 0);
      ::DrawFocusRect(dc, &textRect);
    }
  } else {
    // A classic push button on the design's face: a black frame round the
    // focused one, a raised edge (sunken while pressed), a focus rectangle.
    if (focused) {
      ::FrameRect(dc, &r, reinterpret_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
      ::InflateRect(&r, -1, -1);
    }
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    ::DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    ::SetTextColor(dc, Ref(0));
    RECT textRect = r;
    if (pressed) {
      ::OffsetRect(&textRect, 1, 1);
    }
    ::DrawTextW(dc, text.c_str(), -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (focused) {
      ::InflateRect(&r, -3, -3);
      ::DrawFocusRect(dc, &r);
    }
  }
  ::SelectObject(dc, old);
}

LRESULT CALLBACK Win32Form::ValueBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR formData) {
  auto *form = reinterpret_cast<Win32Form *>(formData);
  switch (msg) {
  case WM_PAINT: {
    PAINTSTRUCT ps;
    const HDC dc = ::BeginPaint(hwnd, &ps);
    RECT r;
    ::GetClientRect(hwnd, &r);
    ::FillRect(dc, &r, form->Brush(kBoxColour));
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    // Half an "x" from the border, as a framed label keeps its text.
    SIZE x{};
    ::GetTextExtentPoint32W(dc, L"x", 1, &x);
    r.right -= x.cx / 2;
    const std::wstring text = form->ControlText(hwnd);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Ref(0));
    ::DrawTextW(dc, text.c_str(), -1, &r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::EndPaint(hwnd, &ps);
    return 0;
  }
  case WM_SETTEXT: {
    const LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
    ::InvalidateRect(hwnd, nullptr, FALSE); // drawn by WM_PAINT above, with its margin
    return result;
  }
  case WM_NCDESTROY:
    ::RemoveWindowSubclass(hwnd, ValueBoxProc, 0);
    break;
  default:
    break;
  }
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

bool Win32Form::PreTranslate(MSG &msg) {
  if (!m_window || (msg.hwnd != Hwnd() && !::IsChild(Hwnd(), msg.hwnd))) {
    return false;
  }
  return ::IsDialogMessageW(Hwnd(), &msg) != FALSE;
}

LRESULT CALLBACK Win32Form::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto *self = WindowObject<Win32Form>(hwnd, msg, lParam);
  if (self == nullptr) {
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  switch (msg) {
  case WM_ERASEBKGND: {
    RECT r;
    ::GetClientRect(hwnd, &r);
    ::FillRect(reinterpret_cast<HDC>(wParam), &r, self->Brush(kFaceColour));
    return 1;
  }
  case WM_ACTIVATE:
    // As the dialog manager does: the focused control is kept when the
    // window goes inactive (About, a message box) and has the focus back
    // when it returns, through WM_SETFOCUS below.
    if (LOWORD(wParam) == WA_INACTIVE) {
      const HWND focus = ::GetFocus();
      if (focus != nullptr && ::IsChild(hwnd, focus)) {
        self->m_lastFocus = focus;
      }
    }
    break;
  case WM_SETFOCUS:
    // The first time, the window gives its first Tab stop the focus itself.
    if (self->m_lastFocus != nullptr && ::IsWindow(self->m_lastFocus) && ::IsChild(hwnd, self->m_lastFocus)) {
      ::SetFocus(self->m_lastFocus);
      return 0;
    }
    break;
  case WM_DRAWITEM:
    self->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
    return TRUE;
  case WM_DPICHANGED:
    self->Rescale(HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
    return 0;
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
    return self->CtlColour(msg, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
  case WM_COMMAND: {
    const auto id = static_cast<int>(LOWORD(wParam));
    const int code = HIWORD(wParam);
    // Enter with no default button: the focused push button or link, as
    // Windows users expect.
    if (id == IDOK && lParam == 0) {
      const HWND focus = ::GetFocus();
      const ControlLayout *c = self->LayoutOf(focus);
      if (c != nullptr && (c->kind == ControlKind::Button || c->kind == ControlKind::Link)) {
        ::SendMessageW(focus, BM_CLICK, 0, 0);
        return 0;
      }
    }
    if (const auto it = self->m_byId.find(id); it != self->m_byId.end()) {
      if (const ControlLayout *c = self->LayoutOf(it->second)) {
        self->Command(*c, code);
        return 0;
      }
    }
    break;
  }
  case WM_NCDESTROY:
    self->m_window.release(); // already going: not destroyed twice
    self->m_tips.release();   // owned by the window, gone with it
    break;
  default:
    break;
  }
  LRESULT result = 0;
  if (self->Handle(msg, wParam, lParam, result)) {
    return result;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Win32Form::PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto *panel = WindowObject<Panel>(hwnd, msg, lParam);
  switch (msg) {
  case WM_COMMAND:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
  case WM_NOTIFY:
  case WM_DRAWITEM:
    // Controls in a frame report to the window, as if they were its own.
    return ::SendMessageW(panel->form->Hwnd(), msg, wParam, lParam);
  case WM_ERASEBKGND: {
    RECT r;
    ::GetClientRect(hwnd, &r);
    const auto dc = reinterpret_cast<HDC>(wParam);
    ::FillRect(dc, &r, panel->form->Brush(panel->colour));
    if (panel->paint) {
      panel->paint(dc, r);
    }
    if (panel->etched) {
      ::DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
    } else if (panel->colour == kFaceColour) {
      ::FrameRect(dc, &r, reinterpret_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    return 1;
  }
  default:
    break;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace tallyflow
