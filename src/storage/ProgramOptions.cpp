#include "storage/ProgramOptions.h"

#include "storage/Ini.h"

bool verifyAfterSend() {
    int value = 1;
    readIniInt(IniSectionFiltaro, IniKeyVerifyAfterSend, value);
    return value != 0;
}

bool setVerifyAfterSend(bool on) {
    return writeIniString(IniSectionFiltaro, IniKeyVerifyAfterSend, on ? "1" : "0") != 0;
}
