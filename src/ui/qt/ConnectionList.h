#pragma once

#include <QComboBox>

namespace tallyflow {

// The list of interfaces: a drop-down list whose entries are outside text.
// Each row of the open list is drawn inside its own rectangle (a name piled
// with combining marks would otherwise run up over the rows above), and the
// open list is never wider than the screen's available width: a longer
// entry is elided in the middle.
//
// For assistive technology the list keeps its selection on the entry shown,
// and moving to another entry while the box has the focus reports the focus
// on that entry, so a screen reader says it (AccessibleRoles gives the box
// itself a text).
class ConnectionList final : public QComboBox {
  Q_OBJECT

public:
  explicit ConnectionList(QWidget *parent = nullptr);

  void showPopup() override;

private:
  void ShowEntryAsSelected(int row);
};

} // namespace tallyflow
