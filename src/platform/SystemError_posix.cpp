#include "platform/SystemError.h"

void noteSystemError(int, unsigned long) {}

std::string systemErrorText(int) {
    return {};
}
