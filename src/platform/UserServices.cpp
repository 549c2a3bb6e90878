#include "platform/UserServices.h"

#include "platform/Sleep.h"

namespace {

class SilentUserServices final : public UserServices {
public:
    void messageBox(const std::string&, const std::string&, MessageIcon) override {}
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    void setStatusText(const std::string&) override {}
    void sleepMs(unsigned milliseconds) override { sleepMilliseconds(milliseconds); }
};

SilentUserServices g_silent;
UserServices* g_installed = nullptr;

}  // namespace

UserServices& userServices() {
    return g_installed ? *g_installed : g_silent;
}

void installUserServices(UserServices* services) {
    g_installed = services;
}
