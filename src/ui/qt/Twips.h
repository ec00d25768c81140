#pragma once

#include "graph/DrawingSurface.h" // kTwipsPerPixel
#include "services/ControlLayout.h"

#include <QColor>
#include <QFont>

class QWidget;
#include <QRect>

#include <cmath>

namespace tallyflow {

// Window positions and sizes are kept in twips (1/1440 inch). They map to
// Qt's device-independent pixels at kTwipsPerPixel (96 dpi), so a layout
// keeps its shape on high-DPI screens where Qt scales those pixels.

inline int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline double PixelsToTwips(int pixels) { return static_cast<double>(pixels) * kTwipsPerPixel; }
// A rectangle given in twips, in pixels.
inline QRect PixelRect(int left, int top, int width, int height) {
  return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

// A font by its Windows name and size. Where the machine lacks the family
// (Tahoma, Arial, Verdana, MS Sans Serif), Qt's substitution table, set up by
// InstallFontSubstitutes, picks a metric-compatible one. The size is in
// pixels (8.25 pt at 96 dpi is 11 px) so it does not depend on the screen's
// reported dpi.
QFont DesignFont(const char *family, double points, bool bold = false);
QFont DesignFont(const ControlFont &font);

// Gives a control its design colour: the background (and a button's face)
// filled in that colour.
void PaintBackground(QWidget *widget, const QColor &colour);

// Liberation Sans for Arial (the same metrics); DejaVu Sans Condensed for
// Tahoma and MS Sans Serif ("Top download speed:" at 11 px is 104 px wide in
// it, 103 in Tahoma, 116 in plain DejaVu Sans); DejaVu Sans for Verdana.
void InstallFontSubstitutes();

} // namespace tallyflow
