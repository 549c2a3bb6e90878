#include "ui/ComPortList.h"

#include <cctype>

namespace {

bool isLeftOut(int n) {
    return n == 77 || n == 122 || n == 177;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(prefix[i]);
        if (std::tolower(a) != std::tolower(b)) {
            return false;
        }
    }
    return true;
}

}  // namespace

const std::vector<std::string>& comPortListItems() {
    static const std::vector<std::string> items = [] {
        std::vector<std::string> list;
        for (int n = 1; n <= 256; ++n) {
            if (!isLeftOut(n)) {
                list.push_back("COM" + std::to_string(n));
            }
        }
        return list;
    }();
    return items;
}

int findComPortItem(const std::vector<std::string>& items, std::string_view stored) {
    if (stored.empty()) {
        return -1;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (startsWithIgnoringCase(items[i], stored)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
