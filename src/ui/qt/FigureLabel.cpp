#include "ui/qt/FigureLabel.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace tallyflow {

FigureLabel::FigureLabel(const QString &text, QWidget *parent) : QLabel(text, parent) {
  setTextFormat(Qt::PlainText); // a figure is characters, never markup
}

void FigureLabel::changeEvent(QEvent *event) {
  if (event->type() == QEvent::FontChange) {
    m_laid = false;
    m_composer.reset();
  }
  QLabel::changeEvent(event);
}

// QLabel::setText is not virtual, so the text is compared instead of
// announced: a compare of a dozen characters, against a shaping.
void FigureLabel::Lay() const {
  const QString shown = text();
  if (m_laid && m_text == shown) {
    return;
  }
  m_text = shown;
  m_laid = true;
  m_leftToRight = !shown.isRightToLeft();
  if (!m_leftToRight) {
    m_composed.reset(); // QLabel lays out and draws such a line itself
    m_layout.clearLayout();
    return;
  }
  // In the widget's font at its device's resolution, as QPainter::drawText.
  const QFont resolved(font(), this);
  if (!m_composer) {
    m_composer.emplace(resolved);
  }
  m_composed = m_composer->Compose(shown);
  m_layout.clearLayout();
  if (m_composed) {
    m_width = m_composed->width;
    m_height = m_composer->Ascent() + m_composer->Descent();
    return;
  }
  m_layout.setFont(resolved);
  m_layout.setText(shown);
  m_layout.setCacheEnabled(true); // keep the glyphs for the repaints
  const QTextLine line = LayOutOneLine(m_layout);
  m_width = line.isValid() ? line.naturalTextWidth() : 0;
  m_height = line.isValid() ? line.ascent() + line.descent() : 0;
}

QRect FigureLabel::TextRect() const {
  QRectF r = contentsRect();
  r.adjust(margin(), margin(), -margin(), -margin());
  int m = indent();
  if (m < 0 && frameWidth() != 0) {
    m = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin();
  }
  if (m > 0) {
    const Qt::Alignment a = alignment();
    if (a & Qt::AlignLeft) {
      r.setLeft(r.left() + m);
    }
    if (a & Qt::AlignRight) {
      r.setRight(r.right() - m);
    }
    if (a & Qt::AlignTop) {
      r.setTop(r.top() + m);
    }
    if (a & Qt::AlignBottom) {
      r.setBottom(r.bottom() - m);
    }
  }
  return r.toAlignedRect();
}

// Right-to-left text mirrors the alignment and the whole line: QLabel keeps
// doing that itself.
bool FigureLabel::LeftToRight() const {
  Lay();
  return m_leftToRight;
}

QSize FigureLabel::sizeHint() const {
  if (!LeftToRight()) {
    return QLabel::sizeHint();
  }
  int hextra = 2 * margin();
  int vextra = hextra;
  int m = indent();
  if (m < 0 && frameWidth() != 0) {
    m = fontMetrics().horizontalAdvance(QLatin1Char('x')) - margin() * 2;
  }
  const Qt::Alignment a = alignment();
  if (m > 0) {
    hextra += (a & (Qt::AlignLeft | Qt::AlignRight)) ? m : 0;
    vextra += (a & (Qt::AlignTop | Qt::AlignBottom)) ? m : 0;
  }
  const QMargins cm = contentsMargins();
  const QSize text(static_cast<int>(std::ceil(m_width)), static_cast<int>(std::ceil(m_height)));
  return (text + QSize(hextra + cm.left() + cm.right(), vextra + cm.top() + cm.bottom()))
      .expandedTo(minimumSize());
}

// One line without wrapping is as small as it is large.
QSize FigureLabel::minimumSizeHint() const { return LeftToRight() ? sizeHint() : QLabel::minimumSizeHint(); }

// Placed as QPainter::drawText(rect, alignment, text) places one line.
QPointF FigureLabel::Origin(const QRect &r, qreal advance) const {
  const Qt::Alignment a = alignment();
  QPointF at(r.x(), r.y());
  if (a & Qt::AlignRight) {
    at.rx() += r.width() - advance;
  } else if (a & Qt::AlignHCenter) {
    at.rx() += (r.width() - advance) / 2;
  }
  if (a & Qt::AlignBottom) {
    at.ry() += r.height() - m_height;
  } else if (a & Qt::AlignVCenter) {
    at.ry() += (r.height() - m_height) / 2;
  }
  return at;
}

void FigureLabel::paintEvent(QPaintEvent *event) {
  QPainter p(this);
  if (!LeftToRight()) {
    p.end();
    QLabel::paintEvent(event);
    return;
  }
  // The frame as QLabel draws it, on every repaint: at a fractional scale
  // the device pixels of a repaint inside the contents reach into the border.
  drawFrame(&p);
  const QPalette &palette = this->palette(); // in the colour group of the widget's state
  const QRect r = TextRect();
  const QTextLine line = m_layout.lineAt(0);
  if (!m_composed && !line.isValid()) {
    return;
  }
  const QPointF at = Origin(r, m_composed ? m_composed->advance : line.horizontalAdvance());
  p.setPen(QPen(palette.brush(foregroundRole()), p.pen().widthF()));
  if (m_width > r.width() || m_height > r.height()) {
    p.setClipRect(r, Qt::IntersectClip); // a figure wider than its box is cut at the box
  }
  if (m_composed) {
    p.drawGlyphRun(at, m_composed->glyphs);
  } else {
    line.draw(&p, at);
  }
}

} // namespace tallyflow
