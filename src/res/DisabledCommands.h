#pragma once
// The commands the menus, toolbar and accelerators name that no class handles yet: routing
// finds no handler and shows them disabled, and their keys do nothing. A feature that
// builds one of them takes it off this list in the same change (a test checks that every
// command of the resources is either handled exactly once or listed here).

#include "res/Resource.h"

namespace res {

inline constexpr unsigned kDisabledCommands[] = {
    // window panes (the frame has one pane)
    ID_NEXT_PANE,
    ID_PREV_PANE,
};

} // namespace res
