#include "plot/PngFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cerrno>

#include "platform/ReplaceFile.h"

bool savePngFile(const QImage& image, const std::string& path) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        errno = ENOMEM;
        return false;
    }
    return replaceFileContents(path, png.constData(), static_cast<std::size_t>(png.size()));
}
