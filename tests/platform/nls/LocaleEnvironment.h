#pragma once
// The locale variables of the process set for one test case, and the process's own put back
// when the case ends. Every variable not named is unset meanwhile.

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace nlstest {

// Names and values, as for setenv.
using LocaleVariables = std::vector<std::pair<const char*, const char*>>;

class LocaleEnvironment {
public:
    static constexpr const char* kVariables[] = {"LC_ALL", "LC_COLLATE", "LANG", "LC_MESSAGES",
                                                 "LANGUAGE"};

    explicit LocaleEnvironment(const LocaleVariables& values)
    {
        for (std::size_t i = 0; i < std::size(kVariables); ++i) {
            if (const char* value = std::getenv(kVariables[i]))
                m_saved[i] = value;
            ::unsetenv(kVariables[i]);
        }
        for (const auto& [name, value] : values)
            ::setenv(name, value, 1);
    }
    ~LocaleEnvironment()
    {
        for (std::size_t i = 0; i < std::size(kVariables); ++i) {
            if (m_saved[i])
                ::setenv(kVariables[i], m_saved[i]->c_str(), 1);
            else
                ::unsetenv(kVariables[i]);
        }
    }
    LocaleEnvironment(const LocaleEnvironment&) = delete;
    LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

private:
    std::optional<std::string> m_saved[std::size(kVariables)];
};

} // namespace nlstest
