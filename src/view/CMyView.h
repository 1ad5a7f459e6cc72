#pragma once
// The editor's view: the edit view with the program's options (code page, language
// dialog, Japanese detection, references, tab width, word wrap), its font, the code-page
// load and save of the document's text, and the two status-bar panes it fills.

#include "doc/DocumentText.h"
#include "edit/CMyEditView.h"
#include "view/CaretPosition.h"
#include "doc/LogFont.h"

#include <QFont>
#include <QRect>
#include <memory>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include <string_view>
#include <span>

namespace platform::fx { class Archive; }
namespace platform::nls { struct DecodingLoss; }
namespace doc { struct SavedText; }
class QPainter;
class QPrinter;
struct CPrintJob;

// What one print or preview run knows of its pages.
struct CPrintInfo {
    bool m_bPreview = false;
    unsigned m_nCurPage = 1;   // 1-based
    QRect m_rectDraw;          // the page's drawing rectangle in device units
    unsigned m_nLastPage = 0;  // pages found by the pagination
};
namespace view { struct RegexReplaceRequest; }

class CMyView : public CMyEditView, public CDocumentText {
    Q_OBJECT
public:
    explicit CMyView(QWidget* parent = nullptr);
    ~CMyView() override;

    // Creation: the edit view's, then the settings of the view in their order.
    bool OnCreate() override;
    // Destruction: the settings written back.
    void onDestroy() override;

    // ---- settings read at creation, put right when they no longer fit the machine -------------
    // A view setting from "Settings", by the view's settings table (view/ViewSettings.h).
    static std::int32_t ReadViewSetting(std::u16string_view key);
    // m_nCodePage from "CodePage"; a page this system cannot convert becomes 932, and the
    // user is told once, in a message naming the stored page.
    void ReadCodePageSetting();
    bool CheckCodePageForOpen() override;
    // The largest file that opens or imports: one byte short of 1 MiB.
    static constexpr std::int64_t kMaxFileBytes = 0xFFFFF;

    // ---- code-page load and save (the document forwards its serialize here) -------------------
    void SerializeEncoded(platform::fx::Archive& ar) override;
    void DeleteText() override { setText(std::u16string_view()); }
    void ReadEncoded(platform::fx::Archive& ar, std::uint64_t byteCount);
    void WriteEncoded(platform::fx::Archive& ar);
    // Before text is written with the current page: when characters would change, asks
    // whether to save anyway; No selects the first such character and gives false.
    // saved is what the save would write.
    bool ConfirmLossySave(std::u16string_view text, const doc::SavedText& saved);
    // The same question before the Macintosh Japanese export.
    bool ConfirmLossyMacJapaneseExport(std::u16string_view text);
    // After an open: when bytes could not be decoded with the current page, says so once
    // the text is on the screen (loss as the open found it, its offset in the file).
    void AnnounceUndecodableBytes(const platform::nls::DecodingLoss& loss);
    // After an open whose text ended at a zero byte at offset, fileBytes into the file:
    // says that the rest is not shown and that a save drops it.
    void AnnounceHiddenBytes(std::uint64_t offset, std::uint64_t fileBytes);

    // ---- language, font and options ------------------------------------------------------------
    // Language dialog: on OK the outgoing page's font is stored, the chosen page becomes
    // current and its font is shown, even when the same page was chosen; the text on screen
    // is never decoded again. Also run before a file is decoded when m_nLangSelect is 1.
    void OnLanguageSelect();
    // codePage becomes current as the language dialog's OK makes it (the fonts follow).
    void SelectCodePage(std::uint32_t codePage);
    // The next file opens in the current code page without the language dialog: a text
    // taken back from its recovery record was edited in that page. Cleared by that load, or
    // by passing false when the open goes no further.
    void SkipLanguageDialogOnce(bool skip = true) { m_bSkipLangSelect = skip; }
    // Font dialog: the chosen font becomes the current page's font (stored at the next
    // change of language or at destruction).
    void OnFontSelect();
    // m_logFont from the current page's "Font<cp>" setting, or the default font; m_font
    // holds the default until ApplyFont.
    void LoadLanguageFont();
    // m_logFont into the current page's "Font<cp>" setting.
    void SaveLanguageFont();
    // m_font made from m_logFont and set into the edit control.
    void ApplyFont();
    // Options dialog over m_bAutoDetectJa, m_nNcrRadix and m_nLangSelect.
    void OnOptions();

    // ---- status bar ---------------------------------------------------------------------------
    // ---- import and export ---------------------------------------------------------------------
    // Japanese in EUC-JP, ISO-2022-JP or Shift_JIS, detected from the bytes.
    void OnImportJapanese();
    void OnImportMacJapanese();
    void OnExportMacJapanese();
    // UTF-16 in either byte order or UTF-8, told apart by the byte-order mark.
    void OnImportUnicode();
    // One handler for the three forms: id selects UTF-16 LE, UTF-16 BE or UTF-8, each with
    // its mark.
    void OnExportUnicode(unsigned id);
    // An error box: prefix followed by the system's text for error.
    void ReportLastError(const QString& prefix, int error);

    void OnUpdateCodePagePane(platform::fx::CmdUI& ui);
    void OnUpdatePositionPane(platform::fx::CmdUI& ui);
    void GetCaretPosition(long& line, long& column, long& lineCount);
    void FitPaneToText(platform::fx::CmdUI& ui, const QString& text);

    // ---- view commands (CMyViewCommands.cpp) ----------------------------------------------------
    // Tab width: one tab stop every n average characters, n from 1 to 65535.
    void OnTabWidth();
    // Go to line: the caret to the start of a line of the control (a display row while
    // wrapping), proposing the line the status bar showed last.
    void OnGotoLine();
    // Word wrap on or off; m_bWordWrap follows the control.
    void OnWordWrap();
    void OnUpdateWordWrap(platform::fx::CmdUI& ui);
    // Whether the control wraps at its right edge.
    bool IsWordWrap() const;
    // Switches wrapping: true when it changed, false when it already was as wanted.
    bool SetWordWrap(bool wrap);
    // Ctrl+Tab: a tab character replaces the selection, undoable.
    void OnInsertTab();
    // Ctrl+Delete: deletes the selection, or else from the caret to the end of its line in
    // the text (a logical line, also while wrapping), keeping the line end.
    void OnDeleteToLineEnd();
    // Ctrl+Shift+Delete: nothing.
    void OnNothing();
    // The message every failed search shows.
    void OnTextNotFound(const QString& find) override;
    // ---- conversions and insertions -----------------------------------------------------------
    // Every foreign line end (lone CR, lone LF) of the whole text becomes CR LF.
    void OnNormalizeLineEnds();
    // The selection as numeric character references, decimal or (m_nNcrRadix) hexadecimal.
    void OnNumericCharRef();
    // The code-input dialog; a number in 1..65535 inserts that UTF-16 unit.
    void OnCodeInput();
    // The time and date with the weekday in the language of m_nCodePage.
    void OnInsertDateTime();
    // The regular-expression replace dialog, then the replace over the whole text.
    void OnRegexReplace();
    // The replace itself: the whole text replaced in two undo steps, or the error shown
    // and the text left selected as it was.
    void RegexReplaceWholeText(const view::RegexReplaceRequest& request);
    QString GetSelectedText() const;

    // ---- printing (CMyViewPrint.cpp) ------------------------------------------------------------
    void OnFilePrint();          // the print dialog, then the pages
    void OnFilePrintDirect();    // the pages on the current printer, no dialog
    void OnFilePrintPreview();   // preview, opening at the page of the selection start
    void OnFilePrintSetup();     // the print set-up dialog: printer, paper, margins
    // Lays out the pages for the device: body font, page frame and page starts.
    void OnBeginPrinting(QPainter& dc, CPrintInfo& info);
    // Draws page info.m_nCurPage: header, rule, body, rule, footer.
    void OnPrint(QPainter& dc, CPrintInfo& info);
    void OnEndPrinting(QPainter& dc, CPrintInfo& info);
    // Prints all pages (or the pages the print dialog named) on printer. A printer that cannot be
    // opened or a page without room for the body is reported; then false.
    bool PrintPages(QPrinter& printer, bool preview = false);
    // The pages the engine finds for printer (for previews and tests); 0 when none fit.
    unsigned CountPages(QPrinter& printer);
    // The printer the print commands and the preview use, for the whole session: the printer
    // and page the print set-up chose, and what the print dialog changed last.
    static QPrinter& CurrentPrinter();

    static const platform::fx::CommandMap& classCommands();
    const platform::fx::CommandMap& commandMap() const override { return classCommands(); }

    // ---- options (members as the program names them) -------------------------------------------
    std::int32_t m_nNcrRadix = 0;
    std::int32_t m_bAutoDetectJa = 0;
    std::int32_t m_bWordWrap = 0;
    std::uint32_t m_nCodePage = 932;
    std::int32_t m_nLangSelect = 1;
    std::int32_t m_nTabStops = 4;
    QFont m_font;
    doc::LogFont m_logFont;

    // What the position pane shows now.
    std::int32_t m_nCurLine = 0;
    std::int32_t m_nCurColumn = 0;
    std::int32_t m_nLineCount = 0;
    std::uint16_t m_chAtCaret = 0;
    // Which end of the selection the caret was at the last look.
    view::CaretMemory m_caretMemory;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The dialog that the import and export commands share; nothing when cancelled.
    std::optional<QString> AskImportExportPath(bool save);
    // Asks for a file and reads it whole; reports and gives nothing when that fails.
    enum class ShortRead { Fails, ImportsWhatArrived };
    std::optional<std::string> ReadImportFile(ShortRead shortRead);
    void WriteExport(const QString& path, const std::string& bytes);
    void ReportCommandFailure();
    std::shared_ptr<CPrintJob> m_printJob;  // between OnBeginPrinting and OnEndPrinting
    bool m_bSkipLangSelect = false;
};
