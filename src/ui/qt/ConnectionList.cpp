#include "ui/qt/ConnectionList.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>

#include <algorithm>

namespace tallyflow {
namespace {

class ClippedRowDelegate final : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
    painter->save();
    painter->setClipRect(option.rect, Qt::IntersectClip);
    QStyledItemDelegate::paint(painter, option, index);
    painter->restore();
  }
};

} // namespace

ConnectionList::ConnectionList(QWidget *parent) : QComboBox(parent) {
  setItemDelegate(new ClippedRowDelegate(this));
  view()->setTextElideMode(Qt::ElideMiddle);
  connect(this, &QComboBox::currentIndexChanged, this, &ConnectionList::ShowEntryAsSelected);
}

void ConnectionList::ShowEntryAsSelected(int row) {
  if (row < 0) {
    return;
  }
  view()->selectionModel()->setCurrentIndex(model()->index(row, modelColumn()),
                                            QItemSelectionModel::ClearAndSelect);
  if (hasFocus() && QAccessible::isActive()) {
    QAccessibleEvent focus(view(), QAccessible::Focus);
    focus.setChild(row);
    QAccessible::updateAccessibility(&focus);
  }
}

void ConnectionList::showPopup() {
  QComboBox::showPopup();
  // Qt sizes the open list to its widest entry; keep it on the screen.
  QWidget *popup = view()->window();
  const QScreen *where = screen();
  if (popup == nullptr || where == nullptr) {
    return;
  }
  const QRect available = where->availableGeometry();
  QRect r = popup->geometry();
  if (r.width() > available.width()) {
    r.setWidth(available.width());
  }
  r.moveLeft(std::clamp(r.left(), available.left(), available.right() - r.width() + 1));
  if (r != popup->geometry()) {
    popup->setGeometry(r);
  }
}

} // namespace tallyflow
