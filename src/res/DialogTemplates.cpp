#include "res/DialogTemplates.h"

const DialogTemplate* findDialogTemplate(int id) {
    static const DialogTemplate* const all[] = {
        &aboutTemplate,   &mainFormTemplate,    &comPortTemplate,      &channelPanelTemplate,
        &welcomeTemplate, &copyChannelTemplate, &graphOptionsTemplate, &copyPresetTemplate,
    };
    for (const DialogTemplate* t : all) {
        if (t->id == id) {
            return t;
        }
    }
    return nullptr;
}
