// The view's half of the document's load and save: the file's bytes decoded with the
// current code page into the edit control, and the control's text encoded back.

#include "view/CMyView.h"

#include "doc/JapaneseEncoding.h"
#include "platform/Utf16.h"
#include "platform/fx/Archive.h"
#include "platform/fx/UiHost.h"
#include "platform/nls/CodePages.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <new>
#include <utility>
#include <string>
#include <vector>

namespace {

using platform::toQString;

} // namespace

void CMyView::SerializeEncoded(platform::fx::Archive& ar)
{
    if (!ar.isLoading()) {
        WriteEncoded(ar);
        return;
    }
    // The page is chosen before anything is read, so a file refused for its size still
    // leaves the chosen page current; Cancel decodes with the page as it was.
    const bool pageChosen = std::exchange(m_bSkipLangSelect, false);
    if (m_nLangSelect == 1 && !pageChosen)
        OnLanguageSelect();
    const std::int64_t length = ar.fileLength();
    if (length > kMaxFileBytes) {
        platform::fx::showMessage(this, toQString(res::loadString(res::AFX_IDP_FILE_TOO_LARGE)),
                                  platform::fx::MsgIcon::Exclamation);
        ar.abortSilently();
        return;
    }
    ReadEncoded(ar, std::uint64_t(length));
}

void CMyView::ReadEncoded(platform::fx::Archive& ar, std::uint64_t byteCount)
{
    std::string bytes;
    try {
        bytes.resize(byteCount + 1);
    } catch (const std::bad_alloc&) {
        ar.failOutOfMemory();
        return;
    }
    if (ar.read(bytes.data(), std::int64_t(byteCount)) < std::int64_t(byteCount)) {
        ar.failEndOfFile();
        return;
    }
    // The text ends at the first zero byte.
    bytes[byteCount] = '\0';
    bytes.resize(std::char_traits<char>::length(bytes.c_str()));
    const std::size_t shownBytes = bytes.size();

    // Where each converted byte was in the file, for telling where an undecodable one was.
    std::vector<std::uint32_t> origins;
    if (m_bAutoDetectJa && m_nCodePage == 932)
        doc::ConvertJapaneseToShiftJis(bytes, &origins);

    namespace nls = platform::nls;
    std::u16string text;
    if (!bytes.empty()) {
        std::uint32_t flags =
            (m_nCodePage == nls::CP_UTF7 || m_nCodePage == nls::CP_UTF8) ? 0 : nls::MB_PRECOMPOSED;
        int units = nls::multiByteToWideChar(m_nCodePage, flags, bytes.data(),
                                             int(bytes.size()), nullptr, 0);
        // The escape-sequence pages (ISO-2022, HZ) refuse every flag; without this their
        // files would open empty.
        if (units == 0 && nls::lastConversionError() == nls::ConversionError::InvalidFlags) {
            flags = 0;
            units = nls::multiByteToWideChar(m_nCodePage, flags, bytes.data(), int(bytes.size()),
                                             nullptr, 0);
        }
        // A page the system cannot convert gives 0 units: the text opens empty.
        if (units > 0) {
            try {
                text.resize(std::size_t(units));
            } catch (const std::bad_alloc&) {
                ar.failOutOfMemory();
                return;
            }
            nls::multiByteToWideChar(m_nCodePage, flags, bytes.data(), int(bytes.size()),
                                     text.data(), units);
        }
    }
    // Told once the load has succeeded: first what is not shown at all, then what is shown
    // in place of bytes that could not be read.
    if (shownBytes < byteCount)
        AnnounceHiddenBytes(shownBytes, byteCount);
    if (!bytes.empty())
        AnnounceUndecodableBytes(bytes, origins);
    bytes = std::string();
    setText(text);
    viewport()->update();
}

void CMyView::WriteEncoded(platform::fx::Archive& ar)
{
    namespace nls = platform::nls;
    // A page that cannot convert would write an empty file over the old one: the save is
    // refused and the file on disk stays as it was. This holds for an empty text too, which
    // is what such a page made of the file when it was opened.
    auto refuse = [this, &ar] {
        platform::fx::showMessage(
            this,
            QString::fromStdU16String(res::formatString1(
                res::loadString(res::IDP_SAVE_CODEPAGE_UNSUPPORTED),
                QString::number(m_nCodePage).toStdU16String())),
            platform::fx::MsgIcon::Stop);
        ar.abortSilently();
    };
    if (!nls::isValidCodePage(m_nCodePage)) {
        refuse();
        return;
    }
    const std::u16string text = this->text();
    if (text.empty())
        return;
    if (!ConfirmLossySave(text)) {
        ar.abortSilently();
        return;
    }
    const int needed = nls::wideCharToMultiByte(m_nCodePage, 0, text.data(), int(text.size()),
                                                nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        refuse();
        return;
    }
    std::string bytes(std::size_t(needed) + 1, '\0');
    const int written = nls::wideCharToMultiByte(m_nCodePage, 0, text.data(), int(text.size()),
                                                 bytes.data(), needed + 1, nullptr, nullptr);
    ar.write(bytes.data(), written);
}
