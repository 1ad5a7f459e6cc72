// The bytes of an open and a save, converted with the view's code page.

#include "doc/CodePageText.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "doc/JapaneseEncoding.h"
#include "platform/nls/CodePages.h"

namespace doc {

namespace nls = platform::nls;

OpenedText decodeOpenedFile(std::string bytes, nls::CodePage cp, DetectJapanese detect)
{
    OpenedText opened;
    // The text ends at the first zero byte.
    if (const std::size_t zero = bytes.find('\0'); zero != std::string::npos)
        bytes.resize(zero);
    opened.shownBytes = bytes.size();

    // Where each converted byte was in the file, for telling where an undecodable one was.
    std::vector<std::uint32_t> origins;
    if (detect == DetectJapanese::Yes && cp == 932)
        ConvertJapaneseToShiftJis(bytes, &origins);
    if (bytes.empty())
        return opened;

    // A page the system cannot convert gives no text: the file opens empty.
    std::optional<nls::DecodedText> decoded = nls::decode(cp, bytes);
    if (!decoded)
        return opened;
    opened.text = std::move(decoded->text);
    opened.undecodable = decoded->undecodable;
    // The place in the file, not in the bytes converted from it.
    if (opened.undecodable.any() && opened.undecodable.firstOffset < origins.size())
        opened.undecodable.firstOffset = origins[opened.undecodable.firstOffset];
    return opened;
}

std::optional<SavedText> encodeForSave(std::u16string_view text, nls::CodePage cp)
{
    if (!nls::isValidCodePage(cp))
        return std::nullopt;
    SavedText saved;
    if (text.empty())
        return saved;
    std::optional<nls::EncodedText> encoded =
        nls::encode(cp, text, nls::LostCharacters::Find);
    // A text never encodes to nothing; if it does, the page failed.
    if (!encoded || encoded->bytes.empty())
        return std::nullopt;
    saved.bytes = std::move(encoded->bytes);
    saved.lost = encoded->lost;
    if (saved.lost.any())
        saved.firstWrittenAs = nls::savedFormOf(
            cp, text.substr(saved.lost.firstIndex, saved.lost.firstLength));
    return saved;
}

} // namespace doc
