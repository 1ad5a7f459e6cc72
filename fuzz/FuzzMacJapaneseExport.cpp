// UTF-16 to Macintosh Japanese: measuring and filling agree, one or two bytes a unit, no
// write past the measured count, no zero byte before the text's first zero unit.

#include "FuzzCheck.h"

#include "doc/MacJapanese.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * 2);
    const std::size_t units = std::u16string_view(text.c_str()).size();

    const std::size_t count = doc::UnicodeToMacJapanese(text, nullptr);
    FUZZ_CHECK(count >= units && count <= 2 * units);
    std::vector<char> bytes(count + 1, '\x55'); // the last one is a guard
    FUZZ_CHECK(doc::UnicodeToMacJapanese(text, bytes.data()) == count);
    FUZZ_CHECK(bytes[count] == '\x55');
    FUZZ_CHECK(std::memchr(bytes.data(), 0, count) == nullptr);
    return 0;
}
