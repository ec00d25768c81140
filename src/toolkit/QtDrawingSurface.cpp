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

bool QtDrawingSurface::Line(float x1, float y1, float x2, float y2, Colour colour) {
  SyncImageSize();
  QPainter p(&m_image);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(ToQColor(colour), 0)); // cosmetic: one pixel at any scale
  p.drawLine(QPoint(ToPixel(x1), ToPixel(y1)), QPoint(ToPixel(x2), ToPixel(y2)));
  update();
  return true;
}

bool QtDrawingSurface::Rectangle(float x1, float y1, float x2, float y2, Colour colour) {
  const int l = ToPixel(std::min(x1, x2));
  const int r = ToPixel(std::max(x1, x2));
  const int t = ToPixel(std::min(y1, y2));
  const int b = ToPixel(std::max(y1, y2));
  SyncImageSize();
  QPainter p(&m_image);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(ToQColor(colour), 0));
  p.drawLine(l, t, r, t);
  p.drawLine(l, b, r, b);
  p.drawLine(l, t, l, b);
  p.drawLine(r, t, r, b);
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
    QImage grown(size, QImage::Format_RGB32);
    grown.fill(ToQColor(m_backColour));
    QPainter(&grown).drawImage(0, 0, m_image);
    m_image = std::move(grown);
  }
}

const QImage &QtDrawingSurface::Image() const {
  SyncImageSize();
  return m_image;
}

} // namespace tallyflow
