#include <stdlib.h>

#include "support/ScopedEnv.h"

std::optional<std::string> environmentValue(const std::string& name) {
    const char* value = getenv(name.c_str());
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void setEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
        setenv(name.c_str(), value->c_str(), 1);
    } else {
        unsetenv(name.c_str());
    }
}
