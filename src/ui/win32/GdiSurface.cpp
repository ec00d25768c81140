#include "ui/win32/GdiSurface.h"

#include "graph/PixelLine.h"

#include <algorithm>

namespace tallyflow {
namespace {

constexpr const wchar_t *kClass = L"TallyflowPicture";

} // namespace

GdiSurface::GdiSurface(HWND parent, int id, RECT bounds, int dpi) : PixelSurface(0) {
  RegisterClassOnce(kClass, Proc);
  MakeBuffer(bounds, dpi);
  m_window.reset(::CreateWindowExW(
      0, kClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, bounds.left, bounds.top, Width(), Height(),
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), this));
}

void GdiSurface::MakeBuffer(RECT bounds, int dpi) {
  if (m_oldBitmap != nullptr) {
    ::SelectObject(m_dc.get(), m_oldBitmap); // a selected bitmap cannot be deleted
    m_oldBitmap = nullptr;
  }
  m_bitmap.reset();
  const int width = std::max<int>(1, bounds.right - bounds.left);
  const int height = std::max<int>(1, bounds.bottom - bounds.top);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height; // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  if (!m_dc) {
    m_dc.reset(::CreateCompatibleDC(nullptr));
  }
  m_bitmap.reset(::CreateDIBSection(m_dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (m_bitmap) {
    m_oldBitmap = ::SelectObject(m_dc.get(), m_bitmap.get());
  }
  Attach(m_bitmap ? static_cast<std::uint32_t *>(bits) : nullptr, width, height, dpi);
  const std::uint32_t back = PixelOf(BackColor());
  if (m_bitmap) {
    std::fill_n(static_cast<std::uint32_t *>(bits), static_cast<std::size_t>(width) * height, back);
  }
}

void GdiSurface::Resize(RECT bounds, int dpi) {
  MakeBuffer(bounds, dpi);
  ::SetWindowPos(m_window.get(), nullptr, bounds.left, bounds.top, Width(), Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  Changed();
}

GdiSurface::~GdiSurface() {
  m_window.reset();
  if (m_oldBitmap != nullptr) {
    ::SelectObject(m_dc.get(), m_oldBitmap); // a selected bitmap cannot be deleted
  }
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
