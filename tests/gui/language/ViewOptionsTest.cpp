// The options command over the view's three switches: the dialog set from the view, the
// switches written back only on OK, and what the settings then hold.

#include "LanguageTestSupport.h"

#include <QCheckBox>
#include <QRadioButton>

using quillet_test::control;
using quillet_test::LanguageViewTest;

namespace {

struct Seen {
    bool autoDetect = false, decimal = false, hex = false, showLangDlg = false;
};

// Records the controls as the dialog opened, optionally clicks some, and answers.
std::function<int(QDialog&)> play(Seen* seen, std::initializer_list<unsigned> clicks,
                                  int answer)
{
    std::vector<unsigned> toClick(clicks);
    return [seen, toClick, answer](QDialog& dialog) {
        seen->autoDetect = control<QCheckBox>(dialog, 1032)->isChecked();
        seen->decimal = control<QRadioButton>(dialog, 1000)->isChecked();
        seen->hex = control<QRadioButton>(dialog, 1001)->isChecked();
        seen->showLangDlg = control<QCheckBox>(dialog, 1026)->isChecked();
        for (unsigned id : toClick)
            control<QAbstractButton>(dialog, id)->click();
        return answer;
    };
}

} // namespace

TEST_F(LanguageViewTest, OptionsWithDefaultSettings)
{
    createView();
    Seen seen;
    host.answerModal(play(&seen, {}, QDialog::Accepted));
    view->OnOptions();
    EXPECT_FALSE(seen.autoDetect);
    EXPECT_TRUE(seen.decimal);
    EXPECT_FALSE(seen.hex);
    EXPECT_TRUE(seen.showLangDlg);
    EXPECT_EQ(view->m_bAutoDetectJa, 0);
    EXPECT_EQ(view->m_nNcrRadix, 0);
    EXPECT_EQ(view->m_nLangSelect, 1);
}

TEST_F(LanguageViewTest, OptionsOkWritesTheThreeSwitchesBack)
{
    createView();
    Seen seen;
    host.answerModal(play(&seen, {1032, 1001, 1026}, QDialog::Accepted));
    view->OnOptions();
    EXPECT_EQ(view->m_bAutoDetectJa, 1);
    EXPECT_EQ(view->m_nNcrRadix, 1);
    EXPECT_EQ(view->m_nLangSelect, 0);
    // They reach the settings when the view goes, not before.
    EXPECT_TRUE(iniText().isEmpty());
    view->onDestroy();
    EXPECT_EQ(setting("Ja"), "1");
    EXPECT_EQ(setting("Ncr"), "1");
    EXPECT_EQ(setting("LangSelect"), "0");
}

TEST_F(LanguageViewTest, OptionsLangSelectOtherThanOneShowsUncheckedAndDoesNotSurviveOk)
{
    writeIni("[Settings]\r\nLangSelect=2\r\n");
    createView();
    Seen seen;
    host.answerModal(play(&seen, {}, QDialog::Accepted));
    view->OnOptions();
    EXPECT_FALSE(seen.showLangDlg);
    EXPECT_EQ(view->m_nLangSelect, 0);

    host.answerModal(play(&seen, {1026}, QDialog::Accepted));
    view->OnOptions();
    EXPECT_EQ(view->m_nLangSelect, 1);
}

TEST_F(LanguageViewTest, OptionsNcrOutOfRangeIsReadAsHexadecimalAndOkStoresOne)
{
    // Any value but 0 makes hexadecimal references, so the dialog shows that choice.
    writeIni("[Settings]\r\nNcr=7\r\n");
    createView();
    Seen seen;
    host.answerModal(play(&seen, {}, QDialog::Accepted));
    view->OnOptions();
    EXPECT_FALSE(seen.decimal);
    EXPECT_TRUE(seen.hex);
    EXPECT_EQ(view->m_nNcrRadix, 1);
    view->onDestroy();
    EXPECT_EQ(setting("Ncr"), "1");
}

TEST_F(LanguageViewTest, OptionsCancelLeavesEverySwitch)
{
    writeIni("[Settings]\r\nNcr=1\r\nJa=1\r\nLangSelect=5\r\n");
    createView();
    Seen seen;
    host.answerModal(play(&seen, {1032, 1000, 1026}, QDialog::Rejected));
    view->OnOptions();
    EXPECT_TRUE(seen.autoDetect);
    EXPECT_TRUE(seen.hex);
    EXPECT_FALSE(seen.showLangDlg);
    EXPECT_EQ(view->m_bAutoDetectJa, 1);
    EXPECT_EQ(view->m_nNcrRadix, 1);
    EXPECT_EQ(view->m_nLangSelect, 5);
}
