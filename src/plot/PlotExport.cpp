#include "plot/PlotExport.h"

#include <QBuffer>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <cerrno>
#include <string>

#include "platform/ReplaceFile.h"
#include "plot/PlotRenderer.h"

QByteArray plotSvg(PlotRenderer& renderer) {
    const QSize size = renderer.backBufferSize();
    if (size.isEmpty()) return {};
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    // One pixel of the plot is one unit of the drawing.
    generator.setResolution(96);
    generator.setTitle(QStringLiteral("Filtaro"));
    generator.setDescription(QStringLiteral("Frequenzgang"));
    {
        QPainter painter(&generator);
        renderer.paint(painter, renderer.lastGeometry());
    }
    // The generator gives the drawing's size in millimetres, which viewers
    // turn into pixels at their own resolution; the plot's size is pixels.
    static const QRegularExpression physicalSize(
        QStringLiteral(R"(<svg width="[0-9.]+mm" height="[0-9.]+mm")"));
    QString text = QString::fromUtf8(svg);
    text.replace(
        physicalSize,
        QStringLiteral(R"(<svg width="%1" height="%2")").arg(size.width()).arg(size.height()));
    return text.toUtf8();
}

bool saveSvgFile(PlotRenderer& renderer, const std::string& path) {
    const QByteArray svg = plotSvg(renderer);
    if (svg.isEmpty()) {
        errno = EINVAL;
        return false;
    }
    return replaceFileContents(path, svg.constData(), static_cast<std::size_t>(svg.size()));
}

bool isSvgPath(const std::string& path) {
    return QString::fromStdString(path).endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
}
