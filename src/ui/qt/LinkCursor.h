#pragma once

#include <QCursor>

namespace tallyflow {

// The link labels' pointing hand: 32 x 32 pixels, black on white, its hot
// spot at (5, 0), the tip of the index finger. Our own drawing, so it looks
// the same on every desktop.
QCursor LinkCursor();

} // namespace tallyflow
