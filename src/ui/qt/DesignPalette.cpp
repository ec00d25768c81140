#include "ui/qt/DesignPalette.h"

#include <QWidget>

namespace tallyflow {

void PaintText(QWidget *widget, DesignColour colour) {
  if (colour != kTextColour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, ToQColor(colour));
    widget->setPalette(p);
  }
}

QPalette DesignPalette() {
  const QColor face = kDesignFace;
  const QColor shadow = ToQColor(kShadowColour);
  QPalette p(face, face); // button and window; the bevel shades follow from them
  const struct {
    QPalette::ColorRole role;
    QColor colour;
  } roles[] = {
      {QPalette::WindowText, ToQColor(kTextColour)},
      {QPalette::Text, ToQColor(kTextColour)},
      {QPalette::ButtonText, ToQColor(kTextColour)},
      {QPalette::Base, ToQColor(kBoxColour)},
      {QPalette::AlternateBase, face},
      {QPalette::Light, Qt::white},
      {QPalette::Midlight, face.lighter(105)},
      {QPalette::Mid, shadow},
      {QPalette::Dark, shadow},
      {QPalette::Shadow, ToQColor(kDarkShadowColour)},
      {QPalette::BrightText, Qt::white},
      {QPalette::Highlight, ToQColor(kHighlightColour)},
      {QPalette::HighlightedText, Qt::white},
      {QPalette::ToolTipBase, ToQColor(kTipColour)},
      {QPalette::ToolTipText, ToQColor(kTextColour)},
      {QPalette::PlaceholderText, shadow},
      {QPalette::Link, ToQColor(kLinkColour)},
      {QPalette::LinkVisited, ToQColor(kVisitedLinkColour)},
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
