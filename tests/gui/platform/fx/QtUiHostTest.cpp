// The real host's message boxes and file dialogs, driven while they are open.
#include "platform/fx/UiHost.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace platform::fx;

namespace {

// Runs play on the first modal dialog of type T once it is open (the host's exec() is
// blocking), then lets the host's call come back.
template <class T>
void whenOpen(std::function<void(T&)> play)
{
    QTimer::singleShot(0, [play] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<T*>(w); dialog && dialog->isVisible()) {
                play(*dialog);
                return;
            }
        }
        ADD_FAILURE() << "no dialog open";
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

QStringList buttonTexts(const QMessageBox& box)
{
    QStringList texts;
    for (QAbstractButton* b : box.buttons())
        texts << b->text();
    texts.sort();
    return texts;
}

QAbstractButton* buttonWithText(QMessageBox& box, const QString& text)
{
    for (QAbstractButton* b : box.buttons())
        if (b->text() == text)
            return b;
    return nullptr;
}

} // namespace

TEST(QtUiHost, TheSaveQuestionHasJapaneseButtonsAndTellsWhichWasClicked)
{
    QtUiHost host;
    MessageBoxRequest request{QStringLiteral("無題 への変更を保存しますか?"),
                              QStringLiteral("Quillet"), MsgIcon::Question, MsgButtons::YesNoCancel};
    QString title, text;
    QStringList buttons;
    whenOpen<QMessageBox>([&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        buttons = buttonTexts(box);
        if (QAbstractButton* no = buttonWithText(box, QStringLiteral("いいえ(&N)")))
            no->click();
        else
            box.reject();
    });
    EXPECT_EQ(host.messageBox(nullptr, request), MsgAnswer::No);
    EXPECT_EQ(title, QStringLiteral("Quillet"));
    EXPECT_EQ(text, request.text);
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)"),
                                    QStringLiteral("キャンセル")}));
}

TEST(QtUiHost, EscapeOnTheSaveQuestionCancels)
{
    QtUiHost host;
    MessageBoxRequest request{QStringLiteral("?"), QStringLiteral("Quillet"), MsgIcon::Question,
                              MsgButtons::YesNoCancel};
    whenOpen<QMessageBox>([](QMessageBox& box) { box.reject(); });
    EXPECT_EQ(host.messageBox(nullptr, request), MsgAnswer::Cancel);
}

TEST(QtUiHost, AnOkBoxAnswersOk)
{
    QtUiHost host;
    MessageBoxRequest request{QStringLiteral("ﾌｧｲﾙが大きすぎて開けません。"),
                              QStringLiteral("Quillet"), MsgIcon::Exclamation, MsgButtons::Ok};
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenOpen<QMessageBox>([&](QMessageBox& box) {
        icon = box.icon();
        box.buttons().front()->click();
    });
    EXPECT_EQ(host.messageBox(nullptr, request), MsgAnswer::Ok);
    EXPECT_EQ(icon, QMessageBox::Warning);
}

// "すべてのﾌｧｲﾙ (*.*)" is the program's wording; on this system it must still show files
// without a dot in their names.
TEST(QtUiHost, TheAllFilesFilterShowsFilesWithoutAnExtension)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QtUiHost host;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.title = QStringLiteral("開く");
    request.filters = {FileFilter{QStringLiteral("テキスト ファイル (*.txt)"), QStringLiteral("*.txt")},
                       FileFilter{QStringLiteral("すべてのﾌｧｲﾙ (*.*)"), QStringLiteral("*")}};
    request.proposedPath = folder.filePath(QStringLiteral("x.txt"));

    QStringList shownFilters;
    QStringList textFilterPatterns;
    QStringList allFilesPatterns;
    QString title;
    whenOpen<QFileDialog>([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        if (auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
            for (int i = 0; i < combo->count(); ++i)
                shownFilters << combo->itemText(i);
        auto* model = dialog.findChild<QFileSystemModel*>();
        if (model) {
            textFilterPatterns = model->nameFilters();
            dialog.selectNameFilter(dialog.nameFilters().value(1));
            allFilesPatterns = model->nameFilters();
        }
        dialog.reject();
    });
    EXPECT_FALSE(host.fileDialog(nullptr, request).has_value());
    EXPECT_EQ(title, QStringLiteral("開く"));
    EXPECT_EQ(shownFilters, (QStringList{QStringLiteral("テキスト ファイル (*.txt)"),
                                         QStringLiteral("すべてのﾌｧｲﾙ (*.*)")}));
    EXPECT_EQ(textFilterPatterns, QStringList{QStringLiteral("*.txt")});
    EXPECT_EQ(allFilesPatterns, QStringList{QStringLiteral("*")});
}

// Filters written the Windows way ("*.*" for every file, several patterns) work the same.
TEST(QtUiHost, WindowsStylePatternsFilterAsOnWindows)
{
    QtUiHost host;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("名前を付けて保存");
    request.filters = {FileFilter{QStringLiteral("すべてのファイル (*.*)"), QStringLiteral("*.*")},
                       FileFilter{QStringLiteral("HTML ドキュメント (*.html;*.htm)"),
                                  QStringLiteral("*.html *.htm")}};
    QStringList first, second, shown;
    whenOpen<QFileDialog>([&](QFileDialog& dialog) {
        if (auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
            for (int i = 0; i < combo->count(); ++i)
                shown << combo->itemText(i);
        if (auto* model = dialog.findChild<QFileSystemModel*>()) {
            first = model->nameFilters();
            dialog.selectNameFilter(dialog.nameFilters().value(1));
            second = model->nameFilters();
        }
        dialog.reject();
    });
    EXPECT_FALSE(host.fileDialog(nullptr, request).has_value());
    EXPECT_EQ(shown, (QStringList{QStringLiteral("すべてのファイル (*.*)"),
                                  QStringLiteral("HTML ドキュメント (*.html;*.htm)")}));
    EXPECT_EQ(first, QStringList{QStringLiteral("*")});
    EXPECT_EQ(second, (QStringList{QStringLiteral("*.html"), QStringLiteral("*.htm")}));
}
