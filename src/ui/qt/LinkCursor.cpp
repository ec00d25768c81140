#include "ui/qt/LinkCursor.h"

#include "services/HandCursorShape.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace tallyflow {

QCursor LinkCursor() {
  QPolygon hand;
  for (const auto &[x, y] : kHandOutline) {
    hand << QPoint(x, y);
  }
  QPixmap image(32, 32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false); // two colours only
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawPolygon(hand);
  for (const auto &s : kHandStrokes) {
    p.drawLine(s[0], s[1], s[2], s[3]);
  }
  p.end();
  return QCursor(image, kHandHotX, kHandHotY);
}

} // namespace tallyflow
