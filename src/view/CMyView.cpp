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
        m_bWordWrap = ReadViewSetting(u"WordWrap");
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
        onCommand<&V::OnTabWidth>(res::ID_TAB_STOPS),
        onCommand<&V::OnGotoLine>(res::ID_GOTO_LINE),
        onCommand<&V::OnWordWrap, &V::OnUpdateWordWrap>(res::ID_WORD_WRAP),
        onCommand<&V::OnInsertTab>(res::ID_INSERT_TAB),
        onCommand<&V::OnDeleteToLineEnd>(res::ID_DELETE_TO_LINE_END),
        onCommand<&V::OnNothing>(res::ID_NOTHING),
        onCommand<&V::OnNormalizeLineEnds, &V::OnUpdateNeedText>(res::ID_NORMALIZE_LINE_ENDS),
        onCommand<&V::OnNumericCharRef, &V::OnUpdateNeedSel>(res::ID_NCR),
        onCommand<&V::OnCodeInput>(res::ID_CODE_INPUT),
        onCommand<&V::OnInsertDateTime>(res::ID_INSERT_DATETIME),
        onCommand<&V::OnRegexReplace, &V::OnUpdateNeedText>(res::ID_REGEX_REPLACE),
        onCommand<&V::OnFilePrint>(res::ID_FILE_PRINT),
        onCommand<&V::OnFilePrintDirect>(res::ID_FILE_PRINT_DIRECT),
        onCommand<&V::OnFilePrintPreview>(res::ID_FILE_PRINT_PREVIEW),
        onCommand<&V::OnFilePrintSetup>(res::ID_FILE_PRINT_SETUP),
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
