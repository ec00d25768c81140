#include "graph/PixelSurface.h"

#include "graph/PixelLine.h"

#include <algorithm>

namespace tallyflow {

std::uint32_t PixelSurface::PixelOf(Colour c) const {
  return m_alpha | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); // 0x00BBGGRR to 0xAARRGGBB
}

void PixelSurface::Attach(std::uint32_t *pixels, int width, int height, int dpi) {
  m_pixels = pixels;
  m_width = pixels != nullptr ? width : 0;
  m_height = pixels != nullptr ? height : 0;
  m_twipsPerPixel = 1440.0f / static_cast<float>(dpi);
}

bool PixelSurface::AutoRedraw(bool value) {
  m_autoRedraw = value;
  return true;
}

bool PixelSurface::Cls() {
  BeforeDrawing();
  if (m_pixels != nullptr) {
    std::fill(m_pixels, m_pixels + static_cast<std::size_t>(m_width) * m_height, PixelOf(m_backColour));
  }
  Changed();
  return m_pixels != nullptr;
}

bool PixelSurface::Scale(ScaleMode mode) {
  m_scale = mode;
  return true;
}

bool PixelSurface::BackColor(Colour colour) {
  m_backColour = colour & 0xFFFFFF;
  return Cls();
}

float PixelSurface::ScaleWidth() const {
  const auto w = static_cast<float>(m_width);
  return m_scale == ScaleMode::Pixels ? w : w * m_twipsPerPixel;
}

float PixelSurface::ScaleHeight() const {
  const auto h = static_cast<float>(m_height);
  return m_scale == ScaleMode::Pixels ? h : h * m_twipsPerPixel;
}

int PixelSurface::ToPixel(float v) const {
  return ToPixelCoordinate(m_scale == ScaleMode::Twips ? v / m_twipsPerPixel : v, ScaleMode::Pixels);
}

void PixelSurface::PutLine(int x1, int y1, int x2, int y2, std::uint32_t pixel) {
  if (m_pixels == nullptr) {
    return;
  }
  VisitPixelLine(x1, y1, x2, y2, m_width, m_height, [&](int y, int left, int right) {
    std::uint32_t *row = m_pixels + static_cast<std::size_t>(y) * m_width;
    std::fill(row + left, row + right + 1, pixel);
  });
}

bool PixelSurface::Line(float x1, float y1, float x2, float y2, Colour colour) {
  BeforeDrawing();
  PutLine(ToPixel(x1), ToPixel(y1), ToPixel(x2), ToPixel(y2), PixelOf(colour));
  Changed();
  return m_pixels != nullptr;
}

bool PixelSurface::Rectangle(float x1, float y1, float x2, float y2, Colour colour) {
  BeforeDrawing();
  const int l = ToPixel(std::min(x1, x2));
  const int r = ToPixel(std::max(x1, x2));
  const int t = ToPixel(std::min(y1, y2));
  const int b = ToPixel(std::max(y1, y2));
  const std::uint32_t pixel = PixelOf(colour);
  PutLine(l, t, r, t, pixel);
  PutLine(l, b, r, b, pixel);
  PutLine(l, t, l, b, pixel);
  PutLine(r, t, r, b, pixel);
  Changed();
  return m_pixels != nullptr;
}

} // namespace tallyflow
