#include "view/CMyView.h"

#include "platform/fx/App.h"
#include "platform/fx/Frame.h"
#include "res/Menus.h"
#include "res/Resource.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>

using platform::fx::CmdUI;
using platform::fx::CommandEntry;

namespace {

using platform::fx::kSettingsSection;

platform::fx::App* app()
{
    return platform::fx::App::instance();
}

} // namespace

CMyView::CMyView(QWidget* parent) : CMyEditView(parent)
{
    // The word-wrap setting shapes the control, so it is read before anything else.
    if (app())
        m_bWordWrap = app()->getProfileInt(kSettingsSection, QStringLiteral("WordWrap"), 0) ? 1 : 0;
    setWordWrap(m_bWordWrap != 0);
}

CMyView::~CMyView() = default;

const platform::fx::CommandMap& CMyView::classCommands()
{
    using V = CMyView;
    using platform::fx::onCommand;
    using platform::fx::onCommandRange;
    using platform::fx::onUpdateOnly;
    static const CommandEntry entries[] = {
        onCommand<&V::OnLanguageSelect>(res::ID_LANGUAGE_SELECT),
        onCommand<&V::OnFontSelect>(res::ID_FONT_SELECT),
        onCommand<&V::OnOptions>(res::ID_OPTIONS),
        onCommand<&V::OnImportJapanese>(res::ID_IMPORT_JAPANESE),
        onCommand<&V::OnImportMacJapanese>(res::ID_IMPORT_MAC_JAPANESE),
        onCommand<&V::OnExportMacJapanese>(res::ID_EXPORT_MAC_JAPANESE),
        onCommand<&V::OnImportUnicode>(res::ID_IMPORT_UNICODE),
        onCommandRange<&V::OnExportUnicode>(res::ID_EXPORT_UNICODE, res::ID_EXPORT_UTF8),
        onUpdateOnly<&V::OnUpdateCodePagePane>(res::ID_INDICATOR_CODEPAGE),
        onUpdateOnly<&V::OnUpdatePositionPane>(res::ID_INDICATOR_POSITION),
    };
    static const platform::fx::CommandMap map{&CMyEditView::classCommands(), entries};
    return map;
}

bool CMyView::OnCreate()
{
    if (!CMyEditView::OnCreate())
        return false;
    if (app()) {
        m_nCodePage =
            std::uint32_t(app()->getProfileInt(kSettingsSection, QStringLiteral("CodePage"), 932));
        m_nLangSelect = app()->getProfileInt(kSettingsSection, QStringLiteral("LangSelect"), 1);
    }
    // The font of the page just read.
    m_font = QFont();
    LoadLanguageFont();
    ApplyFont();
    if (app()) {
        m_nTabStops = app()->getProfileInt(kSettingsSection, QStringLiteral("TabStops"), 4);
        m_nNcrRadix = app()->getProfileInt(kSettingsSection, QStringLiteral("Ncr"), 0);
        m_bAutoDetectJa = app()->getProfileInt(kSettingsSection, QStringLiteral("Ja"), 0) ? 1 : 0;
    }
    setTabStops(m_nTabStops * 4);
    return true;
}

void CMyView::onDestroy()
{
    if (!app())
        return;
    SaveLanguageFont();
    m_font = QFont();
    app()->writeProfileInt(kSettingsSection, QStringLiteral("TabStops"), m_nTabStops);
    app()->writeProfileInt(kSettingsSection, QStringLiteral("CodePage"), int(m_nCodePage));
    app()->writeProfileInt(kSettingsSection, QStringLiteral("LangSelect"), m_nLangSelect);
    app()->writeProfileInt(kSettingsSection, QStringLiteral("Ncr"), m_nNcrRadix);
    app()->writeProfileInt(kSettingsSection, QStringLiteral("Ja"), m_bAutoDetectJa ? 1 : 0);
    app()->writeProfileInt(kSettingsSection, QStringLiteral("WordWrap"), m_bWordWrap ? 1 : 0);
}

void CMyView::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard the menu opens where the mouse pointer is.
    const QPoint global = event->reason() == QContextMenuEvent::Keyboard ? QCursor::pos()
                                                                          : event->globalPos();
    QRect text = formattingRect();
    text.moveTopLeft(viewport()->mapToGlobal(text.topLeft()));
    // Outside the text area (over a scroll bar) no menu at all is shown.
    if (!text.contains(global))
        return;
    auto* frame = qobject_cast<platform::fx::Frame*>(window());
    if (!frame)
        return;
    QMenu* menu = frame->buildPopup(res::contextMenu(), this);
    frame->updateMenu(menu);
    menu->exec(global);
    menu->deleteLater();
}
