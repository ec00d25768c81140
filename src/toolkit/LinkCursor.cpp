#include "LinkCursor.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace tallyflow {

QCursor LinkCursor() {
  // The outline, clockwise from the fingertip: the raised index finger, the
  // knuckles of the three folded fingers, the wrist and the thumb (pixels).
  static const QPolygon hand({{4, 0},   {6, 0},   {7, 1},   {7, 10},  {8, 9},   {10, 9},  {11, 10}, {12, 10},
                              {14, 10}, {15, 11}, {16, 11}, {18, 11}, {19, 12}, {19, 21}, {17, 25}, {17, 28},
                              {7, 28},  {7, 25},  {1, 17},  {1, 15},  {2, 14},  {3, 14},  {3, 1}});
  QPixmap image(32, 32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false); // two colours only
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawPolygon(hand);
  p.drawLine(11, 11, 11, 15); // the folded fingers apart
  p.drawLine(15, 12, 15, 16);
  p.end();
  return QCursor(image, 5, 0);
}

} // namespace tallyflow
