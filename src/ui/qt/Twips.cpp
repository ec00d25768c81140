#include "ui/qt/Twips.h"

#include <QFontDatabase>
#include <QStringList>
#include <QWidget>

namespace tallyflow {

QFont DesignFont(const char *family, double points, bool bold) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
  font.setBold(bold);
  return font;
}

QFont DesignFont(const ControlFont &font) { return DesignFont(font.family, font.points, font.bold); }

void PaintBackground(QWidget *widget, const QColor &colour) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Window, colour);
  p.setColor(QPalette::Button, colour);
  p.setColor(QPalette::Base, colour);
  widget->setPalette(p);
  widget->setAutoFillBackground(true);
}

void InstallFontSubstitutes() {
  const struct {
    const char *windows;
    const char *substitute;
  } table[] = {{"Arial", "Liberation Sans"},
               {"Tahoma", "DejaVu Sans Condensed"},
               {"Verdana", "DejaVu Sans"},
               {"MS Sans Serif", "DejaVu Sans Condensed"}};
  const QStringList families = QFontDatabase::families();
  for (const auto &row : table) {
    if (!families.contains(QString::fromLatin1(row.windows), Qt::CaseInsensitive)) {
      QFont::insertSubstitutions(QString::fromLatin1(row.windows),
                                 {QString::fromLatin1(row.substitute), QStringLiteral("DejaVu Sans")});
    }
  }
}

} // namespace tallyflow
