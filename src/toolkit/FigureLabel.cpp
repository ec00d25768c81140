#include "FigureLabel.h"

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
  } else if (event->type() == QEvent::PaletteChange) {
    UpdateOpaque(); // the parent's new face may be one it must paint itself
  }
  QLabel::changeEvent(event);
}

void FigureLabel::PaintParentFace(bool on) {
  m_paintParentFace = on;
  UpdateOpaque();
}

void FigureLabel::moveEvent(QMoveEvent *event) {
  QLabel::moveEvent(event);
  UpdateOpaque();
}

void FigureLabel::resizeEvent(QResizeEvent *event) {
  QLabel::resizeEvent(event);
  UpdateOpaque();
}

bool FigureLabel::OverPlainFace() const {
  const QWidget *parent = parentWidget();
  if (parent == nullptr || !parent->autoFillBackground() || autoFillBackground()) {
    return false;
  }
  const QBrush &face = parent->palette().brush(parent->backgroundRole());
  if (face.style() != Qt::SolidPattern || face.color().alpha() != 255) {
    return false; // a pattern or a see-through face is the parent's to paint
  }
  const auto *frame = qobject_cast<const QFrame *>(parent);
  if (!(frame != nullptr ? frame->contentsRect() : parent->rect()).contains(geometry())) {
    return false; // over the parent's border, or cut off by its edge
  }
  for (const QObject *child : parent->children()) {
    const auto *w = qobject_cast<const QWidget *>(child);
    if (w != nullptr && w != this && !w->isWindow() && !w->isHidden() &&
        w->geometry().intersects(geometry())) {
      return false;
    }
  }
  return true;
}

// Qt leaves an opaque widget's area out of its parent's repaint.
void FigureLabel::UpdateOpaque() {
  const bool opaque = m_paintParentFace && OverPlainFace();
  if (opaque != testAttribute(Qt::WA_OpaquePaintEvent)) {
    setAttribute(Qt::WA_OpaquePaintEvent, opaque);
  }
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

std::optional<FigureLabel::Placed> FigureLabel::Placement(const QRect &textRect) const {
  if (!LeftToRight() || !m_composed) {
    return std::nullopt; // QLabel's own line, or one laid out whole
  }
  return Placed{m_composed->glyphs, Origin(textRect, m_composed->advance)};
}

void FigureLabel::SetFigure(const QString &text) {
  if (text == QLabel::text()) {
    return;
  }
  if (!isVisible()) {
    setText(text); // nothing shows, nothing to repaint
    return;
  }
  const QRect textRect = TextRect(); // a new text moves no edge of the box
  const std::optional<Placed> before = Placement(textRect);
  const bool updatesOff = testAttribute(Qt::WA_UpdatesDisabled);
  setAttribute(Qt::WA_UpdatesDisabled, true); // QLabel repaints the whole line
  setText(text);
  setAttribute(Qt::WA_UpdatesDisabled, updatesOff);
  if (updatesOff) {
    return;
  }
  const std::optional<Placed> after = Placement(textRect);
  update(before && after ? Changed(*before, *after) : contentsRect());
}

// The glyphs both lines share at their ends, at the same places, keep their
// pixels; the rest, in either line, is inked anew. Fonts hint and smooth an
// outline up to a pixel past its box.
QRect FigureLabel::Changed(const Placed &a, const Placed &b) const {
  const QRawFont font = a.glyphs.rawFont();
  if (!(font == b.glyphs.rawFont())) {
    return contentsRect();
  }
  const QList<quint32> ga = a.glyphs.glyphIndexes();
  const QList<quint32> gb = b.glyphs.glyphIndexes();
  const QList<QPointF> pa = a.glyphs.positions();
  const QList<QPointF> pb = b.glyphs.positions();
  const auto same = [&](qsizetype i, qsizetype j) { return ga[i] == gb[j] && a.at + pa[i] == b.at + pb[j]; };
  const qsizetype shorter = std::min(ga.size(), gb.size());
  qsizetype head = 0;
  while (head < shorter && same(head, head)) {
    ++head;
  }
  qsizetype tail = 0;
  while (tail < shorter - head && same(ga.size() - 1 - tail, gb.size() - 1 - tail)) {
    ++tail;
  }
  QRectF ink;
  for (qsizetype i = head; i < ga.size() - tail; ++i) {
    ink |= font.boundingRect(ga[i]).translated(a.at + pa[i]);
  }
  for (qsizetype i = head; i < gb.size() - tail; ++i) {
    ink |= font.boundingRect(gb[i]).translated(b.at + pb[i]);
  }
  if (ink.isNull()) {
    return {}; // only blanks changed
  }
  const QRect contents = contentsRect();
  const QRect span = ink.toAlignedRect().adjusted(-2, 0, 2, 0);
  return QRect(span.left(), contents.top(), span.width(), contents.height()) & contents;
}

// The glyphs of a line that may ink the given rectangle (pixels, from the
// line's origin). No glyph inks further left of its pen position than the
// line is high, nor further right than twice that (its advance and its
// overhang). Pen positions of a composed line run left to right.
QGlyphRun FigureLabel::Within(const QGlyphRun &run, const QRect &rect) const {
  const QList<QPointF> positions = run.positions();
  const qreal reach = std::ceil(m_height);
  qsizetype from = 0;
  while (from < positions.size() && positions[from].x() + 2 * reach < rect.left()) {
    ++from;
  }
  qsizetype to = positions.size();
  while (to > from && positions[to - 1].x() - reach > rect.right() + 1) {
    --to;
  }
  if (from == 0 && to == positions.size()) {
    return run;
  }
  QGlyphRun part = run;
  part.setRawData(run.glyphIndexes().constData() + from, positions.constData() + from,
                  static_cast<int>(to - from));
  return part;
}

void FigureLabel::paintEvent(QPaintEvent *event) {
  QPainter p(this);
  if (testAttribute(Qt::WA_OpaquePaintEvent)) {
    const QWidget *parent = parentWidget(); // as the parent fills it
    p.fillRect(event->rect(), parent->palette().brush(parent->backgroundRole()));
  }
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
    p.drawGlyphRun(at, Within(m_composed->glyphs, event->rect().translated(-at.toPoint())));
  } else {
    line.draw(&p, at);
  }
}

} // namespace tallyflow
