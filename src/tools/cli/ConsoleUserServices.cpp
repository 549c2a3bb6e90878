#include "tools/cli/ConsoleUserServices.h"

#include <chrono>
#include <thread>

std::string foldLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;  // the "\n" that follows becomes the blank
        }
        out += (text[i] == '\n' || text[i] == '\r') ? ' ' : text[i];
    }
    return out;
}

void ConsoleUserServices::messageBox(const std::string& text, const std::string& title,
                                     MessageIcon) {
    m_err << foldLineBreaks(title) << ": " << foldLineBreaks(text) << std::endl;
}

Answer ConsoleUserServices::askYesNo(const std::string& text, const std::string& title,
                                     MessageIcon icon, Answer defaultAnswer) {
    messageBox(text, title, icon);
    return defaultAnswer;
}

void ConsoleUserServices::setStatusText(const std::string& text) {
    if (m_verbose && !text.empty()) {
        m_err << foldLineBreaks(text) << std::endl;
    }
}

void ConsoleUserServices::sleepMs(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
