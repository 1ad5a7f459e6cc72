#pragma once
// Where the settings file lives: <config folder>/Quillet/<base name>.ini, where the config
// folder is $XDG_CONFIG_HOME (when set to an absolute path) or ~/.config. Both folders are
// created when missing (mode 0700). When that fails, or no home folder is known, the file lies
// beside the program and is named after it. The file itself is not created here.

#include <string>
#include <string_view>

namespace platform::profile {

// What the settings path depends on. fromProcess() gathers it; tests build their own.
struct SettingsPathInputs {
    std::string home;           // $HOME, else the password database's home; "" when unknown
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME; "" when unset
    std::string programPath;    // the running program's full path; "" when unknown

    static SettingsPathInputs fromProcess();
};

// The full path of the settings file (UTF-8), fixed once at start-up. baseName is the file's
// name without extension ("quillet"). Returns "" only when neither a config folder nor the
// program's path is available; an IniFile over "" reads defaults and refuses every write.
std::string GetSettingsFilePath(std::string_view baseName, const SettingsPathInputs& inputs);
std::string GetSettingsFilePath(std::string_view baseName);

// The fallback file beside the program: programPath with its extension replaced by ".ini"
// (or ".ini" appended when it has none; a dot that starts the name or sits in a folder name
// is not an extension). When the path has no lower-case letter at all (no code point of
// general category Ll, e.g. "/OPT/TOOLS/QUILLET.BIN"), the file name is put in lower case:
// "/OPT/TOOLS/quillet.ini". The folders keep their case, since on a case-sensitive file
// system lower-casing them would name folders that do not exist.
std::string settingsPathBesideProgram(std::string_view programPath);

// The same rule for any file that lies beside the program and is named after it, such as
// the readme: extension is the new extension with its dot (".htm").
std::string pathBesideProgram(std::string_view programPath, std::string_view extension);

} // namespace platform::profile
