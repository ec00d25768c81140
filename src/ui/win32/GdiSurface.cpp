#include "ui/win32/GdiSurface.h"

#include "graph/PixelLine.h"

#include <algorithm>

namespace tallyflow {
namespace {

constexpr const wchar_t *kClass = L"TallyflowPicture";

// A colour (0x00BBGGRR) as a DIB pixel (0x00RRGGBB).
constexpr std::uint32_t ToPixelValue(Colour c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

} // namespace

GdiSurface::GdiSurface(HWND parent, int id, RECT bounds, int dpi) : m_dpi(dpi) {
  RegisterClassOnce(kClass, Proc);
  MakeBuffer(bounds);
  m_window.reset(::CreateWindowExW(
      0, kClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, bounds.left, bounds.top, m_width, m_height,
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), this));
}

void GdiSurface::MakeBuffer(RECT bounds) {
  if (m_oldBitmap != nullptr) {
    ::SelectObject(m_dc.get(), m_oldBitmap); // a selected bitmap cannot be deleted
    m_oldBitmap = nullptr;
  }
  m_bitmap.reset();
  m_width = std::max<int>(1, bounds.right - bounds.left);
  m_height = std::max<int>(1, bounds.bottom - bounds.top);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = m_width;
  info.bmiHeader.biHeight = -m_height; // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  if (!m_dc) {
    m_dc.reset(::CreateCompatibleDC(nullptr));
  }
  m_bitmap.reset(::CreateDIBSection(m_dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  m_bits = static_cast<std::uint32_t *>(bits);
  if (m_bitmap) {
    m_oldBitmap = ::SelectObject(m_dc.get(), m_bitmap.get());
  }
  Fill(ToPixelValue(m_backColour));
}

void GdiSurface::Resize(RECT bounds, int dpi) {
  m_dpi = dpi;
  MakeBuffer(bounds);
  ::SetWindowPos(m_window.get(), nullptr, bounds.left, bounds.top, m_width, m_height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  Changed();
}

GdiSurface::~GdiSurface() {
  m_window.reset();
  if (m_oldBitmap != nullptr) {
    ::SelectObject(m_dc.get(), m_oldBitmap); // a selected bitmap cannot be deleted
  }
}

bool GdiSurface::AutoRedraw(bool value) {
  m_autoRedraw = value;
  return true;
}

bool GdiSurface::Cls() {
  Fill(ToPixelValue(m_backColour));
  Changed();
  return m_bits != nullptr;
}

bool GdiSurface::Scale(ScaleMode mode) {
  m_scale = mode;
  return true;
}

bool GdiSurface::BackColor(Colour colour) {
  m_backColour = colour & 0xFFFFFF;
  return Cls();
}

// In twip mode a pixel is 1440 / dpi twips, 15 at 96 dpi.
float GdiSurface::ScaleWidth() const {
  return m_scale == ScaleMode::Pixels ? static_cast<float>(m_width)
                                      : static_cast<float>(m_width) * 1440 / m_dpi;
}

float GdiSurface::ScaleHeight() const {
  return m_scale == ScaleMode::Pixels ? static_cast<float>(m_height)
                                      : static_cast<float>(m_height) * 1440 / m_dpi;
}

int GdiSurface::ToPixel(float v) const {
  return ToPixelCoordinate(m_scale == ScaleMode::Twips ? v * m_dpi / 1440 : v, ScaleMode::Pixels);
}

void GdiSurface::Fill(std::uint32_t pixel) {
  if (m_bits != nullptr) {
    ::GdiFlush(); // GDI may still be writing into the section
    std::fill(m_bits, m_bits + static_cast<std::size_t>(m_width) * m_height, pixel);
  }
}

void GdiSurface::PutLine(int x1, int y1, int x2, int y2, Colour colour) {
  if (m_bits == nullptr) {
    return;
  }
  const std::uint32_t pixel = ToPixelValue(colour);
  VisitPixelLine(x1, y1, x2, y2, m_width, m_height, [&](int y, int left, int right) {
    std::uint32_t *row = m_bits + static_cast<std::size_t>(y) * m_width;
    std::fill(row + left, row + right + 1, pixel);
  });
}

bool GdiSurface::Line(float x1, float y1, float x2, float y2, Colour colour) {
  PutLine(ToPixel(x1), ToPixel(y1), ToPixel(x2), ToPixel(y2), colour);
  Changed();
  return m_bits != nullptr;
}

bool GdiSurface::Rectangle(float x1, float y1, float x2, float y2, Colour colour) {
  const int l = ToPixel(std::min(x1, x2));
  const int r = ToPixel(std::max(x1, x2));
  const int t = ToPixel(std::min(y1, y2));
  const int b = ToPixel(std::max(y1, y2));
  PutLine(l, t, r, t, colour);
  PutLine(l, b, r, b, colour);
  PutLine(l, t, l, b, colour);
  PutLine(r, t, r, b, colour);
  Changed();
  return m_bits != nullptr;
}

void GdiSurface::Changed() {
  if (!m_invalidated && m_window) {
    m_invalidated = true;
    ++m_invalidations;
    ::InvalidateRect(m_window.get(), nullptr, FALSE);
  }
}

LRESULT CALLBACK GdiSurface::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto *self = WindowObject<GdiSurface>(hwnd, msg, lParam);
  switch (msg) {
  case WM_ERASEBKGND:
    return 1; // the buffer covers the whole window
  case WM_PAINT: {
    PAINTSTRUCT ps;
    const HDC dc = ::BeginPaint(hwnd, &ps);
    if (self != nullptr) {
      const RECT &r = ps.rcPaint;
      ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, self->m_dc.get(), r.left, r.top,
               SRCCOPY);
      self->m_invalidated = false;
    }
    ::EndPaint(hwnd, &ps);
    return 0;
  }
  case WM_NCDESTROY:
    if (self != nullptr) {
      self->m_window.release(); // already going: not destroyed twice
    }
    break;
  default:
    break;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace tallyflow
