#include "buildinfo/ProgramVersion.h"

#include "FiltaroBuild.h"

const char* programRelease() {
    return FILTARO_RELEASE;
}

const char* programVersion() {
    return FILTARO_VERSION;
}

std::string versionLine(const std::string& program) {
    return program + ' ' + programVersion() + '\n';
}
