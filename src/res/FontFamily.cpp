#include "res/FontFamily.h"

#include <cstring>

QString resolveFontFamily(const char* name) {
    if (name == nullptr || std::strcmp(name, "MS Sans Serif") == 0 ||
        std::strcmp(name, "Arial") == 0 || std::strcmp(name, "MS Shell Dlg") == 0) {
        return QStringLiteral("Liberation Sans");
    }
    return QString::fromUtf8(name);
}
