// Nothing changes in a file without a word: a save that would write characters the page
// cannot hold asks first, and an open that could not read every byte says so.

#include "view/CMyView.h"

#include "doc/CodePageText.h"
#include "doc/MacJapanese.h"
#include "platform/Utf16.h"
#include "platform/fx/UiHost.h"
#include "platform/nls/CodePages.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QRegularExpression>
#include <QTimer>

namespace {

using platform::toQString;
using platform::toU16String;

// The page's name as the language dialog lists it, without the padding after the number.
QString pageName(std::uint32_t cp)
{
    return toQString(platform::nls::codePageName(cp))
        .replace(QRegularExpression(QStringLiteral(" +")), QStringLiteral(" "));
}

QString hex(std::uint64_t value, int digits)
{
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

} // namespace

// Asks about the characters of text that loss describes; writtenAs is what the first one
// becomes. No selects that character and shows it.
static bool confirmLoss(CMyView& view, const platform::nls::EncodingLoss& loss,
                        std::u16string_view text, const QString& encodingName,
                        std::u16string_view writtenAs)
{
    if (!loss.any())
        return true;
    const int first = int(loss.firstIndex);
    const int line = view.lineFromChar(first);
    const std::u16string_view character = text.substr(loss.firstIndex, loss.firstLength);
    const QString message = toQString(res::formatStrings(
        res::loadString(res::IDP_SAVE_LOSES_CHARACTERS),
        {toU16String(encodingName), toU16String(QString::number(loss.count)),
         toU16String(QString::number(line + 1)),
         toU16String(QString::number(first - view.lineIndex(line) + 1)),
         toU16String(hex(loss.firstCodePoint, 4)), character, writtenAs}));
    const auto answer =
        platform::fx::showMessage(view.window(), message, platform::fx::MsgIcon::Exclamation,
                                  platform::fx::MsgButtons::YesNo);
    if (answer == platform::fx::MsgAnswer::Yes)
        return true;
    view.setSel(first, first + int(loss.firstLength));
    view.scrollCaret();
    return false;
}

bool CMyView::ConfirmLossySave(std::u16string_view text, const doc::SavedText& saved)
{
    return confirmLoss(*this, saved.lost, text, pageName(m_nCodePage), saved.firstWrittenAs);
}

bool CMyView::ConfirmLossyMacJapaneseExport(std::u16string_view text)
{
    const platform::nls::EncodingLoss loss = doc::findMacJapaneseLoss(text);
    if (!loss.any())
        return true;
    // Each unit without a row is one question mark.
    const std::u16string writtenAs(loss.firstLength, u'?');
    // Named as the export's menu item names it.
    return confirmLoss(*this, loss, text, toQString(u"Macintosh 日本語"), writtenAs);
}

void CMyView::AnnounceHiddenBytes(std::uint64_t offset, std::uint64_t fileBytes)
{
    const QString message = toQString(res::formatStrings(
        res::loadString(res::IDP_OPEN_ZERO_BYTE),
        {toU16String(QString::number(offset)), toU16String(hex(offset, 1)),
         toU16String(QString::number(fileBytes - offset))}));
    // Told once the opened text is on the screen, like the undecodable bytes.
    QTimer::singleShot(0, this, [this, message] {
        platform::fx::showMessage(window(), message, platform::fx::MsgIcon::Exclamation);
    });
}

void CMyView::AnnounceUndecodableBytes(const platform::nls::DecodingLoss& loss)
{
    const auto info = platform::nls::codePageInfo(m_nCodePage);
    if (!loss.any() || !info)
        return;
    const QString message = toQString(res::formatStrings(
        res::loadString(res::IDP_OPEN_UNDECODABLE_BYTES),
        {toU16String(QString::number(loss.byteCount)), toU16String(QString::number(loss.firstOffset)),
         toU16String(hex(loss.firstOffset, 1)), toU16String(pageName(m_nCodePage)),
         std::u16string(1, info->unicodeDefaultChar)}));
    // Told once the opened text is on the screen: the open itself has not finished yet.
    QTimer::singleShot(0, this, [this, message] {
        platform::fx::showMessage(window(), message, platform::fx::MsgIcon::Information);
    });
}
