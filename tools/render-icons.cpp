// Writes the program icon as PNG files for the desktop's icon theme, drawn by
// the same code as the windows' icon: render-icons <dir> <size>...
#include "ui/qt/ProgramIcon.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv) {
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: render-icons <dir> <size>...\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  for (int i = 2; i < argc; ++i) {
    const int size = QString::fromLatin1(argv[i]).toInt();
    const QString path = dir.filePath(QStringLiteral("%1/com.example.Tallyflow.png").arg(size));
    if (size <= 0 || !QDir().mkpath(QFileInfo(path).absolutePath()) ||
        !tallyflow::ProgramIconPixmap(size).save(path)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
