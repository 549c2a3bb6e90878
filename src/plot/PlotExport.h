#pragma once
// The plot as an SVG drawing, exactly as it was drawn last: lines and text
// as vectors, at the back buffer's size in logical pixels. Made in memory
// and saved through the program's save routine, so a failed write never
// leaves half a file. (As PNG the plot is its back buffer, saved by
// PngFile.)

#include <QByteArray>
#include <string>

class PlotRenderer;

// Empty when the renderer has no back buffer.
QByteArray plotSvg(PlotRenderer& renderer);
// True when the file holds the drawing; on failure errno tells why (EINVAL
// when there is no drawing).
bool saveSvgFile(PlotRenderer& renderer, const std::string& path);

// True when `path` names an SVG file (its name ends in ".svg", any case).
bool isSvgPath(const std::string& path);
