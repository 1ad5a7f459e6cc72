#pragma once
// A fresh run of the program for each widget test: an empty settings folder
// (XDG_CONFIG_HOME), a scripted UI host that answers and records every box, a folder for
// the test's files, and the application object started and ended as the program does it.

#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "doc/CMyDoc.h"
#include "platform/fx/ScriptedUiHost.h"
#include "platform/profile/Profile.h"
#include "platform/profile/SettingsPath.h"
#include "platform/shell/AtomicFile.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "view/CMyView.h"
#include "view/CaretPosition.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <unistd.h>

namespace quillet_test {

inline QString resString(unsigned id)
{
    const std::u16string_view s = res::loadString(id);
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

// A program text with "%1" replaced, as the message boxes show it.
inline QString resString(unsigned id, const QString& arg)
{
    return QString::fromStdU16String(
        res::formatString1(res::loadString(id), arg.toStdU16String()));
}

inline QString qstr(const std::u16string& s)
{
    return QString::fromStdU16String(s);
}

// Runs the enclosed file operations without root's right to ignore permissions, so a
// denied file is denied to the test as it is to a user. Does nothing when not root.
class WithoutRootPrivileges {
public:
    WithoutRootPrivileges() : m_wasRoot(::geteuid() == 0)
    {
        if (m_wasRoot)
            m_dropped = ::seteuid(65534) == 0;
    }
    ~WithoutRootPrivileges()
    {
        if (m_dropped && ::seteuid(0) != 0)
            std::abort();  // the rest of the run would be meaningless
    }
    bool ok() const { return !m_wasRoot || m_dropped; }

private:
    bool m_wasRoot;
    bool m_dropped = false;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_config.isValid());
        ASSERT_TRUE(m_files.isValid());
        ASSERT_TRUE(m_state.isValid());
        m_hadXdg = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        m_oldXdg = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        // Each test's recovery records in a folder of its own: no record of another test's
        // is ever offered.
        m_oldState = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_state.path()));
        QApplication::setApplicationName(QStringLiteral("Quillet"));
        // The tests close the main window without an event loop to end.
        QApplication::setQuitOnLastWindowClosed(false);
        // Files open without the language question unless a test asks for it.
        setSetting(u"LangSelect", 0);
    }

    void TearDown() override
    {
        quit();
        platform::shell::setWriteFunctionForTesting(nullptr);
        if (m_hadXdg)
            qputenv("XDG_CONFIG_HOME", m_oldXdg);
        else
            qunsetenv("XDG_CONFIG_HOME");
        qputenv("XDG_STATE_HOME", m_oldState);
        if (checkAllAnswered) {
            // Boxes with only an OK button need no answer; every other box or dialog must
            // have been scripted by the test.
            int okBoxes = 0;
            for (const auto& m : ui.messages())
                okBoxes += m.buttons == platform::fx::MsgButtons::Ok;
            EXPECT_EQ(ui.unanswered(), okBoxes) << "a box or dialog appeared that the test did not expect";
            EXPECT_EQ(ui.pendingAnswers(), 0) << "a scripted answer was never asked for";
        }
    }

    // Starts the program with a command line (without the program's name) as main does, up
    // to the event loop: the result of initInstance.
    bool start(QStringList arguments = {})
    {
        app = std::make_unique<CMyApp>(std::move(arguments));
        const bool ok = app->initInstance();
        if (ok && frame()) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(frame()));
            frame()->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(frame()));
            view()->setFocus();
            QApplication::processEvents();
        }
        return ok;
    }

    // Ends the program as run() does after the event loop (or after a failed start): the
    // frame goes without a question, then the application's exit step; then everything is
    // deleted so the next test starts clean.
    void quit()
    {
        if (!app)
            return;
        CMainFrame* f = frame();
        CMyDoc* d = document();
        if (f)
            f->destroyWindow();
        app->exitInstance();
        delete f;
        delete d;
        app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Ends the program and starts it again with the same settings folder.
    bool restart(QStringList arguments = {})
    {
        quit();
        return start(std::move(arguments));
    }

    CMainFrame* frame() const
    {
        return app ? static_cast<CMainFrame*>(app->mainFrame()) : nullptr;
    }
    CMyDoc* document() const { return app ? static_cast<CMyDoc*>(app->document()) : nullptr; }
    CMyView* view() const { return frame() ? frame()->GetView() : nullptr; }

    // ---- settings ------------------------------------------------------------------------
    QString settingsFile() const
    {
        return QString::fromStdString(platform::profile::GetSettingsFilePath("quillet"));
    }
    platform::profile::IniFile settings() const
    {
        return platform::profile::IniFile(settingsFile().toStdString());
    }
    void setSetting(std::u16string_view key, int value)
    {
        ASSERT_TRUE(settings().writeInt(u"Settings", key, value));
    }

    // ---- files -----------------------------------------------------------------------------
    QString filePath(const QString& name) const { return m_files.filePath(name); }
    QString writeFile(const QString& name, const QByteArray& bytes) const
    {
        const QString path = filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        EXPECT_EQ(file.write(bytes), bytes.size());
        return path;
    }
    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }
    // The recovery folder of this test's runs.
    QString recoveryFolder() const { return m_state.path() + QStringLiteral("/Quillet/recovery"); }
    QStringList filesInFolder() const
    {
        return QDir(m_files.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    // ---- the window ------------------------------------------------------------------------
    QString paneText(unsigned id) const
    {
        QLabel* pane = frame()->pane(id);
        EXPECT_NE(pane, nullptr) << id;
        return pane ? pane->text() : QString();
    }
    QString positionPane() const { return paneText(res::ID_INDICATOR_POSITION); }
    // Presses a key on the focused view, then lets the program go idle once.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(view(), key, modifiers);
        frame()->updateIdle();
    }
    std::u16string text() const { return view()->text(); }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto& m : ui.messages())
            texts << m.text;
        return texts;
    }

    platform::fx::ScriptedUiHost ui;
    std::unique_ptr<CMyApp> app;
    // Set to false by a test that leaves a box unanswered on purpose.
    bool checkAllAnswered = true;

private:
    QTemporaryDir m_config;
    QTemporaryDir m_files;
    QTemporaryDir m_state;
    bool m_hadXdg = false;
    QByteArray m_oldXdg;
    QByteArray m_oldState;
};

} // namespace quillet_test
