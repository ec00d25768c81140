#include "ui/qt/GlyphComposer.h"

#include <QTextLayout>

namespace tallyflow {

namespace {

constexpr qsizetype kMaxWords = 512; // a run's labels use a few dozen words

} // namespace

QTextLine LayOutOneLine(QTextLayout &layout) {
  QTextOption option;
  option.setTextDirection(Qt::LeftToRight);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) {
    line.setLineWidth(0x01000000); // pixels: as good as unbounded
  }
  layout.endLayout();
  return line;
}

GlyphComposer::GlyphComposer(const QFont &font) : m_font(font), m_raw(QRawFont::fromFont(font)) {
  QTextLayout layout(QStringLiteral("0"), m_font);
  const QTextLine line = LayOutOneLine(layout);
  m_ascent = line.ascent();
  m_descent = line.descent();
}

GlyphComposer::Shaped GlyphComposer::Shape(const QString &text) const {
  QTextLayout layout(text, m_font);
  const QTextLine line = LayOutOneLine(layout);
  Shaped shaped;
  const QList<QGlyphRun> runs = layout.glyphRuns();
  if (runs.size() != 1 || runs.front().rawFont() != m_raw) {
    return shaped; // another font, or none
  }
  const QList<QPointF> positions = runs.front().positions();
  shaped.glyphs = runs.front().glyphIndexes();
  shaped.advance = line.horizontalAdvance();
  shaped.overhang = line.naturalTextWidth() - shaped.advance;
  shaped.ok = !positions.isEmpty() && positions.front().x() == 0;
  for (const QPointF &p : positions) {
    shaped.ok = shaped.ok && p.y() == positions.front().y();
    shaped.offsets.push_back(p.x());
  }
  return shaped;
}

const GlyphComposer::Shaped &GlyphComposer::Alone(QChar c) {
  auto it = m_chars.find(c.unicode());
  if (it == m_chars.end()) {
    Shaped s = Shape(QString(c));
    s.ok = s.ok && s.glyphs.size() == 1;
    it = m_chars.insert(c.unicode(), std::move(s));
  }
  return *it;
}

const GlyphComposer::Shaped &GlyphComposer::Word(const QString &word) {
  auto it = m_words.find(word);
  if (it == m_words.end()) {
    if (m_words.size() >= kMaxWords) {
      m_words.clear();
    }
    it = m_words.insert(word, Shape(word));
  }
  return *it;
}

// Two characters shape side by side when shaping them together gives their
// own glyphs at their own advances: no kerning, ligature or mark between them.
bool GlyphComposer::SideBySide(QChar a, QChar b) {
  const quint32 key = quint32{a.unicode()} << 16 | b.unicode();
  auto it = m_pairs.find(key);
  if (it == m_pairs.end()) {
    Alone(a); // both known before either is read: an insert may move the other
    Alone(b);
    const Shaped &first = Alone(a);
    const Shaped &second = Alone(b);
    bool side = first.ok && second.ok;
    if (side) {
      const QChar pair[] = {a, b};
      const Shaped both = Shape(QString(pair, 2));
      side = both.ok && both.glyphs == QList<quint32>{first.glyphs.front(), second.glyphs.front()} &&
             both.offsets.back() == first.advance && both.advance == first.advance + second.advance;
    }
    it = m_pairs.insert(key, side);
  }
  return *it;
}

// Printable, left to right or neutral, and not joined to its neighbours by
// the script: the characters a figure and its caption are made of.
bool GlyphComposer::Composable(QChar c) {
  if (c.isSurrogate() || !c.isPrint() || c.isMark()) {
    return false;
  }
  switch (c.direction()) {
  case QChar::DirL:
  case QChar::DirEN:
  case QChar::DirES:
  case QChar::DirET:
  case QChar::DirCS:
  case QChar::DirWS:
  case QChar::DirON:
    return c.script() == QChar::Script_Latin || c.script() == QChar::Script_Common;
  default:
    return false;
  }
}

std::optional<GlyphComposer::Line> GlyphComposer::Compose(const QString &text) {
  if (text.isEmpty()) {
    return std::nullopt;
  }
  for (QChar c : text) {
    if (!Composable(c)) {
      return std::nullopt;
    }
  }
  QList<quint32> glyphs;
  QList<QPointF> positions;
  glyphs.reserve(text.size());
  positions.reserve(text.size());
  qreal pen = 0;
  qreal overhang = 0; // of the last unit put
  auto put = [&](const Shaped &s) {
    overhang = s.overhang;
    for (qsizetype i = 0; i < s.glyphs.size(); ++i) {
      glyphs.push_back(s.glyphs[i]);
      positions.push_back(QPointF(pen + s.offsets[i], m_ascent));
    }
    pen += s.advance;
  };
  // Words (runs between spaces) go in whole or character by character; every
  // join between two of them, or a word and a space, is checked like a pair.
  qsizetype start = 0;
  while (start < text.size()) {
    if (start > 0 && !SideBySide(text[start - 1], text[start])) {
      return std::nullopt;
    }
    qsizetype end = start + 1;
    if (text[start] != u' ') {
      while (end < text.size() && text[end] != u' ') {
        ++end;
      }
    }
    bool apart = true;
    for (qsizetype i = start; i < end && apart; ++i) {
      apart = Alone(text[i]).ok && (i == start || SideBySide(text[i - 1], text[i]));
    }
    if (apart) {
      for (qsizetype i = start; i < end; ++i) {
        put(Alone(text[i]));
      }
    } else {
      const Shaped &word = Word(text.sliced(start, end - start));
      if (!word.ok) {
        return std::nullopt;
      }
      put(word);
    }
    start = end;
  }
  Line line;
  line.glyphs.setRawFont(m_raw);
  line.glyphs.setGlyphIndexes(glyphs);
  line.glyphs.setPositions(positions);
  line.advance = pen;
  line.width = pen + overhang;
  return line;
}

} // namespace tallyflow
