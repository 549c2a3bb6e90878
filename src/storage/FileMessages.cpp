#include "storage/FileMessages.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string bytes(std::uintmax_t n) {
    return std::to_string(n) + (n == 1 ? " Byte" : " Bytes");
}

std::string saveProblem(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return "keine Schreibrechte";
        case ENOSPC:
#ifdef EDQUOT  // a quota; not every C library names it (MinGW's does not)
        case EDQUOT:
#endif
            return "kein Platz mehr auf dem Datenträger";
        case EFBIG:
            return "größer als die erlaubte Dateigröße";
        case ENOENT:
        case ENOTDIR:
            return "Ordner nicht vorhanden";
        case EISDIR:
            return "ein Ordner trägt den Namen";
        case EINVAL:
            return "keine Datei";
        case ENOMEM:
            return "nicht genug Speicher";
        case ELOOP:
            return "zu viele symbolische Links";
        case ENAMETOOLONG:
            return "Name zu lang";
        default:
            return "Systemfehler " + std::to_string(error);
    }
}

}  // namespace

std::string fileOpenProblem(const std::string& path, std::size_t exactSize, std::size_t maxSize) {
    std::error_code ec;
    const fs::file_status status = path.empty() ? fs::file_status() : fs::status(path, ec);
    if (status.type() == fs::file_type::not_found || path.empty()) return "nicht vorhanden";
    if (ec && ec == std::errc::permission_denied) return "keine Leserechte";
    if (status.type() != fs::file_type::regular) return "keine Datei";
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && exactSize != 0 && size != exactSize) {
        return bytes(size) + " statt " + std::to_string(exactSize);
    }
    if (!ec && exactSize == 0 && size > maxSize) return "größer als " + bytes(maxSize);
    errno = 0;
    if (!std::ifstream(path, std::ios::binary) && (errno == EACCES || errno == EPERM)) {
        return "keine Leserechte";
    }
    return "nicht lesbar";
}

std::string fileOpenFailure(const std::string& path, std::size_t exactSize, std::size_t maxSize) {
    return path + ": Datei konnte nicht geöffnet werden (" +
           fileOpenProblem(path, exactSize, maxSize) + ").";
}

std::string fileSaveFailure(const std::string& path, int error) {
    return path + ": Datei konnte nicht gespeichert werden (" + saveProblem(error) + ").";
}
