#include "res/Strings.h"

namespace res {

std::u16string_view loadString(unsigned id)
{
    const std::u16string_view own = platform::fx::findString(stringTable(), id);
    return own.empty() ? platform::fx::frameworkString(id) : own;
}

Prompt commandPrompt(unsigned id)
{
    return splitPrompt(loadString(id));
}

} // namespace res
