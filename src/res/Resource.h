#pragma once
// Every number the program's resources are keyed by: commands, status-bar panes, string ids,
// menus, dialogs and their controls. Names follow the Windows framework's so that the code
// reads like the program it mirrors.
//
// A command's prompt ("status text\ntooltip") is the string with the command's own number,
// and a status pane's text (its width sample) the string with the pane's number, so a number
// may appear below both as a command or pane and in the string table (Strings.cpp).
//
// Ranges:
//   1, 2            standard dialog buttons
//   100 .. 141      dialogs, menus and the shared main-frame resource
//   200 ..          template menu items, numbered from ID_TEMPLATE_FIRST at run time
//   1000 .. 1037    dialog controls
//   6000 .. 6999    our own message texts (none of them is a framework string)
//   7000 .. 7999    dialog captions and control texts
//   32771 .. 32799  the program's own commands
//   57344 ..        the framework's strings, commands, panes and bars (platform/fx/
//                   FrameworkIds.h), and the program's two panes

#include "platform/fx/FrameworkIds.h"

namespace res {

// The framework's standard numbers (buttons, the 57344-and-up strings, commands, panes and
// bars) are the program's too.
using namespace platform::fx::ids;

// ---- resources ----------------------------------------------------------------------------
inline constexpr unsigned IDD_ABOUTBOX = 100;
// Shared by the document type string, the main menu, the accelerators, the toolbar and the
// program icon.
inline constexpr unsigned IDR_MAINFRAME = 128;
inline constexpr unsigned IDD_LANGUAGE_SELECT = 130;
inline constexpr unsigned IDD_NUMBER = 131; // tab width and go to line; caption set by code
inline constexpr unsigned IDD_CODE_INPUT = 133;
inline constexpr unsigned IDD_OPTIONS = 134;
inline constexpr unsigned IDD_CLIP_HISTORY = 135;
inline constexpr unsigned IDD_REGEX_REPLACE = 136;
inline constexpr unsigned IDR_CONTEXT_MENU = 138;
inline constexpr unsigned IDD_TEMPLATE_NAME = 139;
inline constexpr unsigned IDD_TEMPLATE_ORGANIZE = 140;
inline constexpr unsigned IDD_SHORTCUT = 141;

// The first command number given to a template menu item; the items count up from here.
inline constexpr unsigned ID_TEMPLATE_FIRST = 200;

// ---- dialog controls ----------------------------------------------------------------------
// Options (134)
inline constexpr unsigned IDC_NCR_DECIMAL = 1000;     // radio, first of its group
inline constexpr unsigned IDC_NCR_HEX = 1001;         // radio
inline constexpr unsigned IDC_SHOW_LANG_DIALOG = 1026; // check box
inline constexpr unsigned IDC_AUTO_DETECT_JA = 1032;  // check box
// Number (131), code input (133), template name (139)
inline constexpr unsigned IDC_EDIT = 1010;
inline constexpr unsigned IDC_SPIN = 1031; // number dialog's up-down control
// Language select (130), clipboard history (135), template organize (140)
inline constexpr unsigned IDC_LIST = 1030;
// Regular-expression replace (136)
inline constexpr unsigned IDC_PATTERN = 1027;
inline constexpr unsigned IDC_REPLACEMENT = 1028;
inline constexpr unsigned IDC_MULTILINE = 1029;
inline constexpr unsigned IDC_ESCAPE = 1030;
inline constexpr unsigned IDC_GLOBAL = 1031;
inline constexpr unsigned IDC_IGNORE_CASE = 1032;
// Template organize (140)
inline constexpr unsigned IDC_TEMPLATE_DELETE = 1034;
inline constexpr unsigned IDC_TEMPLATE_RENAME = 1036;
// Shortcut (141)
inline constexpr unsigned IDC_SHORTCUT_DESKTOP = 1033;
inline constexpr unsigned IDC_SHORTCUT_PROGRAMS = 1035;
inline constexpr unsigned IDC_SHORTCUT_SENDTO = 1037;

// ---- our own message texts (string table) -------------------------------------------------
// Placeholders are %1, %2, ... (formatStrings in Strings.h); the comment gives what each is.
inline constexpr unsigned IDP_README_OPEN_FAILED = 6001;      // %1 path, %2 error number
inline constexpr unsigned IDP_TEMPLATE_OPEN_FAILED = 6002;    // %1 full path
inline constexpr unsigned IDP_TEMPLATE_OVERWRITE = 6003;      // %1 full path
inline constexpr unsigned IDP_TEMPLATE_DELETE = 6004;         // %1 template name
inline constexpr unsigned IDP_TEMPLATE_NAME_DUPLICATE = 6005;
inline constexpr unsigned IDP_IMPORT_FAILED = 6006;           // prefix; the system's text follows
inline constexpr unsigned IDP_EXPORT_FAILED = 6007;           // prefix; the system's text follows
inline constexpr unsigned IDP_LINE_OUT_OF_RANGE = 6008;
inline constexpr unsigned IDP_TEXT_NOT_FOUND = 6009;          // %1 search string (the view's)
inline constexpr unsigned IDP_EDIT_TEXT_NOT_FOUND = 6010;     // %1 search string (base view's)
inline constexpr unsigned IDP_REGEX_OLE_EXCEPTION = 6011;     // %1 status code, lower-case hex
inline constexpr unsigned IDS_REGEX_UNKNOWN_ERROR = 6012;
inline constexpr unsigned IDP_SAVE_CODEPAGE_UNSUPPORTED = 6013; // %1 code-page number
inline constexpr unsigned IDP_PRINT_NO_PRINTER = 6014;
inline constexpr unsigned IDP_CODEPAGE_NOT_INSTALLED = 6016;   // %1 the stored code page
inline constexpr unsigned IDP_OPEN_CODEPAGE_UNSUPPORTED = 6017; // %1 code-page number
// %1 encoding name, %2 count, %3 line, %4 column, %5 code point (hex), %6 the character,
// %7 what it is written as
inline constexpr unsigned IDP_SAVE_LOSES_CHARACTERS = 6015;
// %1 byte count, %2 first offset, %3 offset in hex, %4 page name, %5 replacement character
inline constexpr unsigned IDP_OPEN_UNDECODABLE_BYTES = 6018;
inline constexpr unsigned IDP_SETTINGS_NOT_SAVED = 6019;     // %1 settings file path
inline constexpr unsigned IDS_POSITION_PANE_FORMAT = 6020;    // %1 line %2 column %3 count %4 hex
inline constexpr unsigned IDS_IMPORT_EXPORT_FILTER = 6021;    // "name|pattern|...||"
inline constexpr unsigned IDS_SHORTCUT_DESCRIPTION = 6022;
inline constexpr unsigned IDS_TAB_WIDTH_CAPTION = 6023;
inline constexpr unsigned IDS_GOTO_LINE_CAPTION = 6024;
inline constexpr unsigned IDP_PRINT_UNKNOWN_PRINTER = 6025;    // %1 printer name
inline constexpr unsigned IDP_PRINT_NO_ROOM = 6026;
inline constexpr unsigned IDP_PRINT_FAILED = 6027;
// %1 offset of the zero byte, %2 the offset in hex, %3 bytes from there to the end
inline constexpr unsigned IDP_OPEN_ZERO_BYTE = 6028;
// %1 the file's path, or the untitled name; %2 the record's date and time, "yyyy/MM/dd HH:mm"
inline constexpr unsigned IDP_RECOVERY_OFFER = 6029;
inline constexpr unsigned IDP_RECOVERY_SET_ASIDE = 6030;    // %1 the record, %2 its new name
inline constexpr unsigned IDP_RECOVERY_NOT_KEPT = 6031;     // follows a file-error message

// ---- dialog captions and control texts (string table) -------------------------------------
// About (100)
inline constexpr unsigned IDS_ABOUT_CAPTION = 7010;
inline constexpr unsigned IDS_ABOUT_VERSION = 7011;
inline constexpr unsigned IDS_ABOUT_COPYRIGHT = 7012;
inline constexpr unsigned IDS_ABOUT_NOTICE = 7013;
// Language select (130)
inline constexpr unsigned IDS_LANGUAGE_SELECT_CAPTION = 7020;
// Code input (133)
inline constexpr unsigned IDS_CODE_INPUT_CAPTION = 7030;
inline constexpr unsigned IDS_CODE_INPUT_HINT = 7031;
// Options (134)
inline constexpr unsigned IDS_OPTIONS_CAPTION = 7040;
inline constexpr unsigned IDS_OPTIONS_GROUP_JAPANESE = 7041;
inline constexpr unsigned IDS_OPTIONS_AUTO_DETECT = 7042;
inline constexpr unsigned IDS_OPTIONS_GROUP_NCR = 7043;
inline constexpr unsigned IDS_OPTIONS_NCR_DECIMAL = 7044;
inline constexpr unsigned IDS_OPTIONS_NCR_HEX = 7045;
inline constexpr unsigned IDS_OPTIONS_GROUP_LANG_DIALOG = 7046;
inline constexpr unsigned IDS_OPTIONS_SHOW_LANG_DIALOG = 7047;
// Clipboard history (135)
inline constexpr unsigned IDS_CLIP_HISTORY_CAPTION = 7050;
inline constexpr unsigned IDS_CLIP_HISTORY_LABEL = 7051;
inline constexpr unsigned IDS_CLIP_HISTORY_PASTE = 7052;
// Regular-expression replace (136)
inline constexpr unsigned IDS_REGEX_CAPTION = 7060;
inline constexpr unsigned IDS_REGEX_PATTERN_LABEL = 7061;
inline constexpr unsigned IDS_REGEX_GLOBAL = 7062;
inline constexpr unsigned IDS_REGEX_IGNORE_CASE = 7063;
inline constexpr unsigned IDS_REGEX_MULTILINE = 7064;
inline constexpr unsigned IDS_REGEX_REPLACE_LABEL = 7065;
inline constexpr unsigned IDS_REGEX_ESCAPE = 7066;
// Template name (139)
inline constexpr unsigned IDS_TEMPLATE_NAME_CAPTION = 7070;
inline constexpr unsigned IDS_TEMPLATE_NAME_LABEL = 7071;
// Template organize (140)
inline constexpr unsigned IDS_TEMPLATE_ORGANIZE_CAPTION = 7080;
inline constexpr unsigned IDS_TEMPLATE_ORGANIZE_HINT = 7081;
inline constexpr unsigned IDS_TEMPLATE_ORGANIZE_RENAME = 7082;
inline constexpr unsigned IDS_TEMPLATE_ORGANIZE_DELETE = 7083;
inline constexpr unsigned IDS_TEMPLATE_ORGANIZE_CLOSE = 7084;
// Shortcut (141)
inline constexpr unsigned IDS_SHORTCUT_CAPTION = 7090;
inline constexpr unsigned IDS_SHORTCUT_DESKTOP = 7091;
inline constexpr unsigned IDS_SHORTCUT_PROGRAMS = 7092;
inline constexpr unsigned IDS_SHORTCUT_SENDTO = 7093;
// Find and replace: the usual labels of the system's find and replace dialogs
inline constexpr unsigned IDS_FIND_CAPTION = 7100;
inline constexpr unsigned IDS_REPLACE_CAPTION = 7101;
inline constexpr unsigned IDS_FIND_WHAT_LABEL = 7102;
inline constexpr unsigned IDS_REPLACE_WITH_LABEL = 7103;
inline constexpr unsigned IDS_FIND_MATCH_CASE = 7104;
inline constexpr unsigned IDS_FIND_DIRECTION = 7105;
inline constexpr unsigned IDS_FIND_UP = 7106;
inline constexpr unsigned IDS_FIND_DOWN = 7107;
inline constexpr unsigned IDS_FIND_NEXT = 7108;
inline constexpr unsigned IDS_REPLACE_ONE = 7109;
inline constexpr unsigned IDS_REPLACE_ALL = 7110;

// ---- the program's own commands -------------------------------------------------------------
inline constexpr unsigned ID_LANGUAGE_SELECT = 32771;
inline constexpr unsigned ID_FONT_SELECT = 32772;
inline constexpr unsigned ID_TAB_STOPS = 32773;
inline constexpr unsigned ID_GOTO_LINE = 32774;
inline constexpr unsigned ID_README = 32775;
inline constexpr unsigned ID_ORGANIZE_TEMPLATES = 32776;
inline constexpr unsigned ID_NORMALIZE_LINE_ENDS = 32777;
inline constexpr unsigned ID_NCR = 32778; // selection to numeric character references
inline constexpr unsigned ID_CODE_INPUT = 32779;
inline constexpr unsigned ID_OPTIONS = 32780;
// 32781 is not used.
inline constexpr unsigned ID_IMPORT_UNICODE = 32782;
inline constexpr unsigned ID_EXPORT_UNICODE = 32783;    // UTF-16 little-endian with its mark
inline constexpr unsigned ID_EXPORT_UNICODE_BE = 32784; // UTF-16 big-endian with its mark
inline constexpr unsigned ID_EXPORT_UTF8 = 32785;       // UTF-8 with its mark
inline constexpr unsigned ID_INSERT_TAB = 32786;        // Ctrl+Tab only
inline constexpr unsigned ID_INSERT_DATETIME = 32787;
inline constexpr unsigned ID_IMPORT_JAPANESE = 32788;
inline constexpr unsigned ID_IMPORT_MAC_JAPANESE = 32789;
inline constexpr unsigned ID_EXPORT_MAC_JAPANESE = 32790;
inline constexpr unsigned ID_WORD_WRAP = 32791;
inline constexpr unsigned ID_CLIP_HISTORY = 32792;
inline constexpr unsigned ID_EDIT_FIND_PREVIOUS = 32793;
inline constexpr unsigned ID_NOTHING = 32794;           // Ctrl+Shift+Delete: swallowed on purpose
inline constexpr unsigned ID_DELETE_TO_LINE_END = 32795; // Ctrl+Delete only
inline constexpr unsigned ID_ADD_TEMPLATE = 32796;
inline constexpr unsigned ID_ORGANIZE_TEMPLATES_UNUSED = 32797; // a prompt, never a command
inline constexpr unsigned ID_CREATE_SHORTCUT = 32798;
inline constexpr unsigned ID_REGEX_REPLACE = 32799;

inline constexpr unsigned ID_OWN_COMMAND_FIRST = 32771;
inline constexpr unsigned ID_OWN_COMMAND_LAST = 32799;

// ---- the program's own status-bar panes and settings ------------------------------------------
inline constexpr unsigned kRecentFileCount = 4;     // the program keeps four
inline constexpr unsigned ID_INDICATOR_CODEPAGE = 59143; // filled by the view
inline constexpr unsigned ID_INDICATOR_POSITION = 59144; // filled by the view

} // namespace res
