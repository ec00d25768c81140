#pragma once

#include "graph/DrawingSurface.h"

#include <string>
#include <vector>

namespace tallyflow::test {

// Records every drawing call; any operation can be made to fail from the
// n-th call of that kind on.
class RecordingSurface final : public DrawingSurface {
public:
  struct Shape {
    bool rectangle;
    float x1, y1, x2, y2;
    Colour colour;
  };

  RecordingSurface(float width, float height, std::int16_t borderStyle = 0)
      : width(width), height(height), borderStyle(borderStyle) {}

  bool AutoRedraw() const override { return autoRedraw; }
  bool AutoRedraw(bool v) override {
    log.push_back("AutoRedraw");
    autoRedraw = v;
    return true;
  }
  bool Cls() override {
    log.push_back("Cls");
    shapes.clear();
    ++clears;
    return !failCls;
  }
  std::int16_t BorderStyle() const override { return borderStyle; }
  ScaleMode Scale() const override { return scale; }
  bool Scale(ScaleMode m) override {
    log.push_back("Scale");
    scale = m;
    return true;
  }
  Colour BackColor() const override { return back; }
  bool BackColor(Colour c) override {
    log.push_back("BackColor");
    back = c;
    shapes.clear();
    return true;
  }
  // Sizes are given in pixels; in twips they read 15 times larger.
  float ScaleWidth() const override { return scale == ScaleMode::Pixels ? width : width * 15; }
  float ScaleHeight() const override { return scale == ScaleMode::Pixels ? height : height * 15; }
  bool Line(float x1, float y1, float x2, float y2, Colour c) override {
    if (failLineFrom >= 0 && Count(false) >= static_cast<std::size_t>(failLineFrom)) {
      return false;
    }
    shapes.push_back({false, x1, y1, x2, y2, c});
    return true;
  }
  bool Rectangle(float x1, float y1, float x2, float y2, Colour c) override {
    if (failRectangleFrom >= 0 && Count(true) >= static_cast<std::size_t>(failRectangleFrom)) {
      return false;
    }
    shapes.push_back({true, x1, y1, x2, y2, c});
    return true;
  }

  std::size_t Count(bool rectangles) const {
    std::size_t n = 0;
    for (const auto &s : shapes) {
      n += s.rectangle == rectangles;
    }
    return n;
  }
  std::vector<Shape> Of(bool rectangles, Colour c) const {
    std::vector<Shape> out;
    for (const auto &s : shapes) {
      if (s.rectangle == rectangles && s.colour == c) {
        out.push_back(s);
      }
    }
    return out;
  }

  float width, height;
  std::int16_t borderStyle;
  bool autoRedraw = false;
  ScaleMode scale = ScaleMode::Twips;
  Colour back = 0xFFFFFF;
  bool failCls = false;
  int failLineFrom = -1;
  int failRectangleFrom = -1;
  int clears = 0;
  std::vector<Shape> shapes;
  std::vector<std::string> log;
};

} // namespace tallyflow::test
