#pragma once

#include "graph/DrawingSurface.h"

namespace tallyflow::test {

// A surface that only counts what is drawn on it, for measuring the code
// that draws rather than the drawing.
class CountingSurface final : public DrawingSurface {
public:
  CountingSurface(float width, float height) : m_width(width), m_height(height) {}
  bool AutoRedraw() const override { return m_autoRedraw; }
  bool AutoRedraw(bool v) override { return m_autoRedraw = v, true; }
  bool Cls() override { return ++clears, true; }
  std::int16_t BorderStyle() const override { return 0; }
  ScaleMode Scale() const override { return m_scale; }
  bool Scale(ScaleMode m) override { return m_scale = m, true; }
  Colour BackColor() const override { return m_back; }
  bool BackColor(Colour c) override { return m_back = c, true; }
  float ScaleWidth() const override { return m_width; }
  float ScaleHeight() const override { return m_height; }
  bool Line(float, float, float, float, Colour) override { return ++lines, true; }
  bool Rectangle(float, float, float, float, Colour) override { return ++rectangles, true; }

  long clears = 0, lines = 0, rectangles = 0;

private:
  float m_width, m_height;
  bool m_autoRedraw = false;
  ScaleMode m_scale = ScaleMode::Pixels;
  Colour m_back = 0;
};

} // namespace tallyflow::test
