// The view's settings as it reads them at creation, each put right by the settings table
// when it no longer fits this machine, and the open path's guard against a code page that
// cannot decode.

#include "view/CMyView.h"

#include "platform/Utf16.h"
#include "platform/fx/App.h"
#include "platform/fx/UiHost.h"
#include "platform/nls/CodePages.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "view/ViewSettings.h"

std::int32_t CMyView::ReadViewSetting(std::u16string_view key)
{
    const view::ViewSettingRule& rule = view::viewSettingRule(key);
    auto* app = platform::fx::App::instance();
    const std::int32_t stored =
        app ? app->getProfileInt(platform::fx::kSettingsSection, platform::toQString(key),
                                rule.defaultValue)
            : rule.defaultValue;
    return view::repairViewSetting(rule, stored);
}

void CMyView::ReadCodePageSetting()
{
    const view::ViewSettingRule& rule = view::viewSettingRule(u"CodePage");
    auto* app = platform::fx::App::instance();
    const std::int32_t stored =
        app ? app->getProfileInt(platform::fx::kSettingsSection, platform::toQString(rule.key),
                                rule.defaultValue)
            : rule.defaultValue;
    const std::int32_t usable = view::repairViewSetting(rule, stored);
    m_nCodePage = std::uint32_t(usable);
    if (usable == stored)
        return;
    // Said once, now: the setting itself is rewritten with the page in use when the view
    // goes, so the next start is quiet.
    const std::u16string text = res::formatString1(res::loadString(res::IDP_CODEPAGE_NOT_INSTALLED),
                                                    platform::toU16String(QString::number(stored)));
    platform::fx::showMessage(platform::fx::dialogParentOf(this), platform::toQString(text),
                              platform::fx::MsgIcon::Information);
}

bool CMyView::CheckCodePageForOpen()
{
    if (platform::nls::isValidCodePage(m_nCodePage))
        return true;
    // Decoding would give an empty text that looks like an empty file.
    const std::u16string text = res::formatString1(
        res::loadString(res::IDP_OPEN_CODEPAGE_UNSUPPORTED),
        platform::toU16String(QString::number(m_nCodePage)));
    platform::fx::showMessage(platform::fx::dialogParentOf(this), platform::toQString(text),
                              platform::fx::MsgIcon::Stop);
    return false;
}
