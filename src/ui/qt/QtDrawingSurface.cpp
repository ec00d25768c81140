#include "ui/qt/QtDrawingSurface.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace tallyflow {

QtDrawingSurface::QtDrawingSurface(QWidget *parent, std::int16_t borderStyle)
    : QFrame(parent), PixelSurface(0xFF000000u), m_borderStyle(borderStyle) {
  if (borderStyle == 1) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
  } else {
    setFrameStyle(QFrame::NoFrame);
  }
  // The image covers the whole drawable area: no background painting needed.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

float QtDrawingSurface::ScaleWidth() const {
  const auto w = static_cast<float>(contentsRect().width());
  return Scale() == ScaleMode::Pixels ? w : w * static_cast<float>(kTwipsPerPixel);
}

float QtDrawingSurface::ScaleHeight() const {
  const auto h = static_cast<float>(contentsRect().height());
  return Scale() == ScaleMode::Pixels ? h : h * static_cast<float>(kTwipsPerPixel);
}

// A new size keeps what was drawn where it still fits; the rest is the
// back colour.
void QtDrawingSurface::BeforeDrawing() {
  const QSize size = contentsRect().size().expandedTo(QSize(1, 1));
  if (size == QSize(Width(), Height())) {
    return;
  }
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.width()) * size.height(),
                                    PixelOf(BackColor()));
  const int columns = std::min(Width(), size.width());
  for (int y = 0; y < std::min(Height(), size.height()); ++y) {
    std::copy_n(m_pixels.begin() + static_cast<std::ptrdiff_t>(y) * Width(), columns,
                pixels.begin() + static_cast<std::ptrdiff_t>(y) * size.width());
  }
  m_pixels = std::move(pixels);
  Attach(m_pixels.data(), size.width(), size.height(), 96);
}

QImage QtDrawingSurface::Image() const {
  return QImage(reinterpret_cast<const uchar *>(m_pixels.data()), Width(), Height(), Width() * 4,
                QImage::Format_RGB32)
      .copy();
}

void QtDrawingSurface::paintEvent(QPaintEvent *event) {
  if (m_borderStyle != 0) {
    QFrame::paintEvent(event);
  }
  const QRect area = contentsRect();
  const QRect target = event->rect() & area;
  QPainter p(this);
  if (QSize(Width(), Height()) != area.size()) {
    p.fillRect(target, QColor::fromRgb(PixelOf(BackColor()))); // not drawn yet, or being resized
    return;
  }
  const QImage shown(reinterpret_cast<const uchar *>(m_pixels.data()), Width(), Height(), Width() * 4,
                     QImage::Format_RGB32);
  p.drawImage(target, shown, target.translated(-area.topLeft()));
}

} // namespace tallyflow
