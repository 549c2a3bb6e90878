#include "storage/FileMessages.h"

#include <filesystem>
#include <fstream>

#include "platform/FileNameCheck.h"
#include "platform/SystemError.h"
#include "platform/Utf8Path.h"

namespace fs = std::filesystem;

namespace {

std::string nameProblemText(const FileNameProblem& problem) {
    switch (problem.kind) {
        case FileNameProblem::ReservedCharacter:
            return "das Zeichen \"" + problem.detail + "\" ist in Dateinamen nicht erlaubt";
        case FileNameProblem::DeviceName:
            return "\"" + problem.detail + "\" ist unter Windows ein Gerätename";
        case FileNameProblem::TrailingDotOrBlank:
            return "Windows ließe Punkt und Leerzeichen am Ende weg und nähme \"" + problem.detail +
                   "\"";
        case FileNameProblem::None:
            break;
    }
    return {};
}

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
        case EBUSY:
            return "ein anderes Programm hat die Datei geöffnet";
        default: {
            const std::string text = systemErrorText(error);
            return text.empty() ? "Systemfehler " + std::to_string(error) : text;
        }
    }
}

}  // namespace

std::string fileOpenProblem(const std::string& path, std::size_t exactSize, std::size_t maxSize) {
    // A name with a dot or blank at its end still reads the file Windows
    // finds without them; only names that reach no file at all are told here.
    if (const FileNameProblem name = fileNameProblem(path);
        name.kind == FileNameProblem::ReservedCharacter ||
        name.kind == FileNameProblem::DeviceName) {
        return nameProblemText(name);
    }
    std::error_code ec;
    const fs::path file = pathFromUtf8(path);
    const fs::file_status status = path.empty() ? fs::file_status() : fs::status(file, ec);
    if (status.type() == fs::file_type::not_found || file.empty()) return "nicht vorhanden";
    if (ec && ec == std::errc::permission_denied) return "keine Leserechte";
    if (status.type() != fs::file_type::regular) return "keine Datei";
    const std::uintmax_t size = fs::file_size(file, ec);
    if (!ec && exactSize != 0 && size != exactSize) {
        return bytes(size) + " statt " + std::to_string(exactSize);
    }
    if (!ec && exactSize == 0 && size > maxSize) return "größer als " + bytes(maxSize);
    errno = 0;
    if (!std::ifstream(file, std::ios::binary) && (errno == EACCES || errno == EPERM)) {
        return "keine Leserechte";
    }
    return "nicht lesbar";
}

std::string fileOpenFailure(const std::string& path, std::size_t exactSize, std::size_t maxSize) {
    return path + ": Datei konnte nicht geöffnet werden (" +
           fileOpenProblem(path, exactSize, maxSize) + ").";
}

std::string fileSaveFailure(const std::string& path, int error) {
    const FileNameProblem name = fileNameProblem(path);
    return path + ": Datei konnte nicht gespeichert werden (" +
           (name.kind != FileNameProblem::None ? nameProblemText(name) : saveProblem(error)) + ").";
}
