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

const QString kSettings = QStringLiteral("Settings");

platform::fx::App* app()
{
    return platform::fx::App::instance();
}

} // namespace

CMyView::CMyView(QWidget* parent) : CMyEditView(parent)
{
    // The word-wrap setting shapes the control, so it is read before anything else.
    if (app())
        m_bWordWrap = ReadViewSetting(u"WordWrap");
    setWordWrap(m_bWordWrap != 0);
}

CMyView::~CMyView() = default;

std::span<const CommandEntry<CMyView>> CMyView::commandMap()
{
    using V = CMyView;
    static const CommandEntry<V> map[] = {
        platform::fx::onCommand<V>(res::ID_LANGUAGE_SELECT, &V::OnLanguageSelect),
        platform::fx::onCommand<V>(res::ID_FONT_SELECT, &V::OnFontSelect),
        platform::fx::onCommand<V>(res::ID_OPTIONS, &V::OnOptions),
        platform::fx::onCommand<V>(res::ID_IMPORT_JAPANESE, &V::OnImportJapanese),
        platform::fx::onCommand<V>(res::ID_IMPORT_MAC_JAPANESE, &V::OnImportMacJapanese),
        platform::fx::onCommand<V>(res::ID_EXPORT_MAC_JAPANESE, &V::OnExportMacJapanese),
        platform::fx::onCommand<V>(res::ID_IMPORT_UNICODE, &V::OnImportUnicode),
        platform::fx::onCommandRange<V>(res::ID_EXPORT_UNICODE, res::ID_EXPORT_UTF8,
                                        &V::OnExportUnicode),
        platform::fx::onCommand<V>(res::ID_TAB_STOPS, &V::OnTabWidth),
        platform::fx::onCommand<V>(res::ID_GOTO_LINE, &V::OnGotoLine),
        platform::fx::onCommand<V>(res::ID_WORD_WRAP, &V::OnWordWrap, &V::OnUpdateWordWrap),
        platform::fx::onCommand<V>(res::ID_INSERT_TAB, &V::OnInsertTab),
        platform::fx::onCommand<V>(res::ID_DELETE_TO_LINE_END, &V::OnDeleteToLineEnd),
        platform::fx::onCommand<V>(res::ID_NOTHING, &V::OnNothing),
        platform::fx::onCommand<V>(res::ID_NORMALIZE_LINE_ENDS, &V::OnNormalizeLineEnds,
                                   &V::OnUpdateNeedText),
        platform::fx::onCommand<V>(res::ID_NCR, &V::OnNumericCharRef, &V::OnUpdateNeedSel),
        platform::fx::onCommand<V>(res::ID_CODE_INPUT, &V::OnCodeInput),
        platform::fx::onCommand<V>(res::ID_INSERT_DATETIME, &V::OnInsertDateTime),
        platform::fx::onCommand<V>(res::ID_REGEX_REPLACE, &V::OnRegexReplace, &V::OnUpdateNeedText),
        platform::fx::onUpdateOnly<V>(res::ID_INDICATOR_CODEPAGE, &V::OnUpdateCodePagePane),
        platform::fx::onUpdateOnly<V>(res::ID_INDICATOR_POSITION, &V::OnUpdatePositionPane),
    };
    return map;
}

bool CMyView::onCommand(unsigned id)
{
    return platform::fx::dispatchCommand(this, commandMap(), id) || CMyEditView::onCommand(id);
}

bool CMyView::onUpdate(CmdUI& ui)
{
    return platform::fx::dispatchUpdate(this, commandMap(), ui) || CMyEditView::onUpdate(ui);
}

bool CMyView::OnCreate()
{
    if (!CMyEditView::OnCreate())
        return false;
    if (app()) {
        ReadCodePageSetting();
        m_nLangSelect = ReadViewSetting(u"LangSelect");
    }
    // The font of the page just read.
    m_font = QFont();
    LoadLanguageFont();
    ApplyFont();
    if (app()) {
        m_nTabStops = ReadViewSetting(u"TabStops");
        m_nNcrRadix = ReadViewSetting(u"Ncr");
        m_bAutoDetectJa = ReadViewSetting(u"Ja");
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
    app()->writeProfileInt(kSettings, QStringLiteral("TabStops"), m_nTabStops);
    app()->writeProfileInt(kSettings, QStringLiteral("CodePage"), int(m_nCodePage));
    app()->writeProfileInt(kSettings, QStringLiteral("LangSelect"), m_nLangSelect);
    app()->writeProfileInt(kSettings, QStringLiteral("Ncr"), m_nNcrRadix);
    app()->writeProfileInt(kSettings, QStringLiteral("Ja"), m_bAutoDetectJa ? 1 : 0);
    app()->writeProfileInt(kSettings, QStringLiteral("WordWrap"), m_bWordWrap ? 1 : 0);
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
