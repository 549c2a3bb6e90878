#include "tools/icons/IcoFile.h"

#include <QBuffer>

namespace {

constexpr int DirectorySize = 6;
constexpr int EntrySize = 16;
constexpr int InfoHeaderSize = 40;  // BITMAPINFOHEADER

void put16(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

void put32(QByteArray& out, qint64 value) {
    put16(out, static_cast<int>(value & 0xFFFF));
    put16(out, static_cast<int>((value >> 16) & 0xFFFF));
}

// The image as the DIB of an icon entry: the header, the colours (straight
// alpha) and the AND mask, set where a pixel is wholly transparent.
QByteArray dibOf(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int size = image.width();
    const int maskRowBytes = (size + 31) / 32 * 4;
    QByteArray out;
    put32(out, InfoHeaderSize);
    put32(out, size);
    put32(out, 2 * size);  // colours and mask
    put16(out, 1);         // planes
    put16(out, 32);        // bits per pixel
    put32(out, 0);         // BI_RGB
    put32(out, static_cast<qint64>(size) * size * 4 + static_cast<qint64>(maskRowBytes) * size);
    for (int i = 0; i < 4; ++i) put32(out, 0);  // resolution, colours used, important
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) put32(out, row[x]);  // B, G, R, A in memory order
    }
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray mask(maskRowBytes, '\0');
        for (int x = 0; x < size; ++x) {
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(mask);
    }
    return out;
}

QByteArray pngOf(const QImage& image) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
    return out;
}

}  // namespace

QByteArray icoFile(const std::vector<QImage>& images) {
    std::vector<QByteArray> data;
    for (const QImage& image : images) {
        if (image.isNull() || image.width() != image.height() || image.width() > 256) return {};
        data.push_back(image.width() == 256 ? pngOf(image) : dibOf(image));
    }
    QByteArray out;
    put16(out, 0);  // reserved
    put16(out, 1);  // an icon (2 would be a cursor)
    put16(out, static_cast<int>(images.size()));
    qint64 offset = DirectorySize + EntrySize * static_cast<qint64>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].width();
        out.append(static_cast<char>(size == 256 ? 0 : size));  // width; 0 stands for 256
        out.append(static_cast<char>(size == 256 ? 0 : size));  // height
        out.append('\0');                                       // no palette
        out.append('\0');                                       // reserved
        put16(out, 1);                                          // planes
        put16(out, 32);                                         // bits per pixel
        put32(out, data[i].size());
        put32(out, offset);
        offset += data[i].size();
    }
    for (const QByteArray& bytes : data) out.append(bytes);
    return out;
}
