// The view's language and font: the settings it reads at creation and writes at
// destruction, the language command (the outgoing page's font stored first, the text left
// alone), the font command, and the fonts kept per code page.

#include "LanguageTestSupport.h"

#include "view/LanguageFallbackFont.h"
#include "doc/LogFontQt.h"
#include "platform/profile/ValueForms.h"
#include "res/Resource.h"

#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QFontDialog>
#include <QFontInfo>
#include <QRegularExpression>
#include <QTranslator>

using quillet_test::cancelDialog;
using quillet_test::chooseCodePage;
using quillet_test::LanguageViewTest;
using Shown = platform::fx::ScriptedUiHost::Shown;

namespace {

doc::LogFont screenDefault()
{
    return doc::defaultLanguageFont(doc::screenLogPixelsY());
}

doc::LogFont sampleRecord(std::int32_t height, std::u16string_view face)
{
    doc::LogFont f;
    f.lfHeight = height;
    f.lfWeight = doc::FW_BOLD;
    f.lfCharSet = 134;
    f.lfPitchAndFamily = doc::FIXED_PITCH | doc::FF_MODERN;
    f.setFaceName(face);
    return f;
}

QByteArray lettersOf(const doc::LogFont& f)
{
    return QString::fromStdU16String(platform::profile::binaryToLetters(f.toBytes())).toLatin1();
}

// The keys of section [Settings], in the order the file holds them.
QStringList settingsKeysInOrder(const QByteArray& ini)
{
    QStringList keys;
    bool inSettings = false;
    for (const QByteArray& raw : ini.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inSettings = line == QLatin1String("[Settings]");
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (inSettings && eq > 0)
            keys << line.left(eq);
    }
    return keys;
}

} // namespace

TEST_F(LanguageViewTest, WithoutSettingsThePageIs932AndTheFontFourteenPointFixedSys)
{
    createView();
    EXPECT_EQ(view->m_nCodePage, 932u);
    EXPECT_EQ(view->m_nLangSelect, 1);
    EXPECT_EQ(view->m_logFont, screenDefault());
    EXPECT_EQ(view->font().families().value(0), QStringLiteral("FixedSys"));
    EXPECT_EQ(view->font().pixelSize(), -screenDefault().lfHeight);
    // Creation only reads.
    EXPECT_TRUE(iniText().isEmpty());
}

TEST_F(LanguageViewTest, CreationShowsTheStoredFontOfTheStoredPage)
{
    const doc::LogFont chinese = sampleRecord(-22, u"DejaVu Sans Mono");
    writeIni("[Settings]\r\nCodePage=936\r\nFont932=" + lettersOf(sampleRecord(-30, u"X"))
             + "\r\nFont936=" + lettersOf(chinese) + "\r\n");
    createView();
    EXPECT_EQ(view->m_nCodePage, 936u);
    EXPECT_EQ(view->m_logFont, chinese);
    EXPECT_EQ(view->font().pixelSize(), 22);
    EXPECT_EQ(view->font().family(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_TRUE(view->font().bold());
}

TEST_F(LanguageViewTest, FontValueOfAnyOtherLengthIsIgnored)
{
    const QByteArray good = lettersOf(sampleRecord(-22, u"DejaVu Sans Mono"));
    ASSERT_EQ(good.size(), 184);
    // 182 and 186 letters are whole bytes, but 91 and 93 of them; 183 is no bytes at all.
    for (const QByteArray& value : {good.left(182), good + "AB", good.left(183), QByteArray()}) {
        writeIni("[Settings]\r\nFont932=" + value + "\r\n");
        createView();
        EXPECT_EQ(view->m_logFont, screenDefault()) << value.size() << " letters";
    }
    writeIni("[Settings]\r\nFont932=" + good + "\r\n");
    createView();
    EXPECT_EQ(view->m_logFont, sampleRecord(-22, u"DejaVu Sans Mono"));
}

TEST_F(LanguageViewTest, DestructionWritesTheSettingsInTheirOrder)
{
    createView();
    view->onDestroy();
    EXPECT_EQ(settingsKeysInOrder(iniText()),
              (QStringList{"Font932", "TabStops", "CodePage", "LangSelect", "Ncr", "Ja",
                           "WordWrap"}));
    EXPECT_EQ(setting("Font932").size(), 184);
    EXPECT_EQ(storedFont(932), screenDefault());
    EXPECT_EQ(setting("CodePage"), "932");
    EXPECT_EQ(setting("LangSelect"), "1");
    EXPECT_EQ(setting("TabStops"), "4");
}

TEST_F(LanguageViewTest, JaAndNcrAreNormalizedAndLangSelectKeptAsRead)
{
    writeIni("[Settings]\r\nJa=5\r\nLangSelect=5\r\nNcr=7\r\n");
    createView();
    EXPECT_EQ(view->m_bAutoDetectJa, 1);
    EXPECT_EQ(view->m_nLangSelect, 5);
    EXPECT_EQ(view->m_nNcrRadix, 1);
    view->onDestroy();
    EXPECT_EQ(setting("Ja"), "1");
    EXPECT_EQ(setting("LangSelect"), "5");
    EXPECT_EQ(setting("Ncr"), "1");
}

TEST_F(LanguageViewTest, LanguageDialogOpensOnTheCurrentPage)
{
    writeIni("[Settings]\r\nCodePage=949\r\n");
    createView();
    std::uint32_t selected = 0;
    host.answerModal([&selected](QDialog& dialog) {
        auto* list = quillet_test::control<QListWidget>(dialog, 1030);
        if (list && !list->selectedItems().isEmpty())
            selected = list->selectedItems().front()->data(Qt::UserRole).value<std::uint32_t>();
        return int(QDialog::Rejected);
    });
    view->OnLanguageSelect();
    EXPECT_EQ(selected, 949u);
    ASSERT_EQ(host.shown().size(), 1);
    EXPECT_EQ(host.shown()[0].kind, Shown::Kind::Modal);
    EXPECT_EQ(host.shown()[0].dialogTitle, QStringLiteral("言語選択"));
}

TEST_F(LanguageViewTest, ChoosingAPageStoresTheOutgoingFontAndShowsTheNewPagesFont)
{
    const doc::LogFont chinese = sampleRecord(-26, u"DejaVu Sans Mono");
    writeIni("[Settings]\r\nFont936=" + lettersOf(chinese) + "\r\n");
    createView();
    view->setText(u"日本語のテキスト\r\n二行目");
    const doc::LogFont japanese = sampleRecord(-15, u"DejaVu Serif");
    view->m_logFont = japanese;
    view->ApplyFont();

    host.answerModal(chooseCodePage(936));
    view->OnLanguageSelect();
    EXPECT_EQ(view->m_nCodePage, 936u);
    EXPECT_EQ(storedFont(932), japanese);
    EXPECT_EQ(view->m_logFont, chinese);
    EXPECT_EQ(view->font().pixelSize(), 26);
    // The text is not decoded again.
    EXPECT_EQ(view->text(), u"日本語のテキスト\r\n二行目");
    // The page reaches the settings only at destruction.
    EXPECT_EQ(setting("CodePage"), "<none>");
}

TEST_F(LanguageViewTest, PageWithoutAStoredFontGetsTheDefault)
{
    createView();
    view->m_logFont = sampleRecord(-15, u"DejaVu Serif");
    view->ApplyFont();
    host.answerModal(chooseCodePage(949));
    view->OnLanguageSelect();
    EXPECT_EQ(view->m_nCodePage, 949u);
    EXPECT_EQ(view->m_logFont, screenDefault());
    EXPECT_EQ(view->font().families().value(0), QStringLiteral("FixedSys"));
}

TEST_F(LanguageViewTest, SamePageAgainKeepsItsFont)
{
    createView();
    const doc::LogFont mine = sampleRecord(-19, u"DejaVu Sans");
    view->m_logFont = mine;
    view->ApplyFont();
    host.answerModal(chooseCodePage(932));
    view->OnLanguageSelect();
    EXPECT_EQ(view->m_nCodePage, 932u);
    EXPECT_EQ(view->m_logFont, mine);
    EXPECT_EQ(storedFont(932), mine);
    EXPECT_EQ(view->font().pixelSize(), 19);
}

TEST_F(LanguageViewTest, CancelChangesNothingAndStoresNothing)
{
    createView();
    const doc::LogFont mine = sampleRecord(-19, u"DejaVu Sans");
    view->m_logFont = mine;
    view->ApplyFont();
    host.answerModal([](QDialog& dialog) {
        quillet_test::chooseCodePage(936)(dialog);
        return int(QDialog::Rejected);
    });
    view->OnLanguageSelect();
    EXPECT_EQ(view->m_nCodePage, 932u);
    EXPECT_EQ(view->m_logFont, mine);
    EXPECT_EQ(storedFont(932), std::nullopt);
    EXPECT_TRUE(iniText().isEmpty());
}

TEST_F(LanguageViewTest, OkWithNoRowSelectedChoosesCodePage932)
{
    writeIni("[Settings]\r\nCodePage=65001\r\n");
    createView();
    host.answerModal([](QDialog& dialog) {
        quillet_test::control<QListWidget>(dialog, 1030)->clearSelection();
        return int(QDialog::Accepted);
    });
    view->OnLanguageSelect();
    EXPECT_EQ(view->m_nCodePage, 932u);
    EXPECT_EQ(storedFont(65001), screenDefault());
}

TEST_F(LanguageViewTest, FontCommandChangesOnlyTheCurrentPagesFont)
{
    createView();
    QFont chosen(QStringLiteral("DejaVu Sans Mono"));
    chosen.setPointSize(15);
    chosen.setItalic(true);
    host.answerFont(chosen);
    view->OnFontSelect();

    ASSERT_EQ(host.shown().size(), 1);
    const Shown& shown = host.shown()[0];
    EXPECT_EQ(shown.kind, Shown::Kind::FontDialog);
    EXPECT_EQ(shown.font.title, QStringLiteral("フォント"));
    // The dialog starts on the face really drawn, at the record's size in points.
    EXPECT_NE(shown.font.initial.family(), QStringLiteral("FixedSys"));
    EXPECT_NEAR(shown.font.initial.pointSizeF() * doc::screenLogPixelsY() / 72.0,
                -screenDefault().lfHeight, 0.01);

    const int dpi = doc::screenLogPixelsY();
    EXPECT_EQ(view->m_logFont.faceName(), u"DejaVu Sans Mono");
    EXPECT_EQ(view->m_logFont.lfHeight, -int(std::lround(15.0 * dpi / 72)));
    EXPECT_EQ(view->m_logFont.lfItalic, 1);
    // Fields the dialog does not choose stay those of the page's font.
    EXPECT_EQ(view->m_logFont.lfCharSet, doc::DEFAULT_CHARSET);
    EXPECT_TRUE(view->font().italic());
    EXPECT_EQ(view->font().family(), QStringLiteral("DejaVu Sans Mono"));
    // Nothing is stored until the language changes or the view goes.
    EXPECT_TRUE(iniText().isEmpty());
    view->onDestroy();
    EXPECT_EQ(storedFont(932), view->m_logFont);
}

TEST_F(LanguageViewTest, TheFontDialogStartsOnTheStyleReallyDrawn)
{
    // With Qt's texts in Japanese the dialog cannot match the style by its English name;
    // it must be told the face's own style name, or OK alone would make the text bold.
    QTranslator* translator = installQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "qtbase_ja.qm missing (package qt6-translations-l10n)";
    createView();
    for (const QString& family : {QString(), QStringLiteral("DejaVu Sans Mono")}) {
        SCOPED_TRACE(family.toStdString());
        if (!family.isEmpty()) {
            QFont chosen(family);
            chosen.setPointSize(12);
            chosen.setItalic(true);
            host.answerFont(chosen);
            view->OnFontSelect();
        }
        host.answerFont(std::nullopt);
        view->OnFontSelect();
        QFontDialog dialog;
        dialog.setCurrentFont(host.shown().last().font.initial);
        const QFontInfo drawn(view->font());
        EXPECT_EQ(dialog.currentFont().weight(), drawn.weight());
        EXPECT_EQ(dialog.currentFont().italic(), drawn.italic());
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

TEST_F(LanguageViewTest, HanIsDrawnInTheFaceOfTheCodePagesOwnLanguage)
{
    createView();
    const struct {
        unsigned codePage;
        std::string_view language;
    } cases[] = {{932, "ja"}, {936, "zh-cn"}, {54936, "zh-cn"}, {950, "zh-tw"},
                 {949, "ko"}, {1252, ""}, {65001, ""}};
    QStringList fallbacks;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codePage);
        EXPECT_EQ(view::cjkLanguageOfCodePage(c.codePage), c.language);
        view->m_nCodePage = c.codePage;
        view->ApplyFont();
        const QStringList families = view->font().families();
        const QString fallback = view::languageFallbackFamily(c.codePage, view->font());
        // The face drawn for the record's own families stays first in line.
        const QFont own = doc::fontFromLogFont(view->m_logFont);
        EXPECT_EQ(QFontInfo(view->font()).family(), QFontInfo(own).family());
        EXPECT_EQ(families.first(), own.families().value(0));
        if (!c.language.empty() && !fallback.isEmpty())  // a system with a face for it
            EXPECT_EQ(families.last(), fallback);
        else
            EXPECT_EQ(families, own.families());
        fallbacks << fallback;
    }
    // With the CJK faces installed, no language borrows another's face, whatever the
    // language of the user's locale (the suite runs under a Chinese one too).
    const QStringList languages{fallbacks[0], fallbacks[1], fallbacks[3], fallbacks[4]};
    for (int i = 0; i < languages.size(); ++i)
        for (int j = i + 1; j < languages.size(); ++j)
            if (!languages[i].isEmpty() && !languages[j].isEmpty()) {
                EXPECT_NE(languages[i], languages[j]) << qgetenv("LANG").toStdString();
            }
}

TEST_F(LanguageViewTest, FontDialogCancelledChangesNothing)
{
    createView();
    host.answerFont(std::nullopt);
    view->OnFontSelect();
    EXPECT_EQ(view->m_logFont, screenDefault());
    EXPECT_EQ(view->font().families().value(0), QStringLiteral("FixedSys"));
}

TEST_F(LanguageViewTest, CommandsReachTheirHandlers)
{
    createView();
    for (unsigned id : {res::ID_LANGUAGE_SELECT, res::ID_FONT_SELECT, res::ID_OPTIONS}) {
        platform::fx::CmdUI ui(id);
        EXPECT_TRUE(view->onUpdate(ui)) << id;
        EXPECT_TRUE(ui.enabled()) << id;
    }
    host.answerModal(cancelDialog());
    host.answerFont(std::nullopt);
    host.answerModal(cancelDialog());
    EXPECT_TRUE(view->onCommand(res::ID_LANGUAGE_SELECT));
    EXPECT_TRUE(view->onCommand(res::ID_FONT_SELECT));
    EXPECT_TRUE(view->onCommand(res::ID_OPTIONS));
    ASSERT_EQ(host.shown().size(), 3);
    EXPECT_EQ(host.shown()[0].dialogTitle, QStringLiteral("言語選択"));
    EXPECT_EQ(host.shown()[1].kind, Shown::Kind::FontDialog);
    EXPECT_EQ(host.shown()[2].dialogTitle, QStringLiteral("各種の動作設定"));
    EXPECT_EQ(host.unanswered(), 0);
}
