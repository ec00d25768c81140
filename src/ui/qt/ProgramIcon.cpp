#include "ui/qt/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace tallyflow {

QPixmap ProgramIconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(size / 64.0, size / 64.0); // drawn on a 64 x 64 grid
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(24, 28, 36));
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
  p.setPen(QPen(QColor(0, 128, 128), 1.2));
  for (int i = 1; i < 4; ++i) {
    p.drawLine(QPointF(8, 8 + i * 12), QPointF(56, 8 + i * 12));
    p.drawLine(QPointF(8 + i * 12, 8), QPointF(8 + i * 12, 56));
  }
  QPainterPath line;
  line.moveTo(8, 48);
  line.lineTo(18, 44);
  line.lineTo(26, 30);
  line.lineTo(34, 38);
  line.lineTo(44, 16);
  line.lineTo(56, 24);
  p.setPen(QPen(QColor(0, 255, 0), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(line);
  return pixmap;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addPixmap(ProgramIconPixmap(size));
  }
  return icon;
}

} // namespace tallyflow
