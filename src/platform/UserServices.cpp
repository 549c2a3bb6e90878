#include "platform/UserServices.h"

#include <chrono>
#include <thread>

namespace {

class SilentUserServices final : public UserServices {
public:
    void messageBox(const std::string&, const std::string&, MessageIcon) override {}
    Answer askYesNo(const std::string&, const std::string&, MessageIcon,
                    Answer defaultAnswer) override {
        return defaultAnswer;
    }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    void setStatusText(const std::string&) override {}
    void progress(ProgressUnit, int, int) override {}
    void sleepMs(unsigned milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
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
