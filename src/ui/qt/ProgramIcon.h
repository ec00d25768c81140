#pragma once

#include <QIcon>

namespace tallyflow {

// The program's icon, drawn in code so that every size is sharp: a dark tile
// with a green traffic line over a teal grid.
QIcon ProgramIcon();
QPixmap ProgramIconPixmap(int size);

} // namespace tallyflow
