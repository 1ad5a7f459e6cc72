// The whole program over a real settings file: fonts chosen for two code pages are in the
// file after the program ends and come back at the next start.

#include "LanguageTestSupport.h"

#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "platform/fx/Document.h"
#include "doc/LogFontQt.h"
#include "res/Resource.h"

#include <QRegularExpression>

using quillet_test::chooseCodePage;

namespace {

// XDG_CONFIG_HOME pointed at a folder of the test's own for as long as it lives.
class ConfigHome {
public:
    explicit ConfigHome(const QString& path)
        : m_had(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")), m_old(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path));
    }
    ~ConfigHome()
    {
        if (m_had)
            qputenv("XDG_CONFIG_HOME", m_old);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

private:
    bool m_had;
    QByteArray m_old;
};

// One run of the program: started, then ended as closing its window ends it.
class ProgramRun {
public:
    ProgramRun() : m_app(QStringList{}) { m_started = m_app.initInstance(); }
    ~ProgramRun() { end(); }

    bool started() const { return m_started; }
    CMainFrame* frame() const { return static_cast<CMainFrame*>(m_app.mainFrame()); }
    CMyView* view() const { return frame()->GetView(); }

    void end()
    {
        if (m_ended)
            return;
        m_ended = true;
        if (frame()) {
            frame()->close();
            m_app.exitInstance();
            delete frame();
            delete m_app.document();
        }
    }

private:
    CMyApp m_app;
    bool m_started = false;
    bool m_ended = false;
};

// The value of key in section [Settings] of the file's text; empty when missing.
QString valueIn(const QString& ini, const QString& key)
{
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(key),
                                  QRegularExpression::MultilineOption);
    return line.match(ini).captured(1).trimmed();
}

} // namespace

TEST(LanguageSettingsFile, FontsOfTwoPagesSurviveTheEndOfTheProgram)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const ConfigHome config(home.path());
    platform::fx::ScriptedUiHost host;

    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPointSize(16);
    chosen.setBold(true);
    doc::LogFont chosenRecord;
    {
        ProgramRun run;
        ASSERT_TRUE(run.started());
        ASSERT_EQ(run.view()->m_nCodePage, 932u);
        host.answerModal(chooseCodePage(936));
        ASSERT_TRUE(run.frame()->executeCommand(res::ID_LANGUAGE_SELECT));
        host.answerFont(chosen);
        ASSERT_TRUE(run.frame()->executeCommand(res::ID_FONT_SELECT));
        chosenRecord = run.view()->m_logFont;
        EXPECT_EQ(chosenRecord.faceName(), u"DejaVu Serif");
        EXPECT_EQ(chosenRecord.lfWeight, doc::FW_BOLD);
        host.answerModal(chooseCodePage(932));
        ASSERT_TRUE(run.frame()->executeCommand(res::ID_LANGUAGE_SELECT));
        run.end();
    }
    EXPECT_EQ(host.unanswered(), 0);

    QFile file(home.filePath(QStringLiteral("Quillet/quillet.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QString ini = QString::fromUtf8(file.readAll());
    const QString font932 = valueIn(ini, QStringLiteral("Font932"));
    const QString font936 = valueIn(ini, QStringLiteral("Font936"));
    EXPECT_EQ(font932.size(), 184);
    EXPECT_EQ(font936.size(), 184);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-P]{184}$")).match(font936).hasMatch());
    EXPECT_NE(font932, font936);
    EXPECT_EQ(valueIn(ini, QStringLiteral("CodePage")), QStringLiteral("932"));

    // The next start restores the page and both fonts.
    ProgramRun again;
    ASSERT_TRUE(again.started());
    EXPECT_EQ(again.view()->m_nCodePage, 932u);
    EXPECT_EQ(again.view()->m_logFont, doc::defaultLanguageFont(doc::screenLogPixelsY()));
    host.answerModal(chooseCodePage(936));
    ASSERT_TRUE(again.frame()->executeCommand(res::ID_LANGUAGE_SELECT));
    EXPECT_EQ(again.view()->m_logFont, chosenRecord);
    EXPECT_TRUE(again.view()->font().bold());
    EXPECT_EQ(again.view()->font().family(), QStringLiteral("DejaVu Serif"));
}
