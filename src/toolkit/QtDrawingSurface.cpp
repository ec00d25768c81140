#include "QtDrawingSurface.h"

#include <QPainter>

#include <cmath>

namespace tallyflow {
namespace {
constexpr float kTwipsPerPixel = 15.0f;
}

QtDrawingSurface::QtDrawingSurface(QWidget *parent, std::int16_t borderStyle)
    : QFrame(parent), m_borderStyle(borderStyle) {
  if (borderStyle == 1) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
  } else {
    setFrameStyle(QFrame::NoFrame);
  }
  // The image covers the whole drawable area: no background painting needed.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor QtDrawingSurface::ToQColor(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

bool QtDrawingSurface::AutoRedraw(bool value) {
  m_autoRedraw = value;
  return true;
}

bool QtDrawingSurface::Cls() {
  SyncImageSize();
  EndPainting();
  m_image.fill(ToQColor(m_backColour));
  update();
  return true;
}

bool QtDrawingSurface::Scale(ScaleMode mode) {
  m_scale = mode;
  return true;
}

bool QtDrawingSurface::BackColor(Colour colour) {
  m_backColour = colour & 0xFFFFFF;
  return Cls();
}

float QtDrawingSurface::ScaleWidth() const {
  const auto w = static_cast<float>(contentsRect().width());
  return m_scale == ScaleMode::Pixels ? w : w * kTwipsPerPixel;
}

float QtDrawingSurface::ScaleHeight() const {
  const auto h = static_cast<float>(contentsRect().height());
  return m_scale == ScaleMode::Pixels ? h : h * kTwipsPerPixel;
}

int QtDrawingSurface::ToPixel(float v) const {
  const float pixels = m_scale == ScaleMode::Pixels ? v : v / kTwipsPerPixel;
  if (!std::isfinite(pixels) || std::fabs(pixels) > 1e6f) {
    return pixels < 0 ? -1'000'000 : 1'000'000; // far outside; clipped by the painter
  }
  return static_cast<int>(std::lround(pixels));
}

QPainter &QtDrawingSurface::Painter(Colour colour) {
  SyncImageSize();
  if (!m_painter) {
    // One painter for a whole run of drawing operations; ended before the
    // image is read, cleared or resized.
    m_painter = std::make_unique<QPainter>(&m_image);
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_penColour = ~colour;
  }
  if (colour != m_penColour) {
    m_painter->setPen(QPen(ToQColor(colour), 0)); // cosmetic: one pixel at any scale
    m_penColour = colour;
  }
  return *m_painter;
}

void QtDrawingSurface::EndPainting() const { m_painter.reset(); }

// Lines along an axis are filled as one-pixel rectangles, which the raster
// engine does as plain memory fills; only slanted lines go through the pen.
void QtDrawingSurface::PixelLine(int x1, int y1, int x2, int y2, Colour colour) {
  if (x1 == x2 || y1 == y2) {
    // Straight into the image's scan lines, clipped to it.
    EndPainting();
    SyncImageSize();
    const QRect span =
        QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)))
            .intersected(m_image.rect());
    const QRgb pixel = ToQColor(colour).rgb();
    uchar *bits = m_image.bits(); // one detach check for the whole span
    const qsizetype stride = m_image.bytesPerLine();
    for (int y = span.top(); y <= span.bottom(); ++y) {
      auto *line = reinterpret_cast<QRgb *>(bits + y * stride);
      std::fill(line + span.left(), line + span.right() + 1, pixel);
    }
  } else {
    Painter(colour).drawLine(x1, y1, x2, y2);
  }
}

bool QtDrawingSurface::Line(float x1, float y1, float x2, float y2, Colour colour) {
  PixelLine(ToPixel(x1), ToPixel(y1), ToPixel(x2), ToPixel(y2), colour);
  update();
  return true;
}

bool QtDrawingSurface::Rectangle(float x1, float y1, float x2, float y2, Colour colour) {
  const int l = ToPixel(std::min(x1, x2));
  const int r = ToPixel(std::max(x1, x2));
  const int t = ToPixel(std::min(y1, y2));
  const int b = ToPixel(std::max(y1, y2));
  PixelLine(l, t, r, t, colour);
  PixelLine(l, b, r, b, colour);
  PixelLine(l, t, l, b, colour);
  PixelLine(r, t, r, b, colour);
  update();
  return true;
}

void QtDrawingSurface::paintEvent(QPaintEvent *event) {
  QFrame::paintEvent(event); // the border, when there is one
  QPainter p(this);
  p.drawImage(contentsRect().topLeft(), Image());
}

void QtDrawingSurface::SyncImageSize() const {
  const QSize size = contentsRect().size().expandedTo(QSize(1, 1));
  if (size != m_image.size()) {
    EndPainting();
    QImage grown(size, QImage::Format_RGB32);
    grown.fill(ToQColor(m_backColour));
    QPainter(&grown).drawImage(0, 0, m_image);
    m_image = std::move(grown);
  }
}

const QImage &QtDrawingSurface::Image() const {
  SyncImageSize();
  EndPainting();
  return m_image;
}

QtDrawingSurface::~QtDrawingSurface() { EndPainting(); }

} // namespace tallyflow
