#pragma once

class QAbstractButton;

namespace tallyflow {

// Makes Enter and Return press the button while it has the focus, as they do
// on Windows; Qt's buttons answer only Space outside a dialog.
void PressOnEnter(QAbstractButton *button);

} // namespace tallyflow
