// Start-up from the command line, the caption, the About box and the settings the view
// keeps between runs.
#include "ShellTestSupport.h"

#include <QDialog>
#include <QPrinterInfo>
#include <QPushButton>

using namespace quillet_test;
using platform::fx::ScriptedUiHost;

namespace {

using Action = CMyApp::CommandLine::Action;

class Startup : public ShellTest {};

} // namespace

TEST_F(Startup, WithoutArgumentsAnEmptyUntitledTextIsShown)
{
    ASSERT_TRUE(start());
    EXPECT_TRUE(app->mainWindowShown());
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(document()->title(), QStringLiteral("無題"));
    EXPECT_TRUE(document()->pathName().isEmpty());
    EXPECT_FALSE(document()->isModified());
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("無題 - Quillet"));
    EXPECT_TRUE(text().empty());
    EXPECT_TRUE(ui.shown().isEmpty());
}

TEST_F(Startup, AFileArgumentIsOpenedAndNamesTheWindow)
{
    // "日本語\r\nｶﾅ" in Shift_JIS.
    const QString path = writeFile(QStringLiteral("memo.txt"),
                                   QByteArray("\x93\xfa\x96\x7b\x8c\xea\r\n\xb6\xc5"));
    ASSERT_TRUE(start({path}));
    EXPECT_EQ(text(), u"日本語\r\nｶﾅ");
    EXPECT_EQ(document()->pathName(), path);
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("memo.txt - Quillet"));
    EXPECT_FALSE(document()->isModified());
    ASSERT_EQ(app->recentFiles()->entries().size(), 1u);
    EXPECT_EQ(qstr(app->recentFiles()->entries()[0]), path);
}

TEST_F(Startup, AMissingFileEndsStartUpWithItsMessageAndNoWindow)
{
    const QString path = filePath(QStringLiteral("nowhere.txt"));
    EXPECT_FALSE(start({path}));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].text, path + QStringLiteral(" が見つかりませんでした。"));
    EXPECT_EQ(ui.messages()[0].caption, QStringLiteral("Quillet"));
    EXPECT_FALSE(app->mainWindowShown());
    ASSERT_NE(frame(), nullptr);
    EXPECT_FALSE(frame()->isVisible());
}

TEST_F(Startup, AMissingFileStillStoresTheSettingsAtTheEnd)
{
    // The frame made for the failed start goes down as at any end: the view's settings and
    // the window placement are written.
    EXPECT_FALSE(start({filePath(QStringLiteral("nowhere.txt"))}));
    quit();
    EXPECT_EQ(settings().readInt(u"Settings", u"CodePage", -1), 932);
    EXPECT_TRUE(settings().readBinary(u"Settings", u"Window").has_value());
}

TEST_F(Startup, ThePrintSwitchOpensTheFileThenEndsWithoutTheWindowOrSaysWhyNot)
{
    const QString path = writeFile(QStringLiteral("print.txt"), "abc");
    // A printer that does not exist is named in the message; the start reports failure.
    EXPECT_FALSE(start({QStringLiteral("/pt"), path, QStringLiteral("no such printer"),
                        QStringLiteral("drv"), QStringLiteral("port")}));
    EXPECT_EQ(text(), u"abc");
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("プリンタ \"no such printer\" が見つかりません。")});
    EXPECT_FALSE(app->mainWindowShown());
    EXPECT_FALSE(frame()->isVisible());
    quit();
    // Without any printer "-p" says so (with a default printer it would really print).
    if (!QPrinterInfo::defaultPrinter().isNull())
        return;
    for (const QString& sw : {QStringLiteral("-p"), QStringLiteral("/p")}) {
        SCOPED_TRACE(sw.toStdString());
        ui.clear();
        EXPECT_FALSE(start({sw, path}));
        EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("プリンタがありません。プリンタを追加してから印刷してください。")});
        EXPECT_FALSE(app->mainWindowShown());
        quit();
    }
}

TEST_F(Startup, APrintRequestGoesToThePrinterNamedOrElseTheDefaultOne)
{
    const QString fallback = QPrinterInfo::defaultPrinter().printerName();
    const QStringList installed = QPrinterInfo::availablePrinterNames();
    const QString some = installed.isEmpty() ? QString() : installed.last();
    const struct {
        QStringList args;
        QString printer;  // empty: none (a message says so)
    } cases[] = {
        {{QStringLiteral("-p"), QStringLiteral("a.txt")}, fallback},
        {{QStringLiteral("-pt"), QStringLiteral("a.txt")}, fallback},
        {{QStringLiteral("/pt"), QStringLiteral("a.txt"), some, QStringLiteral("d"), QStringLiteral("p")}, some},
        {{QStringLiteral("-pt"), QStringLiteral("a.txt"), QStringLiteral("no such printer")}, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        EXPECT_EQ(CMyApp::PrinterFor(CMyApp::ParseCommandLine(c.args)).printerName(), c.printer);
    }
}

TEST_F(Startup, ThePrintSwitchWithAMissingFileReportsOnlyTheMissingFile)
{
    const QString path = filePath(QStringLiteral("gone.txt"));
    EXPECT_FALSE(start({QStringLiteral("-p"), path}));
    EXPECT_EQ(messageTexts(), QStringList{path + QStringLiteral(" が見つかりませんでした。")});
    EXPECT_FALSE(app->mainWindowShown());
}

TEST_F(Startup, SwitchesAreCaseSensitiveAndPrinterNamesFollowTheFile)
{
    const auto print = CMyApp::ParseCommandLine({QStringLiteral("-p"), QStringLiteral("a.txt")});
    EXPECT_EQ(print.action, Action::Print);
    EXPECT_EQ(print.fileName, QStringLiteral("a.txt"));

    const auto upper = CMyApp::ParseCommandLine({QStringLiteral("-P"), QStringLiteral("a.txt")});
    EXPECT_EQ(upper.action, Action::Open);

    const auto printTo = CMyApp::ParseCommandLine(
        {QStringLiteral("/pt"), QStringLiteral("a.txt"), QStringLiteral("Office"),
         QStringLiteral("drv"), QStringLiteral("lp0")});
    EXPECT_EQ(printTo.action, Action::PrintTo);
    EXPECT_EQ(printTo.fileName, QStringLiteral("a.txt"));
    EXPECT_EQ(printTo.printerName, QStringLiteral("Office"));
    EXPECT_EQ(printTo.driverName, QStringLiteral("drv"));
    EXPECT_EQ(printTo.portName, QStringLiteral("lp0"));

    // An absolute path begins with '/' and is a file, not a switch.
    const auto absolute = CMyApp::ParseCommandLine({QStringLiteral("/tmp/p")});
    EXPECT_EQ(absolute.action, Action::Open);
    EXPECT_EQ(absolute.fileName, QStringLiteral("/tmp/p"));

    // Nothing to print without a file: a new text.
    EXPECT_EQ(CMyApp::ParseCommandLine({QStringLiteral("-p")}).action, Action::New);
    EXPECT_EQ(CMyApp::ParseCommandLine({}).action, Action::New);
}

TEST_F(Startup, TheAboutBoxShowsTheVersion)
{
    ASSERT_TRUE(start());
    QStringList labels;
    QStringList buttons;
    ui.answerModal([&](QDialog& dialog) {
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (!label->text().isEmpty())
                labels << label->text();
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            buttons << button->text();
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(frame()->executeCommand(res::ID_APP_ABOUT));
    ASSERT_EQ(ui.shown().size(), 1);
    EXPECT_EQ(ui.shown()[0].kind, ScriptedUiHost::Shown::Kind::Modal);
    EXPECT_EQ(ui.shown()[0].dialogTitle, QStringLiteral("バージョン情報"));
    EXPECT_TRUE(labels.contains(QStringLiteral("Quillet Ver.1.0.1.3"))) << labels.join('|').toStdString();
    EXPECT_EQ(labels.size(), 3);
    EXPECT_EQ(buttons, QStringList{QStringLiteral("OK")});
}

TEST_F(Startup, TheViewReadsItsSettingsAtCreationAndWritesThemAtTheEnd)
{
    setSetting(u"CodePage", 1252);
    setSetting(u"TabStops", 8);
    setSetting(u"Ja", 1);
    setSetting(u"Ncr", 1);
    setSetting(u"WordWrap", 1);
    ASSERT_TRUE(start());
    EXPECT_EQ(view()->m_nCodePage, 1252u);
    EXPECT_EQ(view()->m_nTabStops, 8);
    EXPECT_EQ(view()->m_bAutoDetectJa, 1);
    EXPECT_EQ(view()->m_nNcrRadix, 1);
    EXPECT_EQ(view()->m_nLangSelect, 0);
    EXPECT_TRUE(view()->wordWrap());

    view()->m_nCodePage = 65001;
    view()->m_nTabStops = 2;
    quit();
    EXPECT_EQ(settings().readInt(u"Settings", u"CodePage", -1), 65001);
    EXPECT_EQ(settings().readInt(u"Settings", u"TabStops", -1), 2);
    EXPECT_EQ(settings().readInt(u"Settings", u"Ja", -1), 1);
    EXPECT_EQ(settings().readInt(u"Settings", u"WordWrap", -1), 1);
    EXPECT_EQ(settings().readInt(u"Settings", u"LangSelect", -1), 0);
}

TEST_F(Startup, AFirstRunWithoutSettingsTakesTheDefaults)
{
    QFile::remove(settingsFile());
    ASSERT_TRUE(start());
    EXPECT_EQ(view()->m_nCodePage, 932u);
    EXPECT_EQ(view()->m_nLangSelect, 1);
    EXPECT_EQ(view()->m_nTabStops, 4);
    EXPECT_EQ(view()->m_bAutoDetectJa, 0);
    EXPECT_FALSE(view()->wordWrap());
    EXPECT_FALSE(QFile::exists(settingsFile()));
    quit();
    EXPECT_TRUE(QFile::exists(settingsFile()));
}

TEST_F(Startup, AMissingReadmeIsReportedWithItsPathAndError)
{
    ASSERT_TRUE(start());
    const QString readme = CMainFrame::ReadmePath();
    ASSERT_TRUE(readme.endsWith(QStringLiteral(".htm")));
    ASSERT_FALSE(QFile::exists(readme));
    EXPECT_TRUE(frame()->executeCommand(res::ID_README));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("'") + readme + QStringLiteral("' を開くことができません。(Error:2)"));
    EXPECT_EQ(ui.messages()[0].icon, platform::fx::MsgIcon::Exclamation);
}

TEST_F(Startup, ClosingTheWindowStoresTheSettings)
{
    ASSERT_TRUE(start());
    view()->m_nCodePage = 949;
    ASSERT_TRUE(frame()->close());
    // Nothing more to ask: the frame has gone down once, and the settings are on disk.
    EXPECT_EQ(settings().readInt(u"Settings", u"CodePage", -1), 949);
    EXPECT_TRUE(settings().readBinary(u"Settings", u"Window").has_value());
}


TEST(Readme, FoundBesideTheProgramElseWhereItsInstallationPutsIt)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString top = QDir(root.path()).canonicalPath();
    const auto touch = [&](const QString& path) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(top + path).absolutePath()));
        QFile file(top + path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    const auto readme = [&](const QString& program) {
        return CMainFrame::ReadmePath((top + program).toStdString()).mid(top.size());
    };
    // An installed program: <prefix>/bin/quillet reads <prefix>/share/doc/quillet.
    touch(QStringLiteral("/usr/bin/quillet"));
    EXPECT_EQ(readme(QStringLiteral("/usr/bin/quillet")), QStringLiteral("/usr/bin/quillet.htm"));
    touch(QStringLiteral("/usr/share/doc/quillet/quillet.htm"));
    EXPECT_EQ(readme(QStringLiteral("/usr/bin/quillet")),
              QStringLiteral("/usr/share/doc/quillet/quillet.htm"));
    // A program with its readme beside it (the build's, a copied folder) keeps to that one.
    touch(QStringLiteral("/usr/bin/quillet.htm"));
    EXPECT_EQ(readme(QStringLiteral("/usr/bin/quillet")), QStringLiteral("/usr/bin/quillet.htm"));
    // One in another folder: neither is there, and the message names the file beside it.
    touch(QStringLiteral("/opt/q/Quillet"));
    EXPECT_EQ(readme(QStringLiteral("/opt/q/Quillet")), QStringLiteral("/opt/q/Quillet.htm"));
}
