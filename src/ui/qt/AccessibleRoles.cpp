#include "ui/qt/AccessibleRoles.h"

#include "ui/qt/ConnectionList.h"
#include "ui/qt/LinkLabel.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QVariant>

namespace tallyflow {
namespace {

constexpr const char *kRoleProperty = "tallyflowAccessibleRole";

// A LinkLabel as a link named by its text, described by its tool tip (the
// address), with the press action a screen reader offers as "activate".
class AccessibleLink final : public QAccessibleWidget {
public:
  explicit AccessibleLink(LinkLabel *link) : QAccessibleWidget(link, QAccessible::Link) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
      return Link()->text();
    }
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override {
    return QStringList{pressAction()} << QAccessibleWidget::actionNames();
  }
  void doAction(const QString &name) override {
    if (name == pressAction()) {
      Link()->Activate();
    } else {
      QAccessibleWidget::doAction(name);
    }
  }

private:
  LinkLabel *Link() const { return static_cast<LinkLabel *>(widget()); }
};

// The list of interfaces as a combo box whose text is its selected entry:
// Qt's own exposes the entry only as its name and as a selection interface
// that Qt 6.4's AT-SPI bridge does not carry, so a screen reader finds no
// value to say. The text is read only; the open list is its one child.
class AccessibleConnectionList final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
  explicit AccessibleConnectionList(ConnectionList *list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

  void *interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface *>(this)
                                           : QAccessibleWidget::interface_cast(t);
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Value ? Entry() : QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = List()->view()->isVisible();
    return s;
  }
  int childCount() const override { return 1; }
  QAccessibleInterface *child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(List()->view()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface *child) const override {
    return child != nullptr && child->object() == List()->view() ? 0 : -1;
  }
  QStringList actionNames() const override {
    return QStringList{showMenuAction(), pressAction()} << QAccessibleWidget::actionNames();
  }
  void doAction(const QString &name) override {
    if (name == showMenuAction() || name == pressAction()) {
      List()->isVisible() && List()->view()->isVisible() ? List()->hidePopup() : List()->showPopup();
    } else {
      QAccessibleWidget::doAction(name);
    }
  }

  // QAccessibleTextInterface: the entry, read only, with no caret or selection.
  void selection(int, int *start, int *end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override { return Entry().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(Entry().size()); }
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint &) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int *start, int *end) const override {
    *start = *end = offset;
    return {};
  }

private:
  ConnectionList *List() const { return static_cast<ConnectionList *>(widget()); }
  QString Entry() const { return List()->currentText(); }
};

QAccessibleInterface *Factory(const QString & /*className*/, QObject *object) {
  auto *widget = qobject_cast<QWidget *>(object);
  if (widget == nullptr) {
    return nullptr;
  }
  if (auto *link = qobject_cast<LinkLabel *>(widget)) {
    return new AccessibleLink(link);
  }
  if (auto *list = qobject_cast<ConnectionList *>(widget)) {
    return new AccessibleConnectionList(list);
  }
  const QVariant role = widget->property(kRoleProperty);
  if (!role.isValid()) {
    return nullptr;
  }
  switch (static_cast<AccessibleRole>(role.toInt())) {
  case AccessibleRole::Window:
    return new QAccessibleWidget(widget, QAccessible::Window);
  case AccessibleRole::Panel:
    return new QAccessibleWidget(widget, QAccessible::Pane);
  case AccessibleRole::Picture:
    return new QAccessibleWidget(widget, QAccessible::Graphic);
  }
  return nullptr;
}

} // namespace

void SetAccessibleRole(QWidget &widget, AccessibleRole role) {
  widget.setProperty(kRoleProperty, static_cast<int>(role));
}

void InstallAccessibleRoles() { QAccessible::installFactory(Factory); }

} // namespace tallyflow
