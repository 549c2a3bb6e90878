#include "plot/PngFile.h"

#include <QBuffer>
#include <QImage>
#include <cerrno>

#include "platform/ReplaceFile.h"

QByteArray encodePng(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return {};
    }
    return png;
}

bool savePngFile(const QImage& image, const std::string& path) {
    const QByteArray png = encodePng(image);
    if (png.isEmpty()) {
        errno = ENOMEM;
        return false;
    }
    return replaceFileContents(path, png.constData(), static_cast<std::size_t>(png.size()));
}
