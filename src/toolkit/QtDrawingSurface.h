#pragma once

#include "DrawingSurface.h"

#include <QFrame>
#include <QImage>
#include <QPainter>

#include <memory>

namespace tallyflow {

// A picture control: every drawing operation goes into a QImage back buffer
// the size of the drawable area; paintEvent only copies that image. Drawing is
// aliased with one-pixel pens.
//
// Coordinates: a float coordinate in pixels names the pixel column (row) it
// rounds to, halves away from zero, so x = 18.95 draws in column 19 and a
// line at x = W (the inner width) lies one past the last column. In twip
// mode coordinates are divided by 15 first (15 twips per pixel).
class QtDrawingSurface : public QFrame, public DrawingSurface {
public:
  // borderStyle 0: no border; 1: a single one-pixel border.
  explicit QtDrawingSurface(QWidget *parent = nullptr, std::int16_t borderStyle = 0);
  ~QtDrawingSurface() override;

  bool AutoRedraw() const override { return m_autoRedraw; }
  bool AutoRedraw(bool value) override;
  bool Cls() override;
  std::int16_t BorderStyle() const override { return m_borderStyle; }
  ScaleMode Scale() const override { return m_scale; }
  bool Scale(ScaleMode mode) override;
  Colour BackColor() const override { return m_backColour; }
  bool BackColor(Colour colour) override;
  float ScaleWidth() const override;
  float ScaleHeight() const override;
  bool Line(float x1, float y1, float x2, float y2, Colour colour) override;
  bool Rectangle(float x1, float y1, float x2, float y2, Colour colour) override;

  // The back buffer, for tests and screenshots.
  const QImage &Image() const;

  static QColor ToQColor(Colour colour);

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  int ToPixel(float v) const;
  // Keeps the back buffer the size of the drawable area; a hidden widget gets
  // no resize events, so every operation checks.
  void SyncImageSize() const;

  QPainter &Painter(Colour colour);
  void PixelLine(int x1, int y1, int x2, int y2, Colour colour);
  void EndPainting() const;

  mutable QImage m_image;
  mutable std::unique_ptr<QPainter> m_painter;
  Colour m_penColour = 0;
  bool m_autoRedraw = false;
  std::int16_t m_borderStyle;
  ScaleMode m_scale = ScaleMode::Twips;
  Colour m_backColour = 0xFFFFFF;
};

} // namespace tallyflow
