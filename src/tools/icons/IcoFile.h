#pragma once
// The Windows icon file format (.ico): a directory of images, each stored
// the way Windows' own icons are: up to 255 pixels as a 32-bit DIB (BGRA,
// rows bottom-up, the height doubled for the AND mask that follows), 256
// pixels as PNG.

#include <QByteArray>
#include <QImage>
#include <vector>

// An .ico holding `images` in that order; each must be square, 1 to 256
// pixels wide. Empty when one is not.
QByteArray icoFile(const std::vector<QImage>& images);
