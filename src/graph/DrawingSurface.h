#pragma once

#include <cstdint>

namespace tallyflow {

// A colour laid out as 0x00BBGGRR: 255 is red, 0x00FF00 green, 0x808000 teal.
using Colour = std::uint32_t;

// Units of a surface's coordinates and sizes.
enum class ScaleMode : std::int16_t { Twips = 1, Pixels = 3 };

// Twips (1/1440 inch) per pixel at 96 dpi: how every window's layout and
// every surface in twip mode map to pixels.
inline constexpr int kTwipsPerPixel = 15;

// What the line graph needs of a picture control. Drawing operations return
// false when they fail; the graph then stops drawing and keeps what it drew.
class DrawingSurface {
public:
  virtual ~DrawingSurface() = default;

  // Retained drawing: what is drawn stays in a back buffer the window
  // repaints from.
  virtual bool AutoRedraw() const = 0;
  virtual bool AutoRedraw(bool value) = 0;

  // Erases all drawing to the background colour.
  virtual bool Cls() = 0;

  // 0 no border, 1 single border.
  virtual std::int16_t BorderStyle() const = 0;

  virtual ScaleMode Scale() const = 0;
  virtual bool Scale(ScaleMode mode) = 0;

  // Setting the background gives a blank surface in that colour.
  virtual Colour BackColor() const = 0;
  virtual bool BackColor(Colour colour) = 0;

  // The drawable size inside the surface's own border, in current units.
  virtual float ScaleWidth() const = 0;
  virtual float ScaleHeight() const = 0;

  // One-pixel lines in the given colour.
  virtual bool Line(float x1, float y1, float x2, float y2, Colour colour) = 0;
  // The four edges of the axis-parallel rectangle with these opposite corners.
  virtual bool Rectangle(float x1, float y1, float x2, float y2, Colour colour) = 0;
};

} // namespace tallyflow
