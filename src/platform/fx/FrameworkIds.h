#pragma once
// The framework's standard numbers, as an application framework ships them: the standard
// buttons, the framework's strings (57344 and up, 61440 and up), its commands (57600 and up),
// status-bar panes and bars. A program's resources use the same numbers for the same
// things; the program's own numbers lie below 57344.

namespace platform::fx::ids {

// ---- standard buttons and the separator --------------------------------------------------
inline constexpr unsigned IDOK = 1;
inline constexpr unsigned IDCANCEL = 2;
// A separator in a toolbar or status-bar layout.
inline constexpr unsigned ID_SEPARATOR = 0;
// The OK and Cancel buttons' texts.
inline constexpr unsigned IDS_BUTTON_OK = 7000;
inline constexpr unsigned IDS_BUTTON_CANCEL = 7001;

// ---- framework strings ----------------------------------------------------------------------
inline constexpr unsigned AFX_IDS_APP_TITLE = 57344;
inline constexpr unsigned AFX_IDS_IDLEMESSAGE = 57345;

// ---- framework commands ---------------------------------------------------------------------
inline constexpr unsigned ID_FILE_NEW = 57600;
inline constexpr unsigned ID_FILE_OPEN = 57601;
inline constexpr unsigned ID_FILE_SAVE = 57603;
inline constexpr unsigned ID_FILE_SAVE_AS = 57604;
inline constexpr unsigned ID_FILE_PRINT_SETUP = 57606;
inline constexpr unsigned ID_FILE_PRINT = 57607;
inline constexpr unsigned ID_FILE_PRINT_DIRECT = 57608;
inline constexpr unsigned ID_FILE_PRINT_PREVIEW = 57609;
// The recent-file list: the menu's placeholder is the first entry's command.
inline constexpr unsigned ID_FILE_MRU_FIRST = 57616;
inline constexpr unsigned ID_FILE_MRU_FILE1 = 57616;
inline constexpr unsigned ID_FILE_MRU_FILE2 = 57617;
inline constexpr unsigned ID_FILE_MRU_FILE3 = 57618;
inline constexpr unsigned ID_FILE_MRU_FILE4 = 57619;
inline constexpr unsigned ID_FILE_MRU_LAST = 57631; // the framework's range holds sixteen
inline constexpr unsigned ID_EDIT_CLEAR = 57632;
inline constexpr unsigned ID_EDIT_COPY = 57634;
inline constexpr unsigned ID_EDIT_CUT = 57635;
inline constexpr unsigned ID_EDIT_FIND = 57636;
inline constexpr unsigned ID_EDIT_PASTE = 57637;
inline constexpr unsigned ID_EDIT_REPEAT = 57640; // find next
inline constexpr unsigned ID_EDIT_REPLACE = 57641;
inline constexpr unsigned ID_EDIT_SELECT_ALL = 57642;
inline constexpr unsigned ID_EDIT_UNDO = 57643;
inline constexpr unsigned ID_EDIT_REDO = 57644;
inline constexpr unsigned ID_APP_ABOUT = 57664;
inline constexpr unsigned ID_APP_EXIT = 57665;
inline constexpr unsigned ID_NEXT_PANE = 57680;
inline constexpr unsigned ID_PREV_PANE = 57681;

inline constexpr unsigned ID_FRAMEWORK_COMMAND_FIRST = 57600;

// ---- status-bar panes (ids and, in the string table, their width samples) ------------------
inline constexpr unsigned ID_INDICATOR_EXT = 59136;
inline constexpr unsigned ID_INDICATOR_CAPS = 59137;
inline constexpr unsigned ID_INDICATOR_NUM = 59138;
inline constexpr unsigned ID_INDICATOR_SCRL = 59139;
inline constexpr unsigned ID_INDICATOR_OVR = 59140;
inline constexpr unsigned ID_INDICATOR_REC = 59141;
inline constexpr unsigned ID_INDICATOR_KANA = 59142;

// ---- bars: the show/hide commands and the bars' own control ids are the same numbers -------
inline constexpr unsigned ID_VIEW_TOOLBAR = 59392;
inline constexpr unsigned ID_VIEW_STATUS_BAR = 59393;
inline constexpr unsigned AFX_IDW_TOOLBAR = 59392;
inline constexpr unsigned AFX_IDW_STATUS_BAR = 59393;

// ---- framework prompts and messages ---------------------------------------------------------
inline constexpr unsigned AFX_IDS_OPENFILE = 61440;     // open dialog title
inline constexpr unsigned AFX_IDS_SAVEFILE = 61441;     // save-as dialog title
inline constexpr unsigned AFX_IDS_ALLFILTER = 61442;    // "all files" filter name
inline constexpr unsigned AFX_IDS_UNTITLED = 61443;     // title of a new document
inline constexpr unsigned AFX_IDS_UNNAMED_FILE = 61446; // stands for an empty path in messages

inline constexpr unsigned AFX_IDP_FAILED_TO_OPEN_DOC = 61697;
inline constexpr unsigned AFX_IDP_FAILED_TO_SAVE_DOC = 61698;
inline constexpr unsigned AFX_IDP_ASK_TO_SAVE = 61699;          // %1 file title
inline constexpr unsigned AFX_IDP_FAILED_TO_CREATE_DOC = 61700;
inline constexpr unsigned AFX_IDP_FILE_TOO_LARGE = 61701;
inline constexpr unsigned AFX_IDP_FAILED_TO_START_PRINT = 61702;
inline constexpr unsigned AFX_IDP_COMMAND_FAILURE = 61705;

// Dialog data validation.
inline constexpr unsigned AFX_IDP_PARSE_INT_RANGE = 61714;   // %1 low, %2 high
inline constexpr unsigned AFX_IDP_PARSE_STRING_SIZE = 61716; // %1 maximum length
inline constexpr unsigned AFX_IDP_PARSE_UINT = 61719;

inline constexpr unsigned AFX_IDP_FAILED_INVALID_FORMAT = 61728;

// File errors: AFX_IDP_FILE_NONE + cause (platform::fx::FileErrorCause), %1 the path.
inline constexpr unsigned AFX_IDP_FILE_NONE = 61856;
inline constexpr unsigned AFX_IDP_FILE_GENERIC = 61857;
inline constexpr unsigned AFX_IDP_FILE_NOT_FOUND = 61858;
inline constexpr unsigned AFX_IDP_FILE_BAD_PATH = 61859;
inline constexpr unsigned AFX_IDP_FILE_TOO_MANY_OPEN = 61860;
inline constexpr unsigned AFX_IDP_FILE_ACCESS_DENIED = 61861;
inline constexpr unsigned AFX_IDP_FILE_INVALID_FILE = 61862;
inline constexpr unsigned AFX_IDP_FILE_REMOVE_CURRENT = 61863;
inline constexpr unsigned AFX_IDP_FILE_DIR_FULL = 61864;
inline constexpr unsigned AFX_IDP_FILE_BAD_SEEK = 61865;
inline constexpr unsigned AFX_IDP_FILE_HARD_IO = 61866;
inline constexpr unsigned AFX_IDP_FILE_SHARING = 61867;
inline constexpr unsigned AFX_IDP_FILE_LOCKING = 61868;
inline constexpr unsigned AFX_IDP_FILE_DISKFULL = 61869;
inline constexpr unsigned AFX_IDP_FILE_EOF = 61870;

// Archive errors, %1 the path. Only the two a plain-text archive can meet are kept.
inline constexpr unsigned AFX_IDP_ARCH_GENERIC = 61873;
inline constexpr unsigned AFX_IDP_ARCH_ENDOFFILE = 61875;

} // namespace platform::fx::ids
