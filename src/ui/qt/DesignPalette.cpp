#include "ui/qt/DesignPalette.h"

namespace tallyflow {

QPalette DesignPalette() {
  const QColor face = kDesignFace;
  const QColor shadow(172, 168, 153);
  QPalette p(face, face); // button and window; the bevel shades follow from them
  const struct {
    QPalette::ColorRole role;
    QColor colour;
  } roles[] = {
      {QPalette::WindowText, Qt::black},
      {QPalette::Text, Qt::black},
      {QPalette::ButtonText, Qt::black},
      {QPalette::Base, Qt::white},
      {QPalette::AlternateBase, face},
      {QPalette::Light, Qt::white},
      {QPalette::Midlight, face.lighter(105)},
      {QPalette::Mid, shadow},
      {QPalette::Dark, shadow},
      {QPalette::Shadow, QColor(113, 111, 100)},
      {QPalette::BrightText, Qt::white},
      {QPalette::Highlight, QColor(49, 106, 197)},
      {QPalette::HighlightedText, Qt::white},
      {QPalette::ToolTipBase, QColor(255, 255, 225)},
      {QPalette::ToolTipText, Qt::black},
      {QPalette::PlaceholderText, shadow},
      {QPalette::Link, QColor(0, 0, 192)},
      {QPalette::LinkVisited, QColor(128, 0, 128)},
  };
  for (const auto &r : roles) {
    p.setColor(QPalette::All, r.role, r.colour);
  }
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, shadow);
  }
  return p;
}

} // namespace tallyflow
