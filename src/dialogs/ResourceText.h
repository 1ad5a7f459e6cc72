#pragma once
// The program's string-table texts as the dialogs show them.

#include "platform/Utf16.h"
#include "res/Strings.h"

#include <QString>

inline QString resourceText(unsigned id)
{
    return platform::toQString(res::loadString(id));
}
