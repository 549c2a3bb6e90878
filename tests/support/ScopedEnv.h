#pragma once
// Sets (or, with nullptr, removes) an environment variable for the lifetime
// of the object and restores the previous state afterwards. Names and values
// are UTF-8 text.

#include <optional>
#include <string>

// The variable's value; nullopt when it is not set.
std::optional<std::string> environmentValue(const std::string& name);
// Sets the variable, or removes it for nullopt.
void setEnvironmentValue(const std::string& name, const std::optional<std::string>& value);

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : m_name(name), m_previous(environmentValue(name)) {
        setEnvironmentValue(m_name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
    ~ScopedEnv() { setEnvironmentValue(m_name, m_previous); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};
