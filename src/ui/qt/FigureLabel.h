#pragma once

#include "ui/qt/GlyphComposer.h"
#include <QLabel>

#include <QTextLayout>

#include <optional>

namespace tallyflow {

// A label for a figure that changes on every tick: a QLabel in every way that
// shows (text, accessibility, buddies, tool tips, fonts and their fallbacks,
// frames, alignment, margins and indent) and draws the same pixels, but lays
// its text out once per change and uses that one layout for its size hints
// and every repaint; most texts are not even shaped but put together from
// glyphs shaped before. QLabel shapes the text again for each hint and each
// paint, which made up about a quarter of a busy window's time.
//
// What it supports: one line of plain text, without a mnemonic, word wrap,
// markup, pixmap or movie. Right-to-left text goes through QLabel's own
// drawing and hints. Set the text with setText, as on any QLabel.
class FigureLabel final : public QLabel {
public:
  FigureLabel(const QString &text, QWidget *parent);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

protected:
  void paintEvent(QPaintEvent *event) override;
  void changeEvent(QEvent *event) override;

private:
  bool LeftToRight() const;
  // Lays out text() unless that text is already laid out in this font.
  void Lay() const;
  // Where the text goes, as QLabel computes it: the contents less margin and
  // the indent a framed label gets.
  QRect TextRect() const;
  // Where the line of the given advance (pixels) starts, in r.
  QPointF Origin(const QRect &r, qreal advance) const;

  mutable std::optional<GlyphComposer> m_composer; // for the current font
  mutable std::optional<GlyphComposer::Line> m_composed;
  mutable QTextLayout m_layout; // what the composer refused
  mutable QString m_text;       // as laid out
  mutable bool m_laid = false;
  mutable bool m_leftToRight = true; // of the text as laid out
  mutable qreal m_width = 0;         // natural width of the line, pixels
  mutable qreal m_height = 0;        // ascent + descent, pixels
};

} // namespace tallyflow
