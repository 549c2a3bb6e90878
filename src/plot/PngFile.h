#pragma once
// A picture saved as a PNG file through the program's save routine: encoded
// in memory first, so that a failure (a full disk, a size limit, a file the
// user may not write) leaves an existing file whole, its links and owner
// kept, like every other file the program writes.

#include <QByteArray>
#include <string>

class QImage;

// The picture as PNG bytes; empty when it cannot be encoded (a null
// picture, no memory).
QByteArray encodePng(const QImage& image);

// True when the file holds the picture. On failure errno tells why (ENOMEM
// when the picture could not be encoded).
bool savePngFile(const QImage& image, const std::string& path);
