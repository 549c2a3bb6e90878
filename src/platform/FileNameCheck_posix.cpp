#include "platform/FileNameCheck.h"

// Any name without '/' and NUL is a file name here.
FileNameProblem fileNameProblem(std::string_view) {
    return {};
}
