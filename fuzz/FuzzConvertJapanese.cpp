// Detection and conversion together: a result code of the four known, and Shift_JIS or
// undecided bytes left exactly as they were (bytes after a zero byte included).

#include "FuzzCheck.h"

#include "doc/JapaneseEncoding.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string bytes = input;
    const doc::JapaneseEncoding found = doc::ConvertJapaneseToShiftJis(bytes);
    FUZZ_CHECK(found == doc::DetectJapaneseEncoding(input));
    switch (found) {
    case doc::JapaneseEncoding::Undecided:
    case doc::JapaneseEncoding::ShiftJis:
        FUZZ_CHECK(bytes == input);
        break;
    case doc::JapaneseEncoding::EucJp:
    case doc::JapaneseEncoding::Iso2022Jp:
        FUZZ_CHECK(bytes.size() <= std::string_view(input.c_str()).size());
        break;
    default:
        FUZZ_CHECK(!"unknown result code");
    }
    return 0;
}
