// filtaro-cli plot FILE OUT.png|OUT.svg [--size WxH] [--preset N]
// [--view magnitude|phase|groupdelay] [--sum]: the response plot of one
// preset of a parameter file as a PNG, or as an SVG drawing when the output
// name ends in ".svg", drawn by the program's own plot renderer on Qt's
// offscreen platform (no display needed). The default size is the plot's
// size in the main window at its start-up size; --view and --sum choose what
// the plot shows, as the window's "Ansicht" menu does.

#ifdef FILTARO_CLI_PLOT

#include <QGuiApplication>
#include <memory>
#include <optional>
#include <string>

#include "model/ParameterImage.h"
#include "plot/PlotExport.h"
#include "plot/PlotRenderer.h"
#include "plot/PngFile.h"
#include "plotmodel/PlotGeometry.h"
#include "plotmodel/PlotView.h"
#include "response/ChannelResponse.h"
#include "response/ComplexResponse.h"
#include "storage/FileMessages.h"
#include "tools/cli/Cli.h"

namespace {

constexpr int MaxPlotSide = 8192;

// "WxH" with both sides in 1..MaxPlotSide.
std::optional<QSize> parseSize(const std::string& text) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos) return std::nullopt;
    const auto w = parseIntArg(text.substr(0, x), 1, MaxPlotSide);
    const auto h = parseIntArg(text.substr(x + 1), 1, MaxPlotSide);
    if (!w || !h) return std::nullopt;
    return QSize(*w, *h);
}

// Qt's chatter about the headless session (runtime directory, fonts) is no
// concern of the command's user; errors still get through.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        fprintf(stderr, "%s\n", qPrintable(message));
    }
}

// The drawing needs a QGuiApplication; a process that has none gets one on
// the offscreen platform, kept for the rest of the process.
bool ensureGuiApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
    if (QCoreApplication::instance() != nullptr) return false;  // a console-only application
    static int argc = 3;
    static char name[] = "filtaro-cli";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    qInstallMessageHandler(quietQtMessages);
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    return app != nullptr;
}

}  // namespace

int cliPlot(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, BytePort&) {
    const CliArgs parsed(args, {"--size", "--preset", "--view"}, {"--sum"});
    if (!parsed.error().empty()) {
        return cliFail(err, parsed.error(), 2);
    }
    if (parsed.positional().size() != 2) {
        return cliFail(err,
                       "Aufruf: filtaro-cli plot DATEI AUSGABE.png|AUSGABE.svg [--size BxH] "
                       "[--preset N] [--view magnitude|phase|groupdelay] [--sum]",
                       2);
    }
    QSize size(DefaultPlotWidth, DefaultPlotHeight);
    if (const auto value = parsed.value("--size")) {
        const auto s = parseSize(*value);
        if (!s) {
            return cliFail(err,
                           "Die Größe muss BREITExHÖHE sein, jede Seite 1 bis " +
                               std::to_string(MaxPlotSide) + " Pixel (z. B. " +
                               std::to_string(DefaultPlotWidth) + "x" +
                               std::to_string(DefaultPlotHeight) + ").",
                           2);
        }
        size = *s;
    }
    const std::optional<int> preset = presetOption(parsed);
    if (!preset) {
        return cliFail(err, "Das Preset muss eine Zahl von 1 bis 4 sein.", 2);
    }
    const std::optional<ResponseQuantity> view = viewOption(parsed);
    if (!view) {
        return cliFail(err, ViewOptionError, 2);
    }
    const PlotViewChoice choice{*view, parsed.flag("--sum")};
    const std::string& inPath = parsed.positional()[0];
    const std::string& outPath = parsed.positional()[1];

    ParameterImage image;
    if (!loadCommandFile(image, inPath, err)) return 1;
    // The preset shown is the one asked for, not the one the file was saved with.
    image.setActivePreset(*preset - 1);
    const auto responses = std::make_unique<ChannelResponses>();
    computeResponses(image, *responses);
    const auto complexResponses = std::make_unique<ComplexResponses>();
    if (needsComplexResponses(choice)) computeComplexResponses(image, *complexResponses);

    if (!ensureGuiApplication()) {
        return cliFail(err, "Die Grafik kann in diesem Prozess nicht gezeichnet werden.");
    }
    PlotRenderer renderer;
    renderer.init(size);
    if (renderer.backBufferSize() != size) {
        return cliFail(err, "Für eine Grafik dieser Größe ist nicht genug Speicher frei.");
    }
    renderer.drawView(PlotSettings::fromImage(image),
                      plotContent(image, choice, *responses, complexResponses.get()));
    const bool saved = isSvgPath(outPath) ? saveSvgFile(renderer, outPath)
                                          : savePngFile(renderer.backBuffer(), outPath);
    if (!saved) {
        return cliFail(err, fileSaveFailure(outPath));
    }
    out << "Grafik von Preset " << *preset << " (" << size.width() << " x " << size.height()
        << " Pixel) gespeichert: " << outPath << '\n';
    return 0;
}

#endif  // FILTARO_CLI_PLOT
