#include "res/Menus.h"

#include "res/Resource.h"

namespace res {

namespace {

constexpr MenuItem command(unsigned id, std::u16string_view text)
{
    return {MenuItemKind::Command, id, text, {}, false};
}

constexpr MenuItem grayedCommand(unsigned id, std::u16string_view text)
{
    return {MenuItemKind::Command, id, text, {}, true};
}

constexpr MenuItem separator()
{
    return {MenuItemKind::Separator, 0, {}, {}, false};
}

constexpr MenuItem popup(std::u16string_view text, std::span<const MenuItem> children)
{
    return {MenuItemKind::Popup, 0, text, children, false};
}

// ---- main menu ------------------------------------------------------------------------------

constexpr MenuItem kImportMenu[] = {
    command(ID_IMPORT_UNICODE, u"Unicode （自動判定）"),
    command(ID_IMPORT_JAPANESE, u"日本語（EUC, JIS, シフトJIS）"),
    command(ID_IMPORT_MAC_JAPANESE, u"Macintosh 日本語"),
};

constexpr MenuItem kExportMenu[] = {
    command(ID_EXPORT_UNICODE, u"Unicode"),
    command(ID_EXPORT_UNICODE_BE, u"Unicode (Big-Endian)"),
    command(ID_EXPORT_UTF8, u"UTF-8 (BOM付き)"),
    separator(),
    command(ID_EXPORT_MAC_JAPANESE, u"Macintosh 日本語"),
};

constexpr MenuItem kFileMenu[] = {
    command(ID_FILE_NEW, u"新規作成(&N)\tCtrl+N"),
    command(ID_FILE_OPEN, u"開く(&O)...\tCtrl+O"),
    command(ID_FILE_SAVE, u"上書き保存(&S)\tCtrl+S"),
    command(ID_FILE_SAVE_AS, u"名前を付けて保存(&A)..."),
    separator(),
    command(ID_LANGUAGE_SELECT, u"言語選択(&L)..."),
    separator(),
    popup(u"インポート(&I)", kImportMenu),
    popup(u"エクスポート(&E)", kExportMenu),
    separator(),
    command(ID_FILE_PRINT, u"印刷(&P)...\tCtrl+P"),
    command(ID_FILE_PRINT_PREVIEW, u"印刷プレビュー(&V)"),
    command(ID_FILE_PRINT_SETUP, u"プリンタの設定(&R)..."),
    separator(),
    // The recent-file list replaces this placeholder with its entries.
    grayedCommand(ID_FILE_MRU_FILE1, u"最近使ったファイル"),
    separator(),
    command(ID_APP_EXIT, u"アプリケーションの終了(&X)"),
};

constexpr MenuItem kEditMenu[] = {
    command(ID_EDIT_UNDO, u"元に戻す(&U)\tCtrl+Z"),
    command(ID_EDIT_REDO, u"やり直し(&R)\tCtrl+Y"),
    separator(),
    command(ID_EDIT_CUT, u"切り取り(&T)\tCtrl+X"),
    command(ID_EDIT_COPY, u"コピー(&C)\tCtrl+C"),
    command(ID_EDIT_PASTE, u"貼り付け(&P)\tCtrl+V"),
    command(ID_EDIT_CLEAR, u"削除(&L)\tDel"),
    separator(),
    command(ID_EDIT_FIND, u"検索(&F)...\tCtrl+F"),
    command(ID_EDIT_REPEAT, u"次を検索(&N)\tF3"),
    command(ID_EDIT_FIND_PREVIOUS, u"前を検索(&V)\tShift+F3"),
    command(ID_EDIT_REPLACE, u"置換(&R)...\tCtrl+H"),
    command(ID_GOTO_LINE, u"行へ移動(&G)...\tCtrl+G"),
    separator(),
    command(ID_EDIT_SELECT_ALL, u"すべて選択(&A)\tCtrl+A"),
    command(ID_INSERT_DATETIME, u"日付と時刻(&D)\tF5"),
    separator(),
    command(ID_CODE_INPUT, u"コード入力(&I)..."),
    command(ID_CLIP_HISTORY, u"クリップボードの履歴(&B)..."),
};

// "右端で折り返す" and "タブ幅" share the mnemonic W; that is how the program has it.
constexpr MenuItem kViewMenu[] = {
    command(ID_VIEW_TOOLBAR, u"ツール バー(&T)"),
    command(ID_VIEW_STATUS_BAR, u"ステータス バー(&S)"),
    separator(),
    command(ID_WORD_WRAP, u"右端で折り返す(&W)"),
    command(ID_FONT_SELECT, u"フォント(&F)..."),
    command(ID_TAB_STOPS, u"タブ幅(&W)..."),
};

constexpr MenuItem kConvertMenu[] = {
    command(ID_NORMALIZE_LINE_ENDS, u"改行の整形(&C)"),
    command(ID_NCR, u"数値文字参照(&N)"),
    command(ID_REGEX_REPLACE, u"正規表現による置換(&R)..."),
};

// Ends with a separator: the template names go below it.
constexpr MenuItem kTemplateMenu[] = {
    command(ID_ADD_TEMPLATE, u"ひな型に追加(&A)..."),
    command(ID_ORGANIZE_TEMPLATES, u"ひな型の整理(&O)..."),
    separator(),
};

constexpr MenuItem kHelpMenu[] = {
    command(ID_README, u"お読みください(&R)"),
    separator(),
    command(ID_OPTIONS, u"各種設定(&O)..."),
    command(ID_CREATE_SHORTCUT, u"ショートカットの作成(&S)..."),
    separator(),
    command(ID_APP_ABOUT, u"バージョン情報(&A)..."),
};

constexpr MenuItem kMainMenu[] = {
    popup(u"ファイル(&F)", kFileMenu),
    popup(u"編集(&E)", kEditMenu),
    popup(u"表示(&V)", kViewMenu),
    popup(u"変換(&C)", kConvertMenu),
    popup(u"ひな型(&T)", kTemplateMenu),
    popup(u"ヘルプ(&H)", kHelpMenu),
};

// ---- context menu -----------------------------------------------------------------------------

constexpr MenuItem kContextMenu[] = {
    command(ID_EDIT_UNDO, u"元に戻す(&U)"),
    command(ID_EDIT_REDO, u"やり直し(&R)"),
    separator(),
    command(ID_EDIT_CUT, u"切り取り(&T)"),
    command(ID_EDIT_COPY, u"コピー(&C)"),
    command(ID_EDIT_PASTE, u"貼り付け(&P)"),
    command(ID_EDIT_CLEAR, u"削除(&D)"),
    separator(),
    command(ID_EDIT_SELECT_ALL, u"すべて選択(&A)"),
};

// ---- toolbar ----------------------------------------------------------------------------------

constexpr unsigned kToolbar[] = {
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE,
    ID_SEPARATOR,
    ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_FIND,
    ID_SEPARATOR,
    ID_FILE_PRINT,
    ID_SEPARATOR,
    ID_APP_ABOUT,
};

} // namespace

std::span<const MenuItem> mainMenu()
{
    return kMainMenu;
}

std::span<const MenuItem> contextMenu()
{
    return kContextMenu;
}

std::span<const unsigned> toolbarButtons()
{
    return kToolbar;
}

MenuText splitMenuText(std::u16string_view text)
{
    const std::size_t tab = text.find(u'\t');
    if (tab == std::u16string_view::npos)
        return {text, {}};
    return {text.substr(0, tab), text.substr(tab + 1)};
}

} // namespace res
