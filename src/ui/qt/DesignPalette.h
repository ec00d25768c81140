#pragma once

#include "services/ControlLayout.h"

#include <QPalette>
#include <QWidget>

namespace tallyflow {

// A design colour (0x00BBGGRR) as Qt's.
inline QColor ToQColor(DesignColour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The faces of windows, frames and buttons.
inline const QColor kDesignFace = ToQColor(kFaceColour);

// Every colour role of the windows as designed: beige faces, white value
// boxes, black text, a blue selection. The layouts are fixed in pixels and
// drawn for these colours, so a window takes all of them and none from the
// desktop's colour scheme: white text on white boxes under a dark theme
// would hide every figure.
QPalette DesignPalette();

// A control's own text colour, where its look differs from black.
void PaintText(QWidget *widget, DesignColour colour);

} // namespace tallyflow
