// The string table's data. Entries are in ascending order of id; the compiler checks that.
//
// Wording: texts marked "ours" are worded by us; every other text is the program's own
// wording or the framework's Japanese text as the program shows it. Framework texts use
// half-width katakana ("ﾌｧｲﾙ"), the program's own texts full-width ("ファイル"). The
// framework's own messages are the framework's (platform/fx/FrameworkStrings.cpp); loadString
// finds them too.

#include "res/Strings.h"

#include "res/Resource.h"

namespace res {

namespace {

constexpr StringEntry kTable[] = {
    // ---- the document type: window title, document name, new-file name, filter name,
    // default extension, file-type id, file-type name (the last four fields may be empty)
    {IDR_MAINFRAME, u"Quillet\n\n\nテキスト ファイル (*.txt)\n.txt\n\n"},

    // ---- our own message texts
    {IDP_README_OPEN_FAILED, u"'%1' を開くことができません。(Error:%2)"},
    {IDP_TEMPLATE_OPEN_FAILED, u"'%1' をオープンできません。"},
    {IDP_TEMPLATE_OVERWRITE, u"'%1' は既に存在します。\n上書きしますか？"},
    {IDP_TEMPLATE_DELETE, u"'%1' を削除します。\nよろしいですか？"},
    {IDP_TEMPLATE_NAME_DUPLICATE, u"名前が重複しています。"},
    // The system's text for the error follows the line feed.
    {IDP_IMPORT_FAILED, u"インポートに失敗しました。\n"},
    {IDP_EXPORT_FAILED, u"エクスポートに失敗しました。\n"},
    {IDP_LINE_OUT_OF_RANGE, u"行番号が範囲外です。"},
    {IDP_TEXT_NOT_FOUND, u"\"%1\" が見つかりません。"},
    {IDP_EDIT_TEXT_NOT_FOUND, u"文字列 '%1' が見つかりません。"},
    // Spelled as the program has always shown it.
    {IDP_REGEX_OLE_EXCEPTION, u"OLE Execption caught: SCODE = %1"},
    {IDS_REGEX_UNKNOWN_ERROR, u"unknown error"},
    // Ours: a save refused because the code page cannot encode, instead of an empty file.
    {IDP_SAVE_CODEPAGE_UNSUPPORTED,
     u"コードページ %1 ではファイルを保存できません。ファイルは変更されていません。"},
    // Ours: printing that cannot happen is said, never passed over.
    {IDP_PRINT_NO_PRINTER, u"プリンタがありません。プリンタを追加してから印刷してください。"},
    // Ours: asked before a save that would change characters.
    {IDP_SAVE_LOSES_CHARACTERS,
     u"%1 では表せない文字が %2 個あります。\n"
     u"最初の文字は %3 行 %4 列の U+%5 「%6」です。\n"
     u"これらの文字は「?」または似た文字に置き換えて保存されます"
     u" (最初の文字は「%7」になります)。\n\n"
     u"このまま保存しますか？"},
    // Ours: a stored code page this system lacks, replaced when the view reads its settings.
    {IDP_CODEPAGE_NOT_INSTALLED,
     u"設定のコードページ %1 はこのシステムにインストールされていません。"
     u"コードページ 932 を使います。"},
    // Ours: an open refused rather than showing the file as empty.
    {IDP_OPEN_CODEPAGE_UNSUPPORTED,
     u"コードページ %1 ではファイルを開けません。言語選択で別のコードページを選んでください。"},
    // Ours: told after an open that could not read every byte.
    {IDP_OPEN_UNDECODABLE_BYTES,
     u"このファイルには %4 で読み取れないバイトが %1 個あります"
     u" (最初のバイトの位置は %2、16 進で %3)。\n"
     u"これらのバイトは「%5」として表示しています。"
     u"保存すると、元のバイトの代わりに「%5」が書き込まれます。\n\n"
     u"別のコードページで開き直すには、言語選択ダイアログでコードページを選んでください"
     u" (「各種設定」の「ファイルオープン時に表示」をオンにすると、開く前に表示されます)。"},
    {IDP_SETTINGS_NOT_SAVED,
     u"設定ファイル %1 を読み書きできないため、今回の設定は保存されません。"}, // ours
    // %1 line, %2 column, %3 line count, %4 the unit after the caret as four hex digits.
    {IDS_POSITION_PANE_FORMAT, u" %1 行、%2 列、行数 %3、U+%4"},
    {IDS_IMPORT_EXPORT_FILTER,
     u"すべてのファイル (*.*)|*.*|テキスト ファイル (*.txt)|*.txt|"
     u"HTML ドキュメント (*.html;*.htm)|*.html;*.htm|"
     u"Internet E-Mail Message (*.eml)|*.eml||"},
    {IDS_SHORTCUT_DESCRIPTION, u"中国語や韓国語などを読み書き可能なメモ帳"},
    {IDS_TAB_WIDTH_CAPTION, u"タブ幅の設定"},
    {IDS_GOTO_LINE_CAPTION, u"行へ移動"},
    // Ours: printing that cannot happen is said, never passed over.
    {IDP_PRINT_UNKNOWN_PRINTER, u"プリンタ \"%1\" が見つかりません。"},
    {IDP_PRINT_NO_ROOM, u"用紙が小さすぎて本文を印刷できません。余白やフォントを小さくしてください。"},
    {IDP_PRINT_FAILED, u"印刷を開始できませんでした。"},
    // Ours: told after an open whose text ends at a zero byte before the end of the file.
    {IDP_OPEN_ZERO_BYTE,
     u"このファイルには位置 %1 (16 進で %2) にゼロのバイトがあるため、"
     u"そこから後の %3 バイトは表示していません。\n"
     u"保存すると、これらのバイトはファイルから失われます。\n\n"
     u"Unicode (UTF-16) のファイルは、「インポート」の「Unicode （自動判定）」で読み込めます。"},
    // Asked when a file (or, at a start without one, any text) has a record of changes that
    // a program which ended without saving them left.
    {IDP_RECOVERY_OFFER,
     u"%1 には、前回保存されずに終了した変更があります (%2)。\n変更を復元しますか？"},
    // Ours: a record that cannot be read is kept under another name, never deleted.
    {IDP_RECOVERY_SET_ASIDE,
     u"変更の復元用の記録 %1 は壊れているため使えません。\n"
     u"記録は削除せず、%2 という名前で残しました。"},
    // Ours: follows the file-error message of a record that could not be written.
    {IDP_RECOVERY_NOT_KEPT,
     u"保存していない変更を復元用に記録できません。編集はこのまま続けられますが、"
     u"プログラムが異常終了すると保存していない変更は失われます。"
     u"この通知は次回の起動まで表示しません。"},

    // ---- dialog captions and control texts
    {IDS_ABOUT_CAPTION, u"バージョン情報"},
    {IDS_ABOUT_VERSION, u"Quillet Ver.1.0.1.3"},
    {IDS_ABOUT_COPYRIGHT, u"Copyright (C) The Quillet Authors"},               // ours
    {IDS_ABOUT_NOTICE, u"中国語、韓国語、日本語などを読み書きできるテキスト エディタ"}, // ours
    {IDS_LANGUAGE_SELECT_CAPTION, u"言語選択"},
    {IDS_CODE_INPUT_CAPTION, u"コード入力"},
    {IDS_CODE_INPUT_HINT,
     u"0x で始めると16進数、単に 0 で始めると8進数、それ以外は10進数とみなします。"},
    {IDS_OPTIONS_CAPTION, u"各種の動作設定"},
    {IDS_OPTIONS_GROUP_JAPANESE, u"日本語の読み込み"},
    {IDS_OPTIONS_AUTO_DETECT, u"文字コード自動判定(&A)"},
    {IDS_OPTIONS_GROUP_NCR, u"数値文字参照への変換"},
    {IDS_OPTIONS_NCR_DECIMAL, u"10進(&D)"},
    {IDS_OPTIONS_NCR_HEX, u"16進(&H)"},
    {IDS_OPTIONS_GROUP_LANG_DIALOG, u"言語選択ダイアログ"},
    {IDS_OPTIONS_SHOW_LANG_DIALOG, u"ファイルオープン時に表示(&L)"},
    {IDS_CLIP_HISTORY_CAPTION, u"クリップボードの履歴"},
    {IDS_CLIP_HISTORY_LABEL, u"貼り付けたい項目をダブルクリックして下さい。"},
    {IDS_CLIP_HISTORY_PASTE, u"貼り付け"},
    {IDS_REGEX_CAPTION, u"正規表現による置換"},
    {IDS_REGEX_PATTERN_LABEL, u"検索文字列(&P):"},
    {IDS_REGEX_GLOBAL, u"すべて(&G)"},
    {IDS_REGEX_IGNORE_CASE, u"大文字小文字を区別しない(&I)"},
    {IDS_REGEX_MULTILINE, u"複数行(&M)"},
    {IDS_REGEX_REPLACE_LABEL, u"置換文字列(&R):"},
    {IDS_REGEX_ESCAPE, u"エスケープ文字を使用(&E)"},
    {IDS_TEMPLATE_NAME_CAPTION, u"ひな型に追加"},
    {IDS_TEMPLATE_NAME_LABEL, u"ひな型の名前を入力してください。"},
    {IDS_TEMPLATE_ORGANIZE_CAPTION, u"ひな型の整理"},
    {IDS_TEMPLATE_ORGANIZE_HINT,
     u"項目の名前の変更または削除するには、項目を選択してから [名前の変更] ボタン、"
     u"または [削除] ボタンをクリックしてください。"},
    {IDS_TEMPLATE_ORGANIZE_RENAME, u"名前の変更(&R)"},
    {IDS_TEMPLATE_ORGANIZE_DELETE, u"削除(&D)"},
    {IDS_TEMPLATE_ORGANIZE_CLOSE, u"閉じる(&C)"},
    {IDS_SHORTCUT_CAPTION, u"ショートカットの作成"},
    {IDS_SHORTCUT_DESKTOP, u"デスクトップに作成(&D)"},
    {IDS_SHORTCUT_PROGRAMS, u"スタートメニューのプログラムに登録(&P)"},
    {IDS_SHORTCUT_SENDTO, u"「送る」 メニューに追加(&S)"},
    // Find and replace: ours, worded as users know the system's find and replace dialogs.
    {IDS_FIND_CAPTION, u"検索"},
    {IDS_REPLACE_CAPTION, u"置換"},
    {IDS_FIND_WHAT_LABEL, u"検索する文字列(&N):"},
    {IDS_REPLACE_WITH_LABEL, u"置換後の文字列(&P):"},
    {IDS_FIND_MATCH_CASE, u"大文字と小文字を区別する(&C)"},
    {IDS_FIND_DIRECTION, u"方向"},
    {IDS_FIND_UP, u"上へ(&U)"},
    {IDS_FIND_DOWN, u"下へ(&D)"},
    {IDS_FIND_NEXT, u"次を検索(&F)"},
    {IDS_REPLACE_ONE, u"置換して次に(&R)"},
    {IDS_REPLACE_ALL, u"すべて置換(&A)"},

    // ---- prompts of the program's own commands; 32782..32786, 32788..32790, 32794 and
    // 32795 have none. 32797 has one but no menu item or handler.
    {ID_LANGUAGE_SELECT, u"使用する言語を選択\n言語選択"},
    {ID_FONT_SELECT, u"使用するフォントの設定\nフォント"},
    {ID_TAB_STOPS, u"タブ幅を設定\nタブ幅"},
    {ID_GOTO_LINE, u"指定した位置へカーソルを移動\n行へ移動"},
    {ID_README, u"必ず、お読みください\nお読みください"},
    {ID_ORGANIZE_TEMPLATES, u"ひな型の一覧を整理\nひな型の整理"},
    {ID_NORMALIZE_LINE_ENDS, u"他OSの改行をWindowsの改行に整形\n改行の整形"},
    {ID_NCR, u"選択範囲を数値文字参照表記に変換\n数値文字参照"},
    {ID_CODE_INPUT, u"文字をUnicodeで入力\nコード入力"},
    {ID_OPTIONS, u"各種の動作設定\n各種設定"},
    {ID_INSERT_DATETIME, u"今日の日付と現在の時刻を挿入\n日付と時刻"},
    {ID_WORD_WRAP, u"右端で折り返すかどうかの切り替え\n右端で折り返す"},
    {ID_CLIP_HISTORY, u"クリップボードの履歴を表示\nクリップボードの履歴"},
    {ID_EDIT_FIND_PREVIOUS, u"直前に行った検索を繰り返す\n前を検索"},
    {ID_ADD_TEMPLATE, u"現在のファイルをひな型の一覧に追加\nひな型に追加"},
    {ID_ORGANIZE_TEMPLATES_UNUSED, u"ひな型の一覧を整理\nひな型の整理"},
    {ID_CREATE_SHORTCUT, u"アプリケーションのショートカットを作成\nショートカット作成"},
    {ID_REGEX_REPLACE, u"正規表現を使って置換\n正規表現置換"},

    // ---- framework strings
    {AFX_IDS_APP_TITLE, u"Quillet"},

    // ---- prompts of the framework's commands. "own" marks the program's wording; the
    // others are the framework's usual Japanese prompts, written out from memory of them.
    {ID_FILE_NEW, u"新規にファイルを作成\n新規ファイル"},                       // own
    {ID_FILE_OPEN, u"既存のファイルを開く\n開く"},                              // own
    {ID_FILE_SAVE, u"作業中のファイルを上書きして保存\n保存"},                  // own
    {ID_FILE_SAVE_AS, u"作業中のファイルを新しい名前で保存\n名前をつけて保存"}, // own
    {ID_FILE_PRINT_SETUP, u"プリンタおよび印刷オプションを変更します\n印刷設定"},
    {ID_FILE_PRINT, u"作業中のファイルを印刷します\n印刷"},
    {ID_FILE_PRINT_PREVIEW, u"印刷イメージを表示します\n印刷プレビュー"},
    {ID_FILE_MRU_FILE1, u"このファイルを開きます"},
    {ID_FILE_MRU_FILE2, u"このファイルを開きます"},
    {ID_FILE_MRU_FILE3, u"このファイルを開きます"},
    {ID_FILE_MRU_FILE4, u"このファイルを開きます"},
    {ID_EDIT_CLEAR, u"選択範囲を削除します\n削除"},
    {ID_EDIT_COPY, u"選択範囲をコピーしてクリップボードに保存します\nコピー"},
    {ID_EDIT_CUT, u"選択範囲を切り取ってクリップボードに移動します\n切り取り"},
    {ID_EDIT_FIND, u"指定した文字列を検索します\n検索"},
    {ID_EDIT_PASTE, u"クリップボードの内容を貼り付けます\n貼り付け"},
    {ID_EDIT_REPEAT, u"直前に行った検索を繰り返す\n次を検索"}, // own
    {ID_EDIT_REPLACE, u"指定した文字列を別の文字列で置換します\n置換"},
    {ID_EDIT_SELECT_ALL, u"ファイル内のすべてを選択します\nすべて選択"},
    {ID_EDIT_UNDO, u"直前に行った動作を元に戻す\n元に戻す"},  // own
    {ID_EDIT_REDO, u"直前に行った動作を繰り返す\n繰り返す"},  // own
    {ID_APP_ABOUT, u"プログラムの情報、バージョンそして著作権を表示\nバージョン情報"}, // own
    {ID_APP_EXIT, u"アプリケーションを終了し、ファイルの保存を確認します\n終了"},
    {ID_NEXT_PANE, u"次のウィンドウ ペインに切り替えます\n次のペイン"},
    {ID_PREV_PANE, u"前のウィンドウ ペインに切り替えます\n前のペイン"},

    // ---- status-bar panes: the text each shows when on, and the width sample
    {ID_INDICATOR_EXT, u"EXT"},
    {ID_INDICATOR_CAPS, u"CAP"},
    {ID_INDICATOR_NUM, u"NUM"},
    {ID_INDICATOR_SCRL, u"SCRL"},
    {ID_INDICATOR_OVR, u"上書"},
    {ID_INDICATOR_REC, u"記録"},
    {ID_INDICATOR_KANA, u"カナ"},
    {ID_INDICATOR_CODEPAGE, u"CP932"},
    {ID_INDICATOR_POSITION, u"88888 行、88 列、行数 8888、U+8888"},

    {ID_VIEW_TOOLBAR, u"ツール バーの表示/非表示を切り替えます\nツール バーの表示切り替え"},
    {ID_VIEW_STATUS_BAR,
     u"ステータス バーの表示/非表示を切り替えます\nステータス バーの表示切り替え"},
};

static_assert(idsAscend(kTable), "string ids must ascend, each id once");

} // namespace

std::span<const StringEntry> stringTable()
{
    return kTable;
}

} // namespace res
