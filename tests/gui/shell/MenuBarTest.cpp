// The menus, toolbar and status bar as the frame builds them, and which commands they
// offer enabled.
#include "ShellTestSupport.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

using namespace quillet_test;

namespace {

// One item as the user sees it: its text and command, "-" for a separator, or a submenu's
// title followed by ">".
QStringList describe(const QMenu* menu)
{
    QStringList items;
    for (const QAction* a : menu->actions()) {
        if (!a->isVisible())
            continue;
        if (a->isSeparator())
            items << QStringLiteral("-");
        else if (a->menu())
            items << a->text() + QStringLiteral(" >");
        else
            items << QStringLiteral("%1 %2").arg(a->text()).arg(a->property("quilletCommand").toUInt());
    }
    return items;
}

QMenu* submenu(const QMenu* menu, const QString& title)
{
    for (const QAction* a : menu->actions())
        if (a->menu() && a->text() == title)
            return a->menu();
    return nullptr;
}

class MenuBar : public ShellTest {
protected:
    // Opens (updates) the menu that holds command id and tells whether id is enabled there.
    bool enabledInMenu(int menuIndex, unsigned id)
    {
        QMenu* menu = frame()->popupMenu(menuIndex);
        frame()->updateMenu(menu);
        for (const QAction* a : menu->actions())
            if (a->property("quilletCommand").toUInt() == id)
                return a->isEnabled();
        ADD_FAILURE() << "no item " << id << " in menu " << menuIndex;
        return false;
    }
};

} // namespace

TEST_F(MenuBar, SixMenusInTheirOrder)
{
    ASSERT_TRUE(start());
    QStringList titles;
    for (const QAction* a : frame()->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("ファイル(&F)"), QStringLiteral("編集(&E)"),
                                   QStringLiteral("表示(&V)"), QStringLiteral("変換(&C)"),
                                   QStringLiteral("ひな型(&T)"), QStringLiteral("ヘルプ(&H)")}));
    EXPECT_EQ(frame()->popupMenu(6), nullptr);
    EXPECT_EQ(frame()->popupMenu(-1), nullptr);
}

TEST_F(MenuBar, FileMenuItemsAndSubmenus)
{
    ASSERT_TRUE(start());
    QMenu* file = frame()->popupMenu(0);
    frame()->updateMenu(file);
    EXPECT_EQ(describe(file), (QStringList{
        QStringLiteral("新規作成(&N)\tCtrl+N 57600"),
        QStringLiteral("開く(&O)...\tCtrl+O 57601"),
        QStringLiteral("上書き保存(&S)\tCtrl+S 57603"),
        QStringLiteral("名前を付けて保存(&A)... 57604"),
        QStringLiteral("-"),
        QStringLiteral("言語選択(&L)... 32771"),
        QStringLiteral("-"),
        QStringLiteral("インポート(&I) >"),
        QStringLiteral("エクスポート(&E) >"),
        QStringLiteral("-"),
        QStringLiteral("印刷(&P)...\tCtrl+P 57607"),
        QStringLiteral("印刷プレビュー(&V) 57609"),
        QStringLiteral("プリンタの設定(&R)... 57606"),
        QStringLiteral("-"),
        QStringLiteral("最近使ったファイル 57616"),
        QStringLiteral("-"),
        QStringLiteral("アプリケーションの終了(&X) 57665"),
    }));
    EXPECT_EQ(describe(submenu(file, QStringLiteral("インポート(&I)"))), (QStringList{
        QStringLiteral("Unicode （自動判定） 32782"),
        QStringLiteral("日本語（EUC, JIS, シフトJIS） 32788"),
        QStringLiteral("Macintosh 日本語 32789"),
    }));
    EXPECT_EQ(describe(submenu(file, QStringLiteral("エクスポート(&E)"))), (QStringList{
        QStringLiteral("Unicode 32783"),
        QStringLiteral("Unicode (Big-Endian) 32784"),
        QStringLiteral("UTF-8 (BOM付き) 32785"),
        QStringLiteral("-"),
        QStringLiteral("Macintosh 日本語 32790"),
    }));
}

TEST_F(MenuBar, EditViewConvertTemplateAndHelpMenus)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(describe(frame()->popupMenu(1)), (QStringList{
        QStringLiteral("元に戻す(&U)\tCtrl+Z 57643"),
        QStringLiteral("やり直し(&R)\tCtrl+Y 57644"),
        QStringLiteral("-"),
        QStringLiteral("切り取り(&T)\tCtrl+X 57635"),
        QStringLiteral("コピー(&C)\tCtrl+C 57634"),
        QStringLiteral("貼り付け(&P)\tCtrl+V 57637"),
        QStringLiteral("削除(&L)\tDel 57632"),
        QStringLiteral("-"),
        QStringLiteral("検索(&F)...\tCtrl+F 57636"),
        QStringLiteral("次を検索(&N)\tF3 57640"),
        QStringLiteral("前を検索(&V)\tShift+F3 32793"),
        QStringLiteral("置換(&R)...\tCtrl+H 57641"),
        QStringLiteral("行へ移動(&G)...\tCtrl+G 32774"),
        QStringLiteral("-"),
        QStringLiteral("すべて選択(&A)\tCtrl+A 57642"),
        QStringLiteral("日付と時刻(&D)\tF5 32787"),
        QStringLiteral("-"),
        QStringLiteral("コード入力(&I)... 32779"),
        QStringLiteral("クリップボードの履歴(&B)... 32792"),
    }));
    EXPECT_EQ(describe(frame()->popupMenu(2)), (QStringList{
        QStringLiteral("ツール バー(&T) 59392"),
        QStringLiteral("ステータス バー(&S) 59393"),
        QStringLiteral("-"),
        QStringLiteral("右端で折り返す(&W) 32791"),
        QStringLiteral("フォント(&F)... 32772"),
        QStringLiteral("タブ幅(&W)... 32773"),
    }));
    EXPECT_EQ(describe(frame()->popupMenu(3)), (QStringList{
        QStringLiteral("改行の整形(&C) 32777"),
        QStringLiteral("数値文字参照(&N) 32778"),
        QStringLiteral("正規表現による置換(&R)... 32799"),
    }));
    const QStringList templates = describe(frame()->popupMenu(4));
    ASSERT_GE(templates.size(), 3);
    EXPECT_EQ(templates.mid(0, 3), (QStringList{
        QStringLiteral("ひな型に追加(&A)... 32796"),
        QStringLiteral("ひな型の整理(&O)... 32776"),
        QStringLiteral("-"),
    }));
    EXPECT_EQ(describe(frame()->popupMenu(5)), (QStringList{
        QStringLiteral("お読みください(&R) 32775"),
        QStringLiteral("-"),
        QStringLiteral("各種設定(&O)... 32780"),
        QStringLiteral("ショートカットの作成(&S)... 32798"),
        QStringLiteral("-"),
        QStringLiteral("バージョン情報(&A)... 57664"),
    }));
}

TEST_F(MenuBar, CommandsThatAlwaysWorkAreEnabled)
{
    ASSERT_TRUE(start());
    for (unsigned id : {res::ID_FILE_NEW, res::ID_FILE_OPEN, res::ID_FILE_SAVE,
                        res::ID_FILE_SAVE_AS, res::ID_APP_EXIT})
        EXPECT_TRUE(enabledInMenu(0, id)) << id;
    EXPECT_TRUE(enabledInMenu(2, res::ID_VIEW_TOOLBAR));
    EXPECT_TRUE(enabledInMenu(2, res::ID_VIEW_STATUS_BAR));
    EXPECT_TRUE(enabledInMenu(5, res::ID_README));
    EXPECT_TRUE(enabledInMenu(5, res::ID_APP_ABOUT));
    // The recent-file placeholder is greyed while the list is empty.
    EXPECT_FALSE(enabledInMenu(0, res::ID_FILE_MRU_FILE1));
}

TEST_F(MenuBar, CommandsThatNeedTextOrASelectionFollowTheText)
{
    ASSERT_TRUE(start());
    // Empty text.
    EXPECT_FALSE(enabledInMenu(3, res::ID_NORMALIZE_LINE_ENDS));
    EXPECT_FALSE(enabledInMenu(3, res::ID_REGEX_REPLACE));
    EXPECT_FALSE(enabledInMenu(4, res::ID_ADD_TEMPLATE));
    EXPECT_FALSE(enabledInMenu(1, res::ID_EDIT_SELECT_ALL));
    EXPECT_FALSE(enabledInMenu(1, res::ID_EDIT_CUT));
    EXPECT_FALSE(enabledInMenu(1, res::ID_EDIT_COPY));
    EXPECT_FALSE(enabledInMenu(1, res::ID_EDIT_CLEAR));

    // Text, no selection.
    QTest::keyClicks(view(), QStringLiteral("some text"));
    EXPECT_TRUE(enabledInMenu(1, res::ID_EDIT_SELECT_ALL));
    EXPECT_FALSE(enabledInMenu(3, res::ID_NCR));
    EXPECT_FALSE(enabledInMenu(1, res::ID_EDIT_CUT));
    EXPECT_FALSE(enabledInMenu(1, res::ID_EDIT_COPY));
    EXPECT_FALSE(enabledInMenu(1, res::ID_EDIT_CLEAR));

    // A selection.
    QTest::keyClick(view(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_TRUE(enabledInMenu(1, res::ID_EDIT_CUT));
    EXPECT_TRUE(enabledInMenu(1, res::ID_EDIT_COPY));
    EXPECT_TRUE(enabledInMenu(1, res::ID_EDIT_CLEAR));
}

TEST_F(MenuBar, PasteFollowsTheClipboard)
{
    ASSERT_TRUE(start());
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(enabledInMenu(1, res::ID_EDIT_PASTE));
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    EXPECT_TRUE(enabledInMenu(1, res::ID_EDIT_PASTE));
    EXPECT_TRUE(frame()->executeCommand(res::ID_EDIT_PASTE));
    EXPECT_EQ(text(), u"clip");
    QGuiApplication::clipboard()->clear();
}

TEST_F(MenuBar, TheUnusedOrganizeIdIsNowhereAndNeverEnabled)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(frame()->action(res::ID_ORGANIZE_TEMPLATES_UNUSED), nullptr);
    EXPECT_FALSE(frame()->router().update(res::ID_ORGANIZE_TEMPLATES_UNUSED).enabled());
    EXPECT_FALSE(frame()->executeCommand(res::ID_ORGANIZE_TEMPLATES_UNUSED));
}

TEST_F(MenuBar, AMenuItemRunsItsCommand)
{
    ASSERT_TRUE(start());
    QTest::keyClicks(view(), QStringLiteral("abc"));
    QMenu* edit = frame()->popupMenu(1);
    frame()->updateMenu(edit);
    frame()->action(res::ID_EDIT_SELECT_ALL)->trigger();
    int start = -1, end = -1;
    view()->getSel(&start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 3);
}

TEST_F(MenuBar, HighlightingAnItemShowsItsPromptThenTheIdleText)
{
    ASSERT_TRUE(start());
    QLabel* message = nullptr;
    for (QLabel* label : frame()->statusBar()->findChildren<QLabel*>())
        if (label->text() == QStringLiteral("レディ"))
            message = label;
    ASSERT_NE(message, nullptr);
    frame()->action(res::ID_FILE_NEW)->hover();
    EXPECT_EQ(message->text(), QStringLiteral("新規にファイルを作成"));
    frame()->action(res::ID_EDIT_REPEAT)->hover();
    EXPECT_EQ(message->text(), QStringLiteral("直前に行った検索を繰り返す"));
    // Items without a prompt of their own show the idle text.
    frame()->action(res::ID_IMPORT_UNICODE)->hover();
    EXPECT_EQ(message->text(), QStringLiteral("レディ"));
    frame()->action(res::ID_FILE_NEW)->hover();
    emit frame()->popupMenu(0)->aboutToHide();
    EXPECT_EQ(message->text(), QStringLiteral("レディ"));
}

TEST_F(MenuBar, ToolbarButtonsInTheirOrderWithTheirTooltips)
{
    ASSERT_TRUE(start());
    QStringList buttons;
    for (const QAction* a : frame()->toolBar()->actions())
        buttons << (a->isSeparator() ? QStringLiteral("-")
                                     : QString::number(a->property("quilletCommand").toUInt()));
    EXPECT_EQ(buttons.join(' '),
              QStringLiteral("57600 57601 57603 - 57635 57634 57637 57643 57644 57636 - 57607 - 57664"));
    EXPECT_EQ(frame()->action(res::ID_FILE_NEW)->toolTip(), QStringLiteral("新規ファイル"));
    EXPECT_EQ(frame()->action(res::ID_APP_ABOUT)->toolTip(), QStringLiteral("バージョン情報"));

    // Idle updates grey the buttons whose commands cannot run.
    frame()->updateIdle();
    EXPECT_TRUE(frame()->action(res::ID_FILE_NEW)->isEnabled());
    EXPECT_FALSE(frame()->action(res::ID_EDIT_CUT)->isEnabled());
    QTest::keyClicks(view(), QStringLiteral("ab"));
    QTest::keyClick(view(), Qt::Key_Left, Qt::ShiftModifier);
    frame()->updateIdle();
    EXPECT_TRUE(frame()->action(res::ID_EDIT_CUT)->isEnabled());
}

TEST_F(MenuBar, HiddenBarsComeBackAtTheNextStart)
{
    ASSERT_TRUE(start());
    frame()->executeCommand(res::ID_VIEW_TOOLBAR);
    frame()->executeCommand(res::ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame()->toolBar()->isVisible());
    EXPECT_FALSE(frame()->statusBar()->isVisible());
    EXPECT_EQ(frame()->router().update(res::ID_VIEW_TOOLBAR).checked(), std::optional(false));
    EXPECT_EQ(frame()->router().update(res::ID_VIEW_STATUS_BAR).checked(), std::optional(false));

    ASSERT_TRUE(restart());
    EXPECT_TRUE(frame()->toolBar()->isVisible());
    EXPECT_TRUE(frame()->statusBar()->isVisible());
    EXPECT_EQ(frame()->router().update(res::ID_VIEW_TOOLBAR).checked(), std::optional(true));
}

TEST_F(MenuBar, StatusBarPanesLeftToRight)
{
    ASSERT_TRUE(start());
    frame()->updateIdle();
    QApplication::processEvents();
    const unsigned order[] = {res::ID_INDICATOR_POSITION, res::ID_INDICATOR_CODEPAGE,
                              res::ID_INDICATOR_KANA,     res::ID_INDICATOR_CAPS,
                              res::ID_INDICATOR_NUM,      res::ID_INDICATOR_SCRL};
    int x = -1;
    for (unsigned id : order) {
        QLabel* pane = frame()->pane(id);
        ASSERT_NE(pane, nullptr) << id;
        EXPECT_GT(pane->x(), x) << id;
        x = pane->x();
    }
    EXPECT_EQ(frame()->pane(res::ID_INDICATOR_EXT), nullptr);
    EXPECT_EQ(paneText(res::ID_INDICATOR_POSITION), QStringLiteral(" 1 行、1 列、行数 1、U+0000"));
    EXPECT_EQ(paneText(res::ID_INDICATOR_CODEPAGE), QStringLiteral("932   (ANSI/OEM - 日本語 Shift-JIS)"));
}

TEST_F(MenuBar, TheContextMenuOffersTheEditCommands)
{
    ASSERT_TRUE(start());
    QTest::keyClicks(view(), QStringLiteral("abc"));
    QTest::keyClick(view(), Qt::Key_Left, Qt::ShiftModifier);

    QStringList items;
    QStringList enabled;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        items = describe(menu);
        for (const QAction* a : menu->actions())
            if (a->isEnabled() && !a->isSeparator())
                enabled << QString::number(a->property("quilletCommand").toUInt());
        menu->close();
    });
    // A right click arrives at the viewport, as the mouse sees the text area.
    const QPoint inside = view()->formattingRect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, inside, view()->viewport()->mapToGlobal(inside));
    QApplication::sendEvent(view()->viewport(), &event);

    EXPECT_EQ(items, (QStringList{
        QStringLiteral("元に戻す(&U) 57643"),
        QStringLiteral("やり直し(&R) 57644"),
        QStringLiteral("-"),
        QStringLiteral("切り取り(&T) 57635"),
        QStringLiteral("コピー(&C) 57634"),
        QStringLiteral("貼り付け(&P) 57637"),
        QStringLiteral("削除(&D) 57632"),
        QStringLiteral("-"),
        QStringLiteral("すべて選択(&A) 57642"),
    }));
    for (const char* id : {"57635", "57634", "57632", "57642"})
        EXPECT_TRUE(enabled.contains(QLatin1String(id))) << id;
}

TEST_F(MenuBar, ContextMenusLeaveNothingBehind)
{
    ASSERT_TRUE(start());
    const qsizetype before = frame()->findChildren<QAction*>().size();
    for (int i = 0; i < 3; ++i) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                shown = true;
                menu->close();
            }
        });
        const QPoint inside = view()->formattingRect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, inside,
                                view()->viewport()->mapToGlobal(inside));
        QApplication::sendEvent(view()->viewport(), &event);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(shown);
    }
    // Each right click builds its menu anew; its items must go with it.
    EXPECT_EQ(frame()->findChildren<QAction*>().size(), before);
}

TEST_F(MenuBar, TheOpenDialogOffersTextFilesThenAllFiles)
{
    ASSERT_TRUE(start());
    ui.answerFile(std::nullopt);
    EXPECT_TRUE(frame()->executeCommand(res::ID_FILE_OPEN));
    ASSERT_EQ(ui.shown().size(), 1);
    const auto& request = ui.shown()[0].file;
    EXPECT_EQ(request.mode, platform::fx::FileDialogRequest::Mode::Open);
    EXPECT_EQ(request.title, QStringLiteral("開く"));
    ASSERT_EQ(request.filters.size(), 2);
    EXPECT_EQ(request.filters[0].name, QStringLiteral("テキスト ファイル (*.txt)"));
    EXPECT_EQ(request.filters[0].pattern, QStringLiteral("*.txt"));
    EXPECT_EQ(request.filters[1].name, QStringLiteral("すべてのﾌｧｲﾙ (*.*)"));
    // Cancelled: nothing changed.
    EXPECT_EQ(document()->title(), QStringLiteral("無題"));
}

