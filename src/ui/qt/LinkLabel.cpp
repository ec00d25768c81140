#include "ui/qt/LinkLabel.h"

#include "ui/qt/LinkCursor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace tallyflow {

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent) {
  setTextFormat(Qt::PlainText);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(LinkCursor());
}

void LinkLabel::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
  case Qt::Key_Space:
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
      Activate();
      return;
    }
    break;
  default:
    break;
  }
  QLabel::keyPressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event) {
  // Released over the link, as a button is pressed: dragging off cancels.
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    Activate();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent *event) {
  QLabel::paintEvent(event);
  if (hasFocus()) {
    QPainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.backgroundColor = palette().color(backgroundRole());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
  }
}

} // namespace tallyflow
