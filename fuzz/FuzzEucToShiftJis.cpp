// EUC-JP to Shift_JIS on arbitrary bytes: never longer than the data, never a zero byte
// made from a non-zero one, seven-bit text untouched.

#include "FuzzCheck.h"

#include "doc/JapaneseEncoding.h"

#include <algorithm>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string_view text(input.c_str()); // up to the first zero byte
    std::string bytes = input;
    doc::EucToShiftJis(bytes);
    FUZZ_CHECK(bytes.size() <= text.size());
    FUZZ_CHECK(bytes.find('\0') == std::string::npos);
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; }))
        FUZZ_CHECK(bytes == text);
    return 0;
}
