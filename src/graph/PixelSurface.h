#pragma once

#include "graph/DrawingSurface.h"

#include <cstdint>

namespace tallyflow {

// The part of a picture control every toolkit shares: its settings and the
// drawing into a top-down buffer of 32-bit pixels 0xAARRGGBB, where AA is
// what the toolkit's format wants (0xFF for Qt's RGB32, 0 for a DIB
// section). Coordinates map to pixels as PixelLine.h says, so every toolkit
// puts the same pixels. The toolkit owns the buffer, keeps it the size of
// the drawable area and shows it.
class PixelSurface : public DrawingSurface {
public:
  bool AutoRedraw() const override { return m_autoRedraw; }
  bool AutoRedraw(bool value) override;
  bool Cls() override;
  ScaleMode Scale() const override { return m_scale; }
  bool Scale(ScaleMode mode) override;
  Colour BackColor() const override { return m_backColour; }
  bool BackColor(Colour colour) override;
  float ScaleWidth() const override;
  float ScaleHeight() const override;
  bool Line(float x1, float y1, float x2, float y2, Colour colour) override;
  bool Rectangle(float x1, float y1, float x2, float y2, Colour colour) override;

  int Width() const { return m_width; }   // pixels
  int Height() const { return m_height; } // pixels
  // The buffer's pixel value for a colour.
  std::uint32_t PixelOf(Colour colour) const;

protected:
  explicit PixelSurface(std::uint32_t alpha) : m_alpha(alpha) {}

  // Draws from now on into `pixels`, width × height at `dpi` (twips per
  // pixel: 1440 / dpi); nullptr for none, and every drawing then fails. The
  // buffer's contents are the toolkit's.
  void Attach(std::uint32_t *pixels, int width, int height, int dpi);
  // Before each drawing: the toolkit brings its buffer up to date.
  virtual void BeforeDrawing() {}
  // After each drawing: the toolkit shows the buffer again.
  virtual void Changed() = 0;

private:
  int ToPixel(float v) const;
  void PutLine(int x1, int y1, int x2, int y2, std::uint32_t pixel);

  std::uint32_t m_alpha;
  std::uint32_t *m_pixels = nullptr;
  int m_width = 0, m_height = 0;
  float m_twipsPerPixel = kTwipsPerPixel;
  bool m_autoRedraw = false;
  ScaleMode m_scale = ScaleMode::Twips;
  Colour m_backColour = 0xFFFFFF;
};

} // namespace tallyflow
