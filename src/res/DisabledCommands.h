#pragma once
// The commands the menus, toolbar and accelerators name that no class handles yet: routing
// finds no handler and shows them disabled, and their keys do nothing. A feature that
// builds one of them takes it off this list in the same change (a test checks that every
// command of the resources is either handled exactly once or listed here).

#include "res/Resource.h"

namespace res {

inline constexpr unsigned kDisabledCommands[] = {
    // printing
    ID_FILE_PRINT_SETUP,
    ID_FILE_PRINT,
    ID_FILE_PRINT_PREVIEW,
    // find and replace
    ID_EDIT_FIND,
    ID_EDIT_REPEAT,
    ID_EDIT_FIND_PREVIOUS,
    ID_EDIT_REPLACE,
    ID_REGEX_REPLACE,
    // view and edit commands
    ID_GOTO_LINE,
    ID_TAB_STOPS,
    ID_WORD_WRAP,
    ID_NORMALIZE_LINE_ENDS,
    ID_INSERT_TAB,
    ID_INSERT_DATETIME,
    ID_DELETE_TO_LINE_END,
    ID_NOTHING,
    // conversions
    ID_NCR,
    ID_CODE_INPUT,
    // clipboard history, templates, shortcuts
    ID_CLIP_HISTORY,
    ID_ADD_TEMPLATE,
    ID_ORGANIZE_TEMPLATES,
    ID_CREATE_SHORTCUT,
    // window panes (the frame has one pane)
    ID_NEXT_PANE,
    ID_PREV_PANE,
};

} // namespace res
