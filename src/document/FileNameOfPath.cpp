#include "document/FileNameOfPath.h"

std::string fileNameOfPath(std::string_view path) {
    if (path.find('.') == std::string_view::npos) {
        return "None";
    }
    return baseNameOfPath(path);
}

std::string baseNameOfPath(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}
