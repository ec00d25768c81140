#pragma once

#include "graph/DrawingSurface.h"

#include <QFrame>
#include <QImage>

#include <vector>

namespace tallyflow {

// A picture control: drawing goes into a QImage back buffer the size of the
// drawable area. Operations are first written down in pixels and put into
// the image when it is next needed; a picture that starts with Cls and
// repeats the one already in the image, operation for operation or in the
// pixels each line puts (a line from far outside the image can move without
// changing a pixel), is not drawn again at all. What the window shows is a
// second image, brought up to date once the drawing of a turn of the event
// loop is over: only the rows that really changed are copied and repainted.
// So a graph that redraws the same picture costs neither pixels nor a
// repaint.
//
// Coordinates map to pixels as PixelLine.h says, the same for every
// toolkit: one-pixel aliased lines that include both end points.
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

  // The back buffer with everything drawn so far, for tests and screenshots.
  const QImage &Image() const;
  // How many times operations were put into the image (for tests and the
  // benchmark: an unchanged picture does not count).
  int Rasterisations() const { return m_rasterisations; }
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
  // One line in pixels, end points included.
  struct PixelOp {
    int x1, y1, x2, y2;
    QRgb pixel;
    bool operator==(const PixelOp &) const = default;
  };

  int ToPixel(float v) const;
  // Keeps the back buffer the size of the drawable area; a hidden widget gets
  // no resize events, so every operation checks. Operations written down
  // before a change of size are put in at the size they were drawn at.
  void SyncImageSize() const;
  // Puts the operations written down into the image, unless it already
  // holds exactly that picture.
  void Rasterise() const;
  void ApplyPending() const;
  void Changed();
  void Record(int x1, int y1, int x2, int y2, Colour colour);
  void RasterLine(const PixelOp &op) const;
  template <typename Span> static void VisitLine(const PixelOp &op, int width, int height, Span &&span);
  bool SamePixels(const std::vector<PixelOp> &a, const std::vector<PixelOp> &b) const;

  mutable QImage m_image;     // back buffer
  mutable QSize m_widgetSize; // the widget's size m_image was last fitted to
  QImage m_shown;             // what paintEvent copies to the screen
  // Written down, not yet in the image; m_pendingCls: they start with a Cls
  // in m_pendingBack.
  mutable std::vector<PixelOp> m_pending;
  mutable bool m_pendingCls = false;
  mutable QRgb m_pendingBack = 0;
  // What the image holds: a Cls in m_frameBack and then m_frame, when
  // m_frameKnown (not after a resize, nor a picture too long to keep).
  mutable std::vector<PixelOp> m_frame;
  mutable QRgb m_frameBack = 0;
  mutable bool m_frameKnown = false;
  mutable bool m_imageChanged = false; // since the last Present
  mutable int m_rasterisations = 0;
  bool m_presentQueued = false;
  bool m_autoRedraw = false;
  std::int16_t m_borderStyle;
  ScaleMode m_scale = ScaleMode::Twips;
  Colour m_backColour = 0xFFFFFF;
};

} // namespace tallyflow
