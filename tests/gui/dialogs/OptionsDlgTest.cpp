// The options dialog on its own: controls set from the members on opening, members set
// from the controls only on OK, the radio group's -1, and its template.

#include "platform/fx/DialogUnits.h"
#include "dialogs/OptionsDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Members {
    std::int32_t autoDetect, radix, showLangDlg;
};

std::unique_ptr<COptionsDlg> openedWith(Members m)
{
    auto dialog = std::make_unique<COptionsDlg>();
    dialog->m_bAutoDetect = m.autoDetect;
    dialog->m_nNcrRadix = m.radix;
    dialog->m_bShowLangDlg = m.showLangDlg;
    dialog->show();
    return dialog;
}

template <class T>
T* control(QDialog& dialog, unsigned id)
{
    T* found = dialog.findChild<T*>(QString::number(id));
    EXPECT_NE(found, nullptr) << "control " << id;
    return found;
}

struct Checks {
    bool autoDetect, decimal, hex, showLangDlg;
    bool operator==(const Checks&) const = default;
};

Checks checksOf(QDialog& dialog)
{
    return {control<QCheckBox>(dialog, 1032)->isChecked(),
            control<QRadioButton>(dialog, 1000)->isChecked(),
            control<QRadioButton>(dialog, 1001)->isChecked(),
            control<QCheckBox>(dialog, 1026)->isChecked()};
}

} // namespace

TEST(OptionsDlg, ConstructedMembers)
{
    COptionsDlg dialog;
    EXPECT_EQ(dialog.m_bAutoDetect, 1);
    EXPECT_EQ(dialog.m_nNcrRadix, 0);
    EXPECT_EQ(dialog.m_bShowLangDlg, 0);
}

TEST(OptionsDlg, ControlsComeFromTheMembersWhenItOpens)
{
    auto a = openedWith({0, 0, 1});
    EXPECT_EQ(checksOf(*a), (Checks{false, true, false, true}));
    auto b = openedWith({1, 1, 0});
    EXPECT_EQ(checksOf(*b), (Checks{true, false, true, false}));
}

TEST(OptionsDlg, RadixThatNamesNoButtonChecksNoneAndOkGivesMinusOne)
{
    for (std::int32_t radix : {-1, 2, 5}) {
        auto dialog = openedWith({0, radix, 0});
        EXPECT_FALSE(control<QRadioButton>(*dialog, 1000)->isChecked()) << radix;
        EXPECT_FALSE(control<QRadioButton>(*dialog, 1001)->isChecked()) << radix;
        dialog->accept();
        EXPECT_EQ(dialog->m_nNcrRadix, -1) << radix;
    }
}

TEST(OptionsDlg, OkReadsEveryControl)
{
    auto dialog = openedWith({0, 0, 1});
    control<QCheckBox>(*dialog, 1032)->click();
    control<QRadioButton>(*dialog, 1001)->click();
    control<QCheckBox>(*dialog, 1026)->click();
    // The group stays exclusive after it was set from the member.
    EXPECT_FALSE(control<QRadioButton>(*dialog, 1000)->isChecked());
    control<QPushButton>(*dialog, 1)->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->m_bAutoDetect, 1);
    EXPECT_EQ(dialog->m_nNcrRadix, 1);
    EXPECT_EQ(dialog->m_bShowLangDlg, 0);
}

TEST(OptionsDlg, CheckBoxesGiveZeroOrOne)
{
    // A non-zero value other than 1 checks the box and comes back as 1.
    auto dialog = openedWith({7, 0, -3});
    EXPECT_TRUE(control<QCheckBox>(*dialog, 1032)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(*dialog, 1026)->isChecked());
    dialog->accept();
    EXPECT_EQ(dialog->m_bAutoDetect, 1);
    EXPECT_EQ(dialog->m_bShowLangDlg, 1);
}

TEST(OptionsDlg, CancelLeavesTheMembersEvenAfterTheControlsChanged)
{
    auto dialog = openedWith({1, 5, 0});
    control<QCheckBox>(*dialog, 1032)->click();
    control<QRadioButton>(*dialog, 1000)->click();
    control<QCheckBox>(*dialog, 1026)->click();
    control<QPushButton>(*dialog, 2)->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->m_bAutoDetect, 1);
    EXPECT_EQ(dialog->m_nNcrRadix, 5);
    EXPECT_EQ(dialog->m_bShowLangDlg, 0);
}

TEST(OptionsDlg, TemplateCaptionTextsAndSize)
{
    auto dialog = openedWith({1, 0, 0});
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("各種の動作設定"));
    EXPECT_EQ(control<QCheckBox>(*dialog, 1032)->text(), QStringLiteral("文字コード自動判定(&A)"));
    EXPECT_EQ(control<QRadioButton>(*dialog, 1000)->text(), QStringLiteral("10進(&D)"));
    EXPECT_EQ(control<QRadioButton>(*dialog, 1001)->text(), QStringLiteral("16進(&H)"));
    EXPECT_EQ(control<QCheckBox>(*dialog, 1026)->text(),
              QStringLiteral("ファイルオープン時に表示(&L)"));
    EXPECT_EQ(control<QPushButton>(*dialog, 1)->text(), QStringLiteral("OK"));
    EXPECT_TRUE(control<QPushButton>(*dialog, 1)->isDefault());
    EXPECT_EQ(control<QPushButton>(*dialog, 2)->text(), QStringLiteral("キャンセル"));

    // The three groups top to bottom, each holding its own controls.
    const QList<QGroupBox*> groups = dialog->findChildren<QGroupBox*>();
    ASSERT_EQ(groups.size(), 3);
    QStringList titles;
    for (QGroupBox* g : groups)
        titles << g->title();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("日本語の読み込み"),
                                   QStringLiteral("数値文字参照への変換"),
                                   QStringLiteral("言語選択ダイアログ")}));
    EXPECT_LT(groups[0]->geometry().bottom(), groups[1]->geometry().top());
    EXPECT_LT(groups[1]->geometry().bottom(), groups[2]->geometry().top());
    EXPECT_TRUE(groups[1]->geometry().contains(
        control<QRadioButton>(*dialog, 1001)->mapTo(dialog.get(), QPoint(0, 0))));
    EXPECT_TRUE(groups[2]->geometry().contains(
        control<QCheckBox>(*dialog, 1026)->mapTo(dialog.get(), QPoint(0, 0))));

    // The template's size in the dialog's units; a font whose lines are taller than its
    // units allow (a CJK face for the dialogs' Japanese) grows it just enough, no group cut.
    const platform::fx::DialogUnits units(dialog->font());
    EXPECT_EQ(dialog->size(), units.size(187, 127).expandedTo(dialog->layout()->minimumSize()));
    for (QGroupBox* g : groups)
        EXPECT_GE(g->height(), g->minimumSizeHint().height()) << g->title().toStdString();
    // Every text fits its control whole.
    for (unsigned id : {1032u, 1026u}) {
        QCheckBox* box = control<QCheckBox>(*dialog, id);
        EXPECT_GE(box->width(), box->sizeHint().width()) << id;
    }
}
