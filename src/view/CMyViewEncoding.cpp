// The view's half of the document's load and save: the file's bytes decoded with the
// current code page into the edit control, and the control's text encoded back.

#include "view/CMyView.h"

#include "doc/CodePageText.h"
#include "platform/Utf16.h"
#include "platform/fx/Archive.h"
#include "platform/fx/UiHost.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <new>
#include <utility>
#include <string>

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
    // The text ends at the first zero byte, at the latest at this one.
    bytes[byteCount] = '\0';
    doc::OpenedText opened;
    try {
        opened = doc::decodeOpenedFile(std::move(bytes), m_nCodePage,
                                       m_bAutoDetectJa ? doc::DetectJapanese::Yes
                                                       : doc::DetectJapanese::No);
    } catch (const std::bad_alloc&) {
        ar.failOutOfMemory();
        return;
    }
    // Told once the load has succeeded: first what is not shown at all, then what is shown
    // in place of bytes that could not be read.
    if (opened.shownBytes < byteCount)
        AnnounceHiddenBytes(opened.shownBytes, byteCount);
    if (opened.undecodable.any())
        AnnounceUndecodableBytes(opened.undecodable);
    setText(opened.text);
    viewport()->update();
}

void CMyView::WriteEncoded(platform::fx::Archive& ar)
{
    // A page that cannot convert would write an empty file over the old one: the save is
    // refused and the file on disk stays as it was. This holds for an empty text too, which
    // is what such a page made of the file when it was opened.
    auto refuse = [this, &ar] {
        platform::fx::showMessage(
            this,
            platform::toQString(res::formatString1(
                res::loadString(res::IDP_SAVE_CODEPAGE_UNSUPPORTED),
                platform::toU16String(QString::number(m_nCodePage)))),
            platform::fx::MsgIcon::Stop);
        ar.abortSilently();
    };
    const std::u16string text = this->text();
    const auto saved = doc::encodeForSave(text, m_nCodePage);
    if (!saved) {
        refuse();
        return;
    }
    if (text.empty())
        return;
    if (!ConfirmLossySave(text, *saved)) {
        ar.abortSilently();
        return;
    }
    ar.write(saved->bytes.data(), std::int64_t(saved->bytes.size()));
}
