// The view's language commands: the code page chosen from the installed ones, the font
// that belongs to each code page, and the options dialog over the view's three switches.

#include "view/CMyView.h"

#include "dialogs/LangSelectDlg.h"
#include "view/LanguageFallbackFont.h"
#include "doc/LogFontQt.h"
#include "dialogs/OptionsDlg.h"
#include "platform/Utf16.h"
#include "platform/fx/App.h"
#include "platform/fx/UiHost.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "view/ViewSettings.h"

#include <QFontInfo>

namespace {

using platform::fx::kSettingsSection;

QString fontKey(std::uint32_t codePage)
{
    return platform::toQString(doc::languageFontKey(codePage));
}

} // namespace

void CMyView::OnLanguageSelect()
{
    CLangSelectDlg dialog(platform::fx::dialogParentOf(this));
    dialog.m_nCodePage = m_nCodePage;
    if (platform::fx::UiHost::current().runModal(dialog) != QDialog::Accepted)
        return;
    SelectCodePage(dialog.m_nCodePage);
}

void CMyView::SelectCodePage(std::uint32_t codePage)
{
    // The outgoing page keeps its font under its own key before the page changes; the
    // same page chosen again reads back what was just stored.
    SaveLanguageFont();
    m_nCodePage = codePage;
    m_font = QFont();
    LoadLanguageFont();
    ApplyFont();
}

void CMyView::LoadLanguageFont()
{
    const int dpi = doc::screenLogPixelsY();
    const doc::LogFont fallback = doc::defaultLanguageFont(dpi);
    m_font = doc::fontFromLogFont(fallback);
    m_logFont = fallback;
    auto* app = platform::fx::App::instance();
    if (!app)
        return;
    const auto value = app->getProfileBinary(kSettingsSection, fontKey(m_nCodePage));
    if (!value)
        return;
    // A value of any other length than the record's, or one no screen could show, is not a
    // font: the default stays.
    const auto stored = view::repairFontRecord(std::span(
        reinterpret_cast<const std::uint8_t*>(value->constData()), std::size_t(value->size())));
    if (stored)
        m_logFont = *stored;
}

void CMyView::SaveLanguageFont()
{
    auto* app = platform::fx::App::instance();
    if (!app)
        return;
    const auto bytes = m_logFont.toBytes();
    app->writeProfileBinary(kSettingsSection, fontKey(m_nCodePage),
                            QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                       qsizetype(bytes.size())));
}

void CMyView::ApplyFont()
{
    // Glyphs the face lacks come from the face that writes the code page's own script.
    m_font = view::withLanguageFallback(doc::fontFromLogFont(m_logFont), m_nCodePage);
    // The control re-lays its text and its tab stops for the new font.
    setFont(m_font);
}

void CMyView::OnFontSelect()
{
    const int dpi = doc::screenLogPixelsY();
    platform::fx::FontDialogRequest request;
    // Titled with the command's short name, "フォント".
    request.title = platform::toQString(res::commandPrompt(res::ID_FONT_SELECT).tooltip);
    // The dialog starts on the face that is really drawn (a substitute for one this system
    // lacks) and counts sizes in points.
    request.initial = m_font;
    const QFontInfo drawn(m_font);
    request.initial.setFamily(drawn.family());
    // The dialog finds the style by name, and the name it would make up from the weight is
    // translated ("標準") where the face's own is not ("Regular"): without the face's own
    // name it falls on the first style, often Bold, and OK alone would change the font.
    request.initial.setStyleName(drawn.styleName());
    if (m_logFont.lfHeight < 0)
        request.initial.setPointSizeF(-m_logFont.lfHeight * 72.0 / dpi);
    const auto chosen =
        platform::fx::UiHost::current().fontDialog(platform::fx::dialogParentOf(this), request);
    if (!chosen)
        return;
    m_logFont = doc::logFontFromFont(*chosen, dpi, m_logFont);
    ApplyFont();
}

void CMyView::OnOptions()
{
    COptionsDlg dialog(platform::fx::dialogParentOf(this));
    dialog.m_bAutoDetect = m_bAutoDetectJa;
    dialog.m_nNcrRadix = m_nNcrRadix;
    dialog.m_bShowLangDlg = m_nLangSelect == 1 ? 1 : 0;
    if (platform::fx::UiHost::current().runModal(dialog) != QDialog::Accepted)
        return;
    m_nNcrRadix = dialog.m_nNcrRadix;
    m_nLangSelect = dialog.m_bShowLangDlg ? 1 : 0;
    m_bAutoDetectJa = dialog.m_bAutoDetect;
}
