// The Windows icon file, read back by Qt's own ICO reader (the qico image
// plugin), another implementation of the format.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include "tools/icons/IcoFile.h"

namespace {

// Image plugins are found through the application; the suite may have one
// already ("plot" makes one).
void app() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "filtaro-test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* instance = new QGuiApplication(argc, argv);
    (void)instance;
}

// A picture whose every pixel differs, with transparent and half-transparent
// parts, so that a row or channel out of place shows.
QImage pattern(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int alpha = x < size / 4 ? 0 : (y < size / 2 ? 255 : 128);
            image.setPixel(x, y, qRgba(x * 255 / size, y * 255 / size, (x + y) % 256, alpha));
        }
    }
    return image;
}

TEST(IcoFile, QtsReaderFindsEverySizeWithItsPixels) {
    app();
    const std::vector<int> sizes = {16, 20, 32, 48, 256};
    std::vector<QImage> images;
    for (int size : sizes) images.push_back(pattern(size));
    QByteArray bytes = icoFile(images);
    ASSERT_FALSE(bytes.isEmpty());

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), static_cast<int>(sizes.size()));
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        ASSERT_TRUE(reader.jumpToImage(static_cast<int>(i)));
        // Compared premultiplied: a reader may hand the pixels over so, and
        // a wholly transparent pixel's colour carries nothing.
        const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage want = images[i].convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(read.size(), want.size()) << reader.errorString().toStdString();
        for (int y = 0; y < want.height(); ++y) {
            for (int x = 0; x < want.width(); ++x) {
                ASSERT_EQ(read.pixel(x, y), want.pixel(x, y))
                    << sizes[i] << " at " << x << "," << y;
            }
        }
    }
}

TEST(IcoFile, RefusesWhatAnIconCannotHold) {
    app();
    EXPECT_TRUE(icoFile({QImage(16, 8, QImage::Format_ARGB32)}).isEmpty());
    EXPECT_TRUE(icoFile({QImage(257, 257, QImage::Format_ARGB32)}).isEmpty());
    EXPECT_TRUE(icoFile({QImage()}).isEmpty());
}

}  // namespace
