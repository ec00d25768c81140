#pragma once

#include <QComboBox>

namespace tallyflow {

// The list of interfaces: a drop-down list whose entries are outside text.
// Each row of the open list is drawn inside its own rectangle (a name piled
// with combining marks would otherwise run up over the rows above), and the
// open list is never wider than the screen's available width: a longer
// entry is elided in the middle.
class ConnectionList final : public QComboBox {
public:
  explicit ConnectionList(QWidget *parent = nullptr);

  void showPopup() override;
};

} // namespace tallyflow
