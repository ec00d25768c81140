#pragma once

#include "graph/PixelSurface.h"

#include <QFrame>
#include <QImage>

#include <cstdint>
#include <vector>

namespace tallyflow {

// A picture control on Qt: drawing goes into a buffer the size of the
// drawable area (PixelSurface), which paintEvent shows as an RGB32 image.
// Every drawing asks for a repaint; Qt joins the requests of a turn of the
// event loop into one.
class QtDrawingSurface : public QFrame, public PixelSurface {
public:
  // borderStyle 0: no border; 1: a single one-pixel border.
  explicit QtDrawingSurface(QWidget *parent = nullptr, std::int16_t borderStyle = 0);

  std::int16_t BorderStyle() const override { return m_borderStyle; }
  // The drawable area as the widget has it now (a hidden widget's buffer
  // follows a new size only at its next drawing).
  float ScaleWidth() const override;
  float ScaleHeight() const override;

  // Everything drawn so far, for tests and screenshots.
  QImage Image() const;

protected:
  void paintEvent(QPaintEvent *event) override;
  // A hidden widget gets no resize events: every drawing checks the size.
  void BeforeDrawing() override;
  void Changed() override { update(contentsRect()); }

private:
  std::vector<std::uint32_t> m_pixels; // top-down rows of Width() pixels
  std::int16_t m_borderStyle;
};

} // namespace tallyflow
