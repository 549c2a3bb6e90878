// filtaro-icons: writes the program icon, drawn by the program's own artwork
// code, when the program is built: as the PNG files of a freedesktop icon
// theme ("hicolor") for the Linux installation, or as a Windows .ico for
// the resources of the Windows programs (a cross build runs the host's).
// Usage: filtaro-icons DIR SIZE...        (DIR/hicolor/SIZExSIZE/apps/filtaro.png)
//        filtaro-icons --ico FILE SIZE... (one .ico with every size)

#include <QApplication>
#include <QDir>
#include <QImage>
#include <iostream>
#include <vector>

#include "platform/ReplaceFile.h"
#include "res/Icons.h"
#include "tools/icons/IcoFile.h"

namespace {

int cannotWrite(const QString& file) {
    std::cerr << "filtaro-icons: " << file.toStdString() << " konnte nicht geschrieben werden.\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const bool ico = args.size() > 1 && args[1] == QLatin1String("--ico");
    const qsizetype firstSize = ico ? 3 : 2;
    std::vector<int> sizes;
    for (qsizetype i = firstSize; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        if (!ok || size < 1 || size > (ico ? 256 : 1024)) {
            sizes.clear();
            break;
        }
        sizes.push_back(size);
    }
    if (args.size() <= firstSize || sizes.empty()) {
        std::cerr << "Aufruf: filtaro-icons VERZEICHNIS GRÖSSE...\n"
                     "       filtaro-icons --ico DATEI.ico GRÖSSE...\n";
        return 2;
    }
    if (ico) {
        std::vector<QImage> images;
        for (int size : sizes) images.push_back(programIconImage(size));
        const QByteArray bytes = icoFile(images);
        const QString file = args[2];
        if (!replaceFileContents(file.toStdString(), bytes.constData(),
                                 static_cast<std::size_t>(bytes.size()))) {
            return cannotWrite(file);
        }
        return 0;
    }
    for (int size : sizes) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(args[1]).arg(size);
        const QString file = dir + QStringLiteral("/filtaro.png");
        if (!QDir().mkpath(dir) || !programIconImage(size).save(file, "PNG")) {
            return cannotWrite(file);
        }
    }
    return 0;
}
