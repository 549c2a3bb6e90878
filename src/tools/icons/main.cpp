// filtaro-icons: writes the program icon, drawn by the program's own artwork
// code, as the PNG files of a freedesktop icon theme ("hicolor"), for the
// installation. Usage: filtaro-icons DIR  (DIR/hicolor/NxN/apps/filtaro.png)

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <iostream>

#include "res/Icons.h"
#include "res/ResourceIds.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        std::cerr << "Aufruf: filtaro-icons VERZEICHNIS\n";
        return 2;
    }
    const QIcon icon = resourceIcon(ProgramIconId);
    for (int size : {16, 24, 32, 48, 64}) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(args[1]).arg(size);
        const QString file = dir + QStringLiteral("/filtaro.png");
        const QImage image = icon.pixmap(QSize(size, size))
                                 .toImage()
                                 .scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (!QDir().mkpath(dir) || !image.save(file, "PNG")) {
            std::cerr << "filtaro-icons: " << file.toStdString()
                      << " konnte nicht geschrieben werden.\n";
            return 1;
        }
    }
    return 0;
}
