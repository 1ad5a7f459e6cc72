#pragma once
// The template store: one file "<name>.tpl" per template in the template folder, holding FF FE
// and the text as UTF-16LE. The folder is the only record; names are listed from it in the
// collation order of the user's locale. Qt-free.

#include <string>
#include <string_view>
#include <vector>

namespace doc {

// What the template folder depends on; fromProcess() gathers it, tests build their own.
struct FolderInputs {
    std::string home;         // $HOME, else the password database's; "" when unknown
    std::string xdgDataHome;  // $XDG_DATA_HOME; "" when unset
    std::string programPath;  // the running program's full path; "" when unknown

    static FolderInputs fromProcess();
};

// The folder the program uses: "template" beside the program when that is a folder (a
// portable copy), otherwise the per-user folder. "" when neither can be named.
std::string templateFolder(const FolderInputs& inputs);
// The per-user folder: $XDG_DATA_HOME/Quillet/template when XDG_DATA_HOME is an absolute
// path, else ~/.local/share/Quillet/template; "" without a home folder (or with a relative
// one).
std::string userTemplateFolder(const FolderInputs& inputs);

// Whether name can be a file name here: neither "/" nor NUL in it.
bool isStorableName(std::u16string_view name);

// The full path of template name in folder (UTF-8).
std::string templatePath(const std::string& folder, std::u16string_view name);

// The names in folder, sorted (sortNames). Every entry whose name ends in ".tpl" counts,
// folders included; names that are not valid UTF-8 are left out, since they could not be
// named again. A missing or unreadable folder gives none.
std::vector<std::u16string> listNames(const std::string& folder);

// Sorts ascending by the collator of the user's locale (platform::nls::userCollationLocale,
// the one find compares with), case-sensitive. Names that compare equal may end in either order.
void sortNames(std::vector<std::u16string>& names);

// The text of a template file: every whole UTF-16LE code unit after the first two bytes,
// whatever those hold; an odd last byte is ignored.
std::u16string decodeTemplate(std::string_view bytes);
// The bytes of a template file for text: FF FE, then text as UTF-16LE.
std::string encodeTemplate(std::u16string_view text);

// Whether two names differ only in letter case (or not at all), by case folding.
bool sameIgnoringCase(std::u16string_view a, std::u16string_view b);

// What renaming a template came to; error is the errno of a Failed rename.
struct RenameOutcome {
    enum class Result { Renamed, Unchanged, Duplicate, Failed } result;
    int error = 0;
};

// Renames template from to to in folder. Another template under the new name is a
// duplicate, even one whose name differs only in letter case (another file here); the same
// name again changes nothing. On a folder that ignores letter case, the new name may find
// the template itself: the rename then only changes its case. Never replaces a file.
RenameOutcome renameTemplate(const std::string& folder, std::u16string_view from,
                             std::u16string_view to);

} // namespace doc
