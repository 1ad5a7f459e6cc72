// The language dialog on its own: its rows, the row selected on opening, what OK and Cancel
// leave in m_nCodePage, and its template (caption, controls, size in dialog units).

#include "platform/fx/DialogUnits.h"
#include "dialogs/LangSelectDlg.h"
#include "platform/nls/CodePages.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

std::uint32_t rowCodePage(const QListWidget* list, int row)
{
    return list->item(row)->data(Qt::UserRole).value<std::uint32_t>();
}

int rowOf(const QListWidget* list, std::uint32_t codePage)
{
    for (int i = 0; i < list->count(); ++i)
        if (rowCodePage(list, i) == codePage)
            return i;
    return -1;
}

// The dialog opened (shown) for the current page codePage.
std::unique_ptr<CLangSelectDlg> openedFor(std::uint32_t codePage)
{
    auto dialog = std::make_unique<CLangSelectDlg>();
    dialog->m_nCodePage = codePage;
    dialog->show();
    return dialog;
}

} // namespace

TEST(LangSelectDlg, ListsEveryInstalledPageByNameWithItsNumber)
{
    auto dialog = openedFor(932);
    const QListWidget* list = dialog->list();
    const auto& installed = platform::nls::installedCodePages();
    ASSERT_EQ(list->count(), int(installed.size()));
    for (int i = 0; i < list->count(); ++i) {
        EXPECT_EQ(rowCodePage(list, i), installed[std::size_t(i)]) << "row " << i;
        EXPECT_EQ(list->item(i)->text().toStdU16String(),
                  platform::nls::codePageName(installed[std::size_t(i)]));
    }
    // The pages the program is for are among them, in the system's own wording.
    for (std::uint32_t cp : {932u, 936u, 949u, 950u, 1252u, 65001u})
        EXPECT_GE(rowOf(list, cp), 0) << cp;
    EXPECT_EQ(list->item(rowOf(list, 932))->text(),
              QStringLiteral("932   (ANSI/OEM - 日本語 Shift-JIS)"));
}

TEST(LangSelectDlg, RowsKeepTheEnumerationOrderNotTheAlphabet)
{
    auto dialog = openedFor(932);
    EXPECT_FALSE(dialog->list()->isSortingEnabled());
    // Numbers ascend even where the names would sort otherwise ("10000" before "1250").
    for (int i = 1; i < dialog->list()->count(); ++i)
        EXPECT_LT(rowCodePage(dialog->list(), i - 1), rowCodePage(dialog->list(), i));
}

TEST(LangSelectDlg, CurrentPageComesUpSelected)
{
    for (std::uint32_t cp : {932u, 949u, 65001u}) {
        auto dialog = openedFor(cp);
        const auto selected = dialog->list()->selectedItems();
        ASSERT_EQ(selected.size(), 1) << cp;
        EXPECT_EQ(selected.front()->data(Qt::UserRole).value<std::uint32_t>(), cp);
        EXPECT_EQ(dialog->list()->currentRow(), rowOf(dialog->list(), cp));
    }
}

TEST(LangSelectDlg, PageNotListedSelectsNothingAndOkGives932)
{
    // 1200 (UTF-16) and 0 are never byte code pages; 12345 is no page at all.
    for (std::uint32_t cp : {0u, 1200u, 12345u}) {
        auto dialog = openedFor(cp);
        EXPECT_TRUE(dialog->list()->selectedItems().isEmpty()) << cp;
        dialog->accept();
        EXPECT_EQ(dialog->m_nCodePage, 932u) << cp;
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
    }
}

TEST(LangSelectDlg, OkTakesTheSelectedRowsNumber)
{
    auto dialog = openedFor(932);
    dialog->list()->setCurrentRow(rowOf(dialog->list(), 936));
    dialog->accept();
    EXPECT_EQ(dialog->m_nCodePage, 936u);
}

TEST(LangSelectDlg, OkWithTheSelectionClearedGives932)
{
    auto dialog = openedFor(65001);
    dialog->list()->clearSelection();
    dialog->accept();
    EXPECT_EQ(dialog->m_nCodePage, 932u);
}

TEST(LangSelectDlg, CancelLeavesThePageAsItWas)
{
    auto dialog = openedFor(65001);
    dialog->list()->setCurrentRow(rowOf(dialog->list(), 936));
    dialog->findChild<QPushButton*>(QStringLiteral("2"))->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->m_nCodePage, 65001u);
}

TEST(LangSelectDlg, OkButtonAcceptsWithTheClickedRow)
{
    auto dialog = openedFor(932);
    QListWidget* list = dialog->list();
    const int row = rowOf(list, 949);
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
    dialog->findChild<QPushButton*>(QStringLiteral("1"))->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->m_nCodePage, 949u);
}

TEST(LangSelectDlg, DoubleClickOnlySelects)
{
    auto dialog = openedFor(932);
    QListWidget* list = dialog->list();
    const int row = rowOf(list, 950);
    list->scrollToItem(list->item(row));
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->m_nCodePage, 932u);
    EXPECT_EQ(list->currentRow(), row);
}

TEST(LangSelectDlg, TemplateCaptionControlsAndSize)
{
    auto dialog = openedFor(932);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("言語選択"));
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("1"));
    auto* cancel = dialog->findChild<QPushButton*>(QStringLiteral("2"));
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(cancel->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(dialog->list()->objectName(), QStringLiteral("1030"));

    const platform::fx::DialogUnits units(dialog->font());
    EXPECT_EQ(dialog->size(), units.size(254, 123));
    // Buttons of 50 x 14 units at least, beside the list, nothing overlapping.
    EXPECT_GE(ok->width(), units.x(50));
    EXPECT_GE(ok->height(), units.y(14));
    EXPECT_LE(dialog->list()->geometry().right(), ok->geometry().left());
    EXPECT_LT(ok->geometry().bottom(), cancel->geometry().top());
    EXPECT_GE(cancel->width(), cancel->sizeHint().width());
}

TEST(DialogUnits, ScaleWithTheDialogFont)
{
    const platform::fx::DialogUnits small(QFont(QStringLiteral("DejaVu Sans"), 9));
    const platform::fx::DialogUnits large(QFont(QStringLiteral("DejaVu Sans"), 18));
    // Four horizontal units are one average character, eight vertical ones its height.
    EXPECT_EQ(small.x(4), small.baseX());
    EXPECT_EQ(small.y(8), small.baseY());
    EXPECT_EQ(small.x(0), 0);
    EXPECT_GT(large.baseX(), small.baseX());
    EXPECT_GT(large.baseY(), small.baseY());
    EXPECT_GT(large.x(254), small.x(254));
    // The average width lies between the narrowest and widest Latin letters.
    const QFontMetrics metrics(QFont(QStringLiteral("DejaVu Sans"), 9));
    EXPECT_GE(small.baseX(), metrics.horizontalAdvance(QLatin1Char('i')));
    EXPECT_LE(small.baseX(), metrics.horizontalAdvance(QLatin1Char('W')));
    // A line of Japanese text fits one character height.
    EXPECT_GE(small.baseY(), metrics.height());
    EXPECT_GE(small.baseY(), metrics.boundingRect(QStringLiteral("日本語")).height());
}
