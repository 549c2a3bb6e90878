#include "tools/cli/HeldMessages.h"

HeldMessages::HeldMessages() : m_next(userServices()) {
    installUserServices(this);
}

HeldMessages::~HeldMessages() {
    installUserServices(&m_next);
}

void HeldMessages::messageBox(const std::string& text, const std::string& title, MessageIcon icon) {
    m_held.push_back({text, title, icon});
}

void HeldMessages::release() {
    for (const HeldMessage& m : m_held) m_next.messageBox(m.text, m.title, m.icon);
    m_held.clear();
}
