#pragma once

#include <QLabel>

namespace tallyflow {

// A label that works as a link: a Tab stop, pressed by a left click, Enter,
// Return or Space, with a focus frame drawn round its text while it has the
// focus. Assistive technology sees it as a link with a press action (see
// AccessibleRoles). Its text is shown as plain text.
class LinkLabel final : public QLabel {
  Q_OBJECT

public:
  explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

  // What a click, a key or a screen reader's press action does.
  void Activate() { emit activated(); }

signals:
  void activated();

protected:
  void keyPressEvent(QKeyEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
};

} // namespace tallyflow
