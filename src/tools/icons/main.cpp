// filtaro-icons: writes the program icon, drawn by the program's own artwork
// code, as the PNG files of a freedesktop icon theme ("hicolor"), for the
// installation, when the program is built.
// Usage: filtaro-icons DIR SIZE...  (DIR/hicolor/SIZExSIZE/apps/filtaro.png)

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <iostream>
#include <vector>

#include "res/Icons.h"
#include "res/ResourceIds.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    std::vector<int> sizes;
    for (qsizetype i = 2; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            sizes.clear();
            break;
        }
        sizes.push_back(size);
    }
    if (args.size() < 3 || sizes.empty()) {
        std::cerr << "Aufruf: filtaro-icons VERZEICHNIS GRÖSSE...\n";
        return 2;
    }
    const QIcon icon = resourceIcon(ProgramIconId);
    for (int size : sizes) {
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
