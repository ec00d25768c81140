#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>

#include <optional>

class QTextLayout;
class QTextLine;

namespace tallyflow {

// Lays the layout's text out as one line, left to right, without wrapping,
// as QPainter::drawText lays out a line of a label; returns that line.
QTextLine LayOutOneLine(QTextLayout &layout);

// Puts one line of text together from glyphs shaped before, so that a figure
// that changes on every tick is not shaped again each time. A character is
// shaped alone once; a word that does not shape as its characters side by
// side (a kerned "Av") is shaped whole once; and each two neighbours are
// checked once to shape exactly as the two side by side. Whatever it cannot
// vouch for (a character from a fallback font, right-to-left text, marks,
// controls) is refused: the caller then lays the text out itself.
class GlyphComposer {
public:
  struct Line {
    QGlyphRun glyphs;  // pen positions from the line's left end; y is the baseline
    qreal advance = 0; // pixels: where the next character would go
    qreal width = 0;   // pixels: what QTextLine::naturalTextWidth gives, overhang included
  };

  // font: resolved for the device the text is drawn on.
  explicit GlyphComposer(const QFont &font);

  std::optional<Line> Compose(const QString &text);
  qreal Ascent() const { return m_ascent; }   // pixels
  qreal Descent() const { return m_descent; } // pixels

private:
  struct Shaped {
    QList<quint32> glyphs;
    QList<qreal> offsets; // each glyph's pen position from the first one's, pixels
    qreal advance = 0;    // pixels
    qreal overhang = 0;   // pixels the last glyph reaches past the advance
    bool ok = false;      // one run in the main font, every glyph on the baseline
  };

  Shaped Shape(const QString &text) const;
  const Shaped &Alone(QChar c);
  const Shaped &Word(const QString &word);
  bool SideBySide(QChar a, QChar b);
  static bool Composable(QChar c);

  QFont m_font;
  QRawFont m_raw;
  qreal m_ascent = 0;
  qreal m_descent = 0;
  QHash<char16_t, Shaped> m_chars;
  QHash<QString, Shaped> m_words; // words shaped whole; emptied when it grows past a few hundred
  QHash<quint32, bool> m_pairs;   // (first << 16 | second) -> shapes side by side
};

} // namespace tallyflow
