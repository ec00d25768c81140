#pragma once

#include "GlyphComposer.h"
#include <QLabel>

#include <QTextLayout>

#include <optional>

namespace tallyflow {

// A one-line label for a figure that changes on every tick. It is a QLabel in
// every way that shows (text, accessibility, buddies, tool tips, fonts and
// their fallbacks) and draws the same pixels, but lays its text out once per
// change and uses that one layout for its size hints and every repaint; most
// texts are not even shaped but put together from glyphs shaped before.
// QLabel shapes the text again for each hint and each paint, which made up
// about a quarter of a busy window's time.
class FigureLabel final : public QLabel {
public:
  FigureLabel(const QString &text, QWidget *parent);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  // A transparent figure over its parent's plain face paints that face below
  // itself while nothing else lies there (it is inside the parent's frame and
  // over no other child): its changes then repaint the figure alone, not the
  // parent and its border as well. Anywhere else it stays transparent.
  void PaintParentFace(bool on);

  // setText, but repaints only the stretch of the line that changed.
  void SetFigure(const QString &text);

protected:
  void paintEvent(QPaintEvent *event) override;
  void changeEvent(QEvent *event) override;
  void moveEvent(QMoveEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;

private:
  bool LeftToRight() const;
  // Whether the parent shows only its own filled background below us.
  bool OverPlainFace() const;
  void UpdateOpaque();
  // Lays out text() unless that text is already laid out in this font.
  void Lay() const;
  // Where the text goes, as QLabel computes it: the contents less margin and
  // the indent a framed label gets.
  QRect TextRect() const;
  // Where the line of the given advance (pixels) starts, in r.
  QPointF Origin(const QRect &r, qreal advance) const;
  struct Placed {
    QGlyphRun glyphs;
    QPointF at; // the line's top left in the widget, pixels
  };
  // The composed line where it is drawn in textRect; none for a line laid
  // out whole.
  std::optional<Placed> Placement(const QRect &textRect) const;
  QRect Changed(const Placed &a, const Placed &b) const;
  QGlyphRun Within(const QGlyphRun &run, const QRect &rect) const;

  mutable std::optional<GlyphComposer> m_composer; // for the current font
  mutable std::optional<GlyphComposer::Line> m_composed;
  mutable QTextLayout m_layout; // what the composer refused
  mutable QString m_text;       // as laid out
  mutable bool m_laid = false;
  mutable bool m_leftToRight = true; // of the text as laid out
  mutable qreal m_width = 0;         // natural width of the line, pixels
  mutable qreal m_height = 0;        // ascent + descent, pixels
  bool m_paintParentFace = false;
};

} // namespace tallyflow
