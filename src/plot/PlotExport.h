#pragma once
// The plot as a file, exactly as it was drawn last: the back buffer as PNG,
// or the same drawing as SVG (lines and text as vectors, at the back buffer's
// size in pixels). Both are made in memory; the caller saves the bytes
// through the program's save routine, so a failed write never leaves half a
// file.

#include <QByteArray>
#include <QImage>
#include <string>

class CPlotRenderer;

// Empty when the image cannot be encoded (a null image).
QByteArray plotPng(const QImage& image);
// Empty when the renderer has no back buffer.
QByteArray plotSvg(CPlotRenderer& renderer);

// True when `path` names an SVG file (its name ends in ".svg", any case).
bool isSvgPath(const std::string& path);
