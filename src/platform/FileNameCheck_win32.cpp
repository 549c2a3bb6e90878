#include "platform/FileNameCheck.h"

FileNameProblem fileNameProblem(std::string_view utf8Path) {
    return windowsFileNameProblem(utf8Path);
}
