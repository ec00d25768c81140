#include "ui/qt/QtDrawingSurface.h"

#include "graph/PixelLine.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace tallyflow {
namespace {

// A colour (0x00BBGGRR) as an opaque RGB32 pixel.
constexpr QRgb ToRgb(Colour colour) {
  return 0xFF000000u | (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}
} // namespace

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

QtDrawingSurface::~QtDrawingSurface() = default;

QColor QtDrawingSurface::ToQColor(Colour colour) { return QColor::fromRgb(ToRgb(colour)); }

bool QtDrawingSurface::AutoRedraw(bool value) {
  m_autoRedraw = value;
  return true;
}

// Everything written down before a Cls would be erased by it: dropped.
bool QtDrawingSurface::Cls() {
  SyncImageSize();
  m_pending.clear();
  m_pendingCls = true;
  m_pendingBack = ToRgb(m_backColour);
  Changed();
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
  return m_scale == ScaleMode::Pixels ? w : w * static_cast<float>(kTwipsPerPixel);
}

float QtDrawingSurface::ScaleHeight() const {
  const auto h = static_cast<float>(contentsRect().height());
  return m_scale == ScaleMode::Pixels ? h : h * static_cast<float>(kTwipsPerPixel);
}

int QtDrawingSurface::ToPixel(float v) const { return ToPixelCoordinate(v, m_scale); }

void QtDrawingSurface::Record(int x1, int y1, int x2, int y2, Colour colour) {
  SyncImageSize();
  m_pending.push_back(PixelOp{x1, y1, x2, y2, ToRgb(colour)});
}

template <typename Span>
void QtDrawingSurface::VisitLine(const PixelOp &op, int width, int height, Span &&span) {
  VisitPixelLine(op.x1, op.y1, op.x2, op.y2, width, height, std::forward<Span>(span));
}

// Writes straight into the image's scan lines.
void QtDrawingSurface::RasterLine(const PixelOp &op) const {
  uchar *bits = m_image.bits(); // one detach check for the whole line
  const qsizetype stride = m_image.bytesPerLine();
  VisitLine(op, m_image.width(), m_image.height(), [&](int y, int left, int right) {
    auto *line = reinterpret_cast<QRgb *>(bits + y * stride);
    std::fill(line + left, line + right + 1, op.pixel);
  });
}

// Two lists of lines paint the same picture when, line for line, each pair is
// the same or puts the same colour into the same pixels: every pixel is then
// written the same values in the same order. A line's end far outside the
// image changes the operation but, as often, not one pixel inside it.
bool QtDrawingSurface::SamePixels(const std::vector<PixelOp> &a, const std::vector<PixelOp> &b) const {
  if (a.size() != b.size()) {
    return false;
  }
  using Run = std::array<int, 3>; // y, left, right
  std::vector<Run> runsA;
  std::vector<Run> runsB;
  auto runsOf = [this](const PixelOp &op, std::vector<Run> &runs) {
    runs.clear();
    VisitLine(op, m_image.width(), m_image.height(), [&runs](int y, int left, int right) {
      runs.push_back({y, left, right});
    });
    std::sort(runs.begin(), runs.end()); // a line drawn the other way round puts the same pixels
  };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) {
      continue;
    }
    if (a[i].pixel != b[i].pixel) {
      return false;
    }
    runsOf(a[i], runsA);
    runsOf(b[i], runsB);
    if (runsA != runsB) {
      return false;
    }
  }
  return true;
}

bool QtDrawingSurface::Line(float x1, float y1, float x2, float y2, Colour colour) {
  Record(ToPixel(x1), ToPixel(y1), ToPixel(x2), ToPixel(y2), colour);
  Changed();
  return true;
}

bool QtDrawingSurface::Rectangle(float x1, float y1, float x2, float y2, Colour colour) {
  const int l = ToPixel(std::min(x1, x2));
  const int r = ToPixel(std::max(x1, x2));
  const int t = ToPixel(std::min(y1, y2));
  const int b = ToPixel(std::max(y1, y2));
  Record(l, t, r, t, colour);
  Record(l, b, r, b, colour);
  Record(l, t, l, b, colour);
  Record(r, t, r, b, colour);
  Changed();
  return true;
}

// The first drawing of a turn asks for one Present once control is back in
// the event loop; a destroyed surface drops the request with itself.
void QtDrawingSurface::Changed() {
  if (!m_presentQueued) {
    m_presentQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (m_presentQueued) {
            Present();
          }
        },
        Qt::QueuedConnection);
  }
}

int QtDrawingSurface::Present() {
  m_presentQueued = false;
  Rasterise();
  if (!m_imageChanged && m_shown.size() == m_image.size()) {
    return 0; // the same picture as last time: not even compared
  }
  m_imageChanged = false;
  const QRect area = contentsRect();
  if (m_shown.size() != m_image.size()) {
    m_shown = m_image.copy(); // a copy of its own: drawing must not detach
    update(area);
    return m_shown.height();
  }
  const auto rowBytes = static_cast<std::size_t>(m_image.width()) * sizeof(QRgb);
  int top = -1;
  int bottom = -1;
  for (int y = 0; y < m_image.height(); ++y) {
    if (std::memcmp(m_image.constScanLine(y), m_shown.constScanLine(y), rowBytes) != 0) {
      top = top < 0 ? y : top;
      bottom = y;
    }
  }
  if (top < 0) {
    return 0; // the same picture: nothing to repaint
  }
  for (int y = top; y <= bottom; ++y) {
    std::memcpy(m_shown.scanLine(y), m_image.constScanLine(y), rowBytes);
  }
  update(area.left(), area.top() + top, area.width(), bottom - top + 1);
  return bottom - top + 1;
}

void QtDrawingSurface::paintEvent(QPaintEvent *event) {
  if (m_borderStyle != 0) {
    QFrame::paintEvent(event);
  }
  const QRect area = contentsRect();
  const QRect target = event->rect() & area;
  QPainter p(this);
  if (m_shown.size() != area.size()) {
    p.fillRect(target, ToQColor(m_backColour)); // not drawn yet, or being resized
  }
  p.drawImage(target, m_shown, target.translated(-area.topLeft()));
}

void QtDrawingSurface::SyncImageSize() const {
  // The margins are the border's and never change, so the drawable area
  // follows the widget's size; contentsRect is worked out only when that
  // changed (it costs more than a drawing operation).
  if (size() == m_widgetSize && !m_image.isNull()) {
    return;
  }
  m_widgetSize = size();
  const QSize size = contentsRect().size().expandedTo(QSize(1, 1));
  if (size != m_image.size()) {
    ApplyPending(); // at the size they were drawn at
    QImage grown(size, QImage::Format_RGB32);
    grown.fill(ToQColor(m_backColour));
    QPainter(&grown).drawImage(0, 0, m_image);
    m_image = std::move(grown);
    m_frameKnown = false; // cut or padded: no longer what its operations make
    m_imageChanged = true;
  }
}

void QtDrawingSurface::ApplyPending() const {
  if (!m_pendingCls && m_pending.empty()) {
    return;
  }
  if (m_pendingCls) {
    m_image.fill(m_pendingBack);
    m_frame.clear();
    m_frameBack = m_pendingBack;
    m_frameKnown = true;
  }
  for (const PixelOp &op : m_pending) {
    RasterLine(op);
  }
  // A picture drawn on without a Cls keeps growing; past a bound it is no
  // longer worth comparing with.
  constexpr std::size_t kFrameKept = 4096;
  if (m_frameKnown && m_frame.size() + m_pending.size() <= kFrameKept) {
    m_frame.insert(m_frame.end(), m_pending.begin(), m_pending.end());
  } else {
    m_frameKnown = false;
    m_frame.clear();
  }
  m_pending.clear();
  m_pendingCls = false;
  m_imageChanged = true;
  ++m_rasterisations;
}

void QtDrawingSurface::Rasterise() const {
  SyncImageSize();
  if (m_pendingCls && m_frameKnown && m_pendingBack == m_frameBack && SamePixels(m_pending, m_frame)) {
    m_pending.clear(); // the image holds exactly this picture already
    m_pendingCls = false;
    return;
  }
  ApplyPending();
}

const QImage &QtDrawingSurface::Image() const {
  Rasterise();
  return m_image;
}

} // namespace tallyflow
