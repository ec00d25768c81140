#pragma once

#include "DrawingSurface.h"

#include <QFrame>
#include <QImage>

namespace tallyflow {

// A picture control: every drawing operation goes into a QImage back buffer
// the size of the drawable area. What the window shows is a second image,
// brought up to date once the drawing of a turn of the event loop is over:
// only the rows that really changed are copied and repainted, so a graph
// that redraws the same picture costs no repaint at all.
//
// Coordinates: a float coordinate in pixels names the pixel column (row) it
// rounds to, halves away from zero, so x = 18.95 draws in column 19 and a
// line at x = W (the inner width) lies one past the last column. In twip
// mode coordinates are divided by 15 first (15 twips per pixel). Lines are
// one pixel wide, aliased, and include both end points.
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
  // The picture the window paints from.
  const QImage &Shown() const { return m_shown; }

  // Brings the shown picture up to date now and schedules the repaint of
  // the rows that changed; returns how many rows that is. Runs by itself
  // after drawing, from the event loop.
  int Present();

  static QColor ToQColor(Colour colour);

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  int ToPixel(float v) const;
  // Keeps the back buffer the size of the drawable area; a hidden widget gets
  // no resize events, so every operation checks.
  void SyncImageSize() const;
  void Changed();
  void PixelLine(int x1, int y1, int x2, int y2, Colour colour);

  mutable QImage m_image; // back buffer, drawn into
  QImage m_shown;         // what paintEvent copies to the screen
  bool m_presentQueued = false;
  bool m_autoRedraw = false;
  std::int16_t m_borderStyle;
  ScaleMode m_scale = ScaleMode::Twips;
  Colour m_backColour = 0xFFFFFF;
};

} // namespace tallyflow
