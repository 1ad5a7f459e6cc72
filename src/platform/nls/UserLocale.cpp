#include "platform/nls/UserLocale.h"

#include <cstdlib>

namespace platform::nls {

std::string userCollationLocale()
{
    std::string name;
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            name = value;
            break;
        }
    }
    name = name.substr(0, name.find_first_of(".@"));
    if (name == "C" || name == "POSIX")
        return {};
    return name;
}

} // namespace platform::nls
