// ISO-2022-JP to Shift_JIS on arbitrary bytes: never longer than the data, never a zero
// byte made from a non-zero one, and without escapes or shifts everything is copied.

#include "FuzzCheck.h"

#include "doc/JapaneseEncoding.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string_view text(input.c_str());
    std::string bytes = input;
    doc::JisToShiftJis(bytes);
    FUZZ_CHECK(bytes.size() <= text.size());
    FUZZ_CHECK(bytes.find('\0') == std::string::npos);
    if (text.find_first_of("\x1b\x0e\x0f") == std::string_view::npos)
        FUZZ_CHECK(bytes == text);
    return 0;
}
