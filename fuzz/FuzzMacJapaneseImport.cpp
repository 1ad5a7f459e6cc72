// Macintosh Japanese bytes to UTF-16: measuring and filling agree, no write past the
// measured count, and what an import gives survives an export and a second import.

#include "FuzzCheck.h"

#include "doc/MacJapanese.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t count = doc::MacJapaneseToUnicode(bytes, nullptr);
    FUZZ_CHECK(count <= size);
    std::vector<char16_t> units(count + 1, u'\uABCD'); // the last one is a guard
    FUZZ_CHECK(doc::MacJapaneseToUnicode(bytes, units.data()) == count);
    FUZZ_CHECK(units[count] == u'\uABCD');

    const std::u16string text(units.data(), count);
    FUZZ_CHECK(doc::decodeMacJapanese(doc::encodeMacJapanese(text)) == text);
    return 0;
}
