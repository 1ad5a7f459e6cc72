// Any bytes as a settings file: reading keeps every byte (an unedited file is written back
// exactly), every lookup answers, and a value written reads back unchanged while the other
// values stay as they were.

#include "FuzzCheck.h"

#include "platform/profile/IniText.h"
#include "platform/profile/ValueForms.h"

#include <cstdint>
#include <string>

using platform::profile::IniText;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    IniText text(file);
    FUZZ_CHECK(text.bytes() == file);

    // The keys the program reads, and one the input may spell in other cases.
    static const std::u16string_view kKeys[] = {u"CodePage", u"LangSelect", u"Font932",
                                                u"File1", u"codepage", u""};
    for (const auto key : kKeys) {
        if (const auto value = text.value(u"Settings", key))
            platform::profile::leadingIntOf(*value);
        text.value(u"Recent File List", key);
    }
    const auto before = text.value(u"Settings", u"LangSelect");
    if (text.setValue(u"Settings", u"CodePage", u" \"65001\" ")) {
        FUZZ_CHECK(text.value(u"Settings", u"CodePage") == u" \"65001\" ");
        FUZZ_CHECK(text.value(u"Settings", u"LangSelect") == before);
        // What was written reads the same from the bytes a save would write.
        const IniText again(text.bytes());
        FUZZ_CHECK(again.value(u"Settings", u"CodePage") == u" \"65001\" ");
    }
    text.removeKey(u"Settings", u"Font932");
    text.removeSection(u"Recent File List");
    FUZZ_CHECK(!text.value(u"Recent File List", u"File1"));
    return 0;
}
