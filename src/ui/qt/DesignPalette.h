#pragma once

#include <QPalette>

namespace tallyflow {

// The faces of windows, frames and buttons: R 236, G 233, B 216.
inline const QColor kDesignFace(236, 233, 216);

// Every colour role of the windows as designed: beige faces (236, 233, 216),
// white value boxes, black text, a blue selection. The layouts are fixed in
// pixels and drawn for these colours, so a window takes all of them and
// none from the desktop's colour scheme: white text on white boxes under a
// dark theme would hide every figure.
QPalette DesignPalette();

} // namespace tallyflow
