#include "ui/qt/EnterKey.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace tallyflow {
namespace {

class EnterPresses final : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent *>(event)->key();
      auto *button = qobject_cast<QAbstractButton *>(watched);
      if ((key == Qt::Key_Return || key == Qt::Key_Enter) && button != nullptr) {
        button->animateClick();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

} // namespace

void PressOnEnter(QAbstractButton *button) { button->installEventFilter(new EnterPresses(button)); }

} // namespace tallyflow
