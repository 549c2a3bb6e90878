// What the command handlers share: the file dialogs, the channel shown and
// how texts name it.

#include "plotmodel/CurveCsv.h"
#include "ui/CChannelTabCtrl.h"
#include "view/CSonaroView.h"
#include "view/Commands.h"

std::optional<std::string> askFile(CSonaroView& view, FileDialogKind kind) {
    const Document& document = view.document();
    return askFilePath(kind, fileDialogFolder(document.fileName(), document.startupDirectory()),
                       view.window());
}

int activeChannel(const CSonaroView& view) {
    const int selected = view.channelTabs() ? view.channelTabs()->curSel() : 0;
    return selected >= 0 && selected < ChannelCount ? selected : 0;
}

QString channelDisplayName(const CSonaroView& view, int channel) {
    return QString::fromStdString(
        channelCurveName(channel, view.channelName(channel).toStdString()));
}
