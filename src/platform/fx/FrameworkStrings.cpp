// The framework's own strings. Framework texts use half-width katakana ("ﾌｧｲﾙ"); texts
// marked "ours" are worded by us.

#include "platform/fx/FrameworkStrings.h"

#include "platform/fx/FrameworkIds.h"

#include <algorithm>

namespace platform::fx {

using namespace ids;

namespace {

constexpr StringEntry kTable[] = {
    {IDS_BUTTON_OK, u"OK"},
    {IDS_BUTTON_CANCEL, u"キャンセル"},
    {AFX_IDS_IDLEMESSAGE, u"レディ"},

    // ---- framework messages
    {AFX_IDS_OPENFILE, u"開く"},
    {AFX_IDS_SAVEFILE, u"名前を付けて保存"},
    {AFX_IDS_ALLFILTER, u"すべてのﾌｧｲﾙ (*.*)"},
    {AFX_IDS_UNTITLED, u"無題"},
    {AFX_IDS_UNNAMED_FILE, u"無題のﾌｧｲﾙ"},
    {AFX_IDP_FAILED_TO_OPEN_DOC, u"ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。"},
    {AFX_IDP_FAILED_TO_SAVE_DOC, u"ﾄﾞｷｭﾒﾝﾄを保存できませんでした。"},
    {AFX_IDP_ASK_TO_SAVE, u"%1 への変更を保存しますか?"},
    {AFX_IDP_FAILED_TO_CREATE_DOC, u"空のﾄﾞｷｭﾒﾝﾄの作成に失敗しました。"},
    {AFX_IDP_FILE_TOO_LARGE, u"ﾌｧｲﾙが大きすぎて開けません。"},
    {AFX_IDP_FAILED_TO_START_PRINT, u"印刷を開始できませんでした。"}, // ours
    {AFX_IDP_COMMAND_FAILURE, u"ｺﾏﾝﾄﾞの実行に失敗しました。"},        // ours
    {AFX_IDP_PARSE_INT_RANGE, u"%1 から %2 までの整数を入力してください。"},
    {AFX_IDP_PARSE_STRING_SIZE, u"%1 文字以内で入力してください。"},
    {AFX_IDP_PARSE_UINT, u"正の整数を入力してください。"},
    {AFX_IDP_FAILED_INVALID_FORMAT, u"予期しないﾌｧｲﾙ形式です。"},

    {AFX_IDP_FILE_NONE, u"ｴﾗｰはありませんでした。"},
    {AFX_IDP_FILE_GENERIC, u"%1 へのｱｸｾｽ中に不明なｴﾗｰが発生しました。"},
    {AFX_IDP_FILE_NOT_FOUND, u"%1 が見つかりませんでした。"},
    {AFX_IDP_FILE_BAD_PATH, u"%1 には無効なﾊﾟｽが含まれています。"},
    {AFX_IDP_FILE_TOO_MANY_OPEN, u"開いているﾌｧｲﾙが多すぎるため、%1 を開けませんでした。"},
    {AFX_IDP_FILE_ACCESS_DENIED, u"%1 へのｱｸｾｽは拒否されました。"},
    {AFX_IDP_FILE_INVALID_FILE, u"%1 へ無効なﾌｧｲﾙ ﾊﾝﾄﾞﾙが関連付けられていました。"},
    {AFX_IDP_FILE_REMOVE_CURRENT, u"現在のﾃﾞｨﾚｸﾄﾘ %1 は削除できませんでした。"},
    {AFX_IDP_FILE_DIR_FULL, u"%1 を作成できませんでした。そのﾃﾞｨﾚｸﾄﾘはいっぱいです。"},
    {AFX_IDP_FILE_BAD_SEEK, u"%1 のｼｰｸに失敗しました。"},
    {AFX_IDP_FILE_HARD_IO, u"%1 へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。"},
    {AFX_IDP_FILE_SHARING, u"%1 へのｱｸｾｽ中に共有違反が発生しました。"},
    {AFX_IDP_FILE_LOCKING, u"%1 へのｱｸｾｽ中にﾛｯｸ違反が発生しました。"},
    {AFX_IDP_FILE_DISKFULL, u"%1 へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。"},
    {AFX_IDP_FILE_EOF, u"%1 の末尾以降にｱｸｾｽしようとしました。"},

    {AFX_IDP_ARCH_GENERIC, u"%1 の読み書き中に不明なｴﾗｰが発生しました。"}, // ours
    {AFX_IDP_ARCH_ENDOFFILE, u"%1 の末尾以降にｱｸｾｽしようとしました。"},   // ours
};

static_assert(idsAscend(kTable), "string ids must ascend, each id once");

} // namespace

std::span<const StringEntry> frameworkStringTable()
{
    return kTable;
}

std::u16string_view findString(std::span<const StringEntry> table, unsigned id)
{
    const auto it = std::lower_bound(table.begin(), table.end(), id,
                                     [](const StringEntry& e, unsigned key) { return e.id < key; });
    if (it == table.end() || it->id != id)
        return {};
    return it->text;
}

std::u16string_view frameworkString(unsigned id)
{
    return findString(kTable, id);
}

Prompt splitPrompt(std::u16string_view prompt)
{
    const std::size_t lineFeed = prompt.find(u'\n');
    if (lineFeed == std::u16string_view::npos)
        return {prompt, {}};
    return {prompt.substr(0, lineFeed), prompt.substr(lineFeed + 1)};
}

std::u16string formatStrings(std::u16string_view format,
                             std::initializer_list<std::u16string_view> args)
{
    std::u16string out;
    out.reserve(format.size());
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char16_t c = format[i];
        if (c == u'%' && i + 1 < format.size() && format[i + 1] >= u'0' && format[i + 1] <= u'9') {
            const int index = format[i + 1] - u'1';
            ++i;
            if (index < 0 || index >= static_cast<int>(args.size()))
                out += u'?';
            else
                out += *(args.begin() + index);
            continue;
        }
        out += c;
    }
    return out;
}

std::u16string formatString1(std::u16string_view format, std::u16string_view arg)
{
    return formatStrings(format, {arg});
}

} // namespace platform::fx
