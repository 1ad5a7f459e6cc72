// The shortcut command: the boxes show which shortcuts exist, OK makes each place match its
// box, and a place that fails is told and keeps the dialog open while the others are made.

#include "../shell/ShellTestSupport.h"

#include "dialogs/CShortcutDlg.h"
#include "res/AppId.h"

#include <QCheckBox>

#include <cstdlib>

using namespace quillet_test;

namespace {

class Shortcuts : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(m_home.isValid());
        m_oldHome = qgetenv("HOME");
        m_oldData = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qunsetenv("XDG_DATA_HOME");
        QDir(m_home.path()).mkpath(QStringLiteral("Desktop"));
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        qputenv("HOME", m_oldHome);
        if (!m_oldData.isEmpty())
            qputenv("XDG_DATA_HOME", m_oldData);
    }
    QString home(const QString& rest) const { return m_home.path() + QLatin1Char('/') + rest; }
    QStringList places() const
    {
        QStringList present;
        // The menu's shortcut is named as the installed entry, which it hides.
        const std::pair<const char*, QString> shortcuts[] = {
            {"Desktop", QStringLiteral("Quillet.desktop")},
            {".local/share/applications", QString::fromLatin1(res::kAppId) + ".desktop"},
            {".local/share/Thunar/sendto", QStringLiteral("Quillet.desktop")}};
        for (const auto& [folder, name] : shortcuts)
            if (QFileInfo::exists(home(QString::fromLatin1(folder)) + QLatin1Char('/') + name))
                present << QString::fromLatin1(folder);
        return present;
    }
    // Opens the dialog, records its boxes, sets them to set (when given) and presses OK.
    QList<bool> run(std::optional<QList<bool>> set, int result = QDialog::Accepted)
    {
        QList<bool> shown;
        ui.answerModal([&](QDialog& d) {
            auto& dialog = static_cast<CShortcutDlg&>(d);
            const unsigned ids[] = {res::IDC_SHORTCUT_DESKTOP, res::IDC_SHORTCUT_PROGRAMS,
                                    res::IDC_SHORTCUT_SENDTO};
            for (int i = 0; i < 3; ++i) {
                shown << dialog.checkBox(ids[i])->isChecked();
                if (set)
                    dialog.checkBox(ids[i])->setChecked((*set)[i]);
            }
            return result;
        });
        EXPECT_TRUE(frame()->executeCommand(res::ID_CREATE_SHORTCUT));
        return shown;
    }

private:
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    QByteArray m_oldData;
};

} // namespace

TEST_F(Shortcuts, OkMakesEachPlaceMatchItsBox)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(run(QList<bool>{true, true, true}), (QList<bool>{false, false, false}));
    EXPECT_EQ(places(), (QStringList{QStringLiteral("Desktop"),
                                     QStringLiteral(".local/share/applications"),
                                     QStringLiteral(".local/share/Thunar/sendto")}));
    // The entry starts the program that runs, once for each file given to it.
    const QByteArray entry = readFile(home(QStringLiteral("Desktop/Quillet.desktop")));
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    EXPECT_TRUE(entry.contains("Exec=" + QFile::encodeName(program) + " %f\n")) << entry.toStdString();
    EXPECT_TRUE(QFileInfo(home(QStringLiteral("Desktop/Quillet.desktop"))).isExecutable());
    // "Open with" offers the menu's shortcut: its folder's cache names it.
    if (std::system("command -v update-desktop-database >/dev/null 2>&1") == 0) {
        EXPECT_TRUE(readFile(home(QStringLiteral(".local/share/applications/mimeinfo.cache")))
                        .contains(QByteArray("text/plain=") + res::kAppId + ".desktop;"));
    }

    // Cancel touches nothing; clearing a box deletes that place's shortcut only.
    EXPECT_EQ(run(QList<bool>{false, false, false}, QDialog::Rejected),
              (QList<bool>{true, true, true}));
    EXPECT_EQ(places().size(), 3);
    EXPECT_EQ(run(QList<bool>{false, true, true}), (QList<bool>{true, true, true}));
    EXPECT_EQ(places(), (QStringList{QStringLiteral(".local/share/applications"),
                                     QStringLiteral(".local/share/Thunar/sendto")}));
    EXPECT_EQ(run(std::nullopt), (QList<bool>{false, true, true}));
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(Shortcuts, APlaceThatFailsIsToldAndTheOthersAreMadeToMatchTheirBoxes)
{
    ASSERT_TRUE(start());
    const QString dirs = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/user-dirs.dirs");
    const struct {
        QByteArray userDirs;  // user-dirs.dirs (under XDG_CONFIG_HOME); empty: none
        QString desktop;      // the desktop folder, in the home
        bool blocked;         // the desktop holds a folder named like the shortcut
    } cases[] = {
        // Written: a desktop folder that user-dirs.dirs names but is not there, and a home
        // without ~/Desktop.
        {"XDG_DESKTOP_DIR=\"$HOME/Gone\"\n", QStringLiteral("Gone"), false},
        {{}, QStringLiteral("Desktop"), false},
        // Deleted: a folder in the shortcut's place cannot be removed as a file.
        {{}, QStringLiteral("Desktop"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desktop.toStdString() + (c.blocked ? " blocked" : ""));
        QFile::remove(dirs);
        if (!c.userDirs.isEmpty()) {
            QFile file(dirs);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.userDirs);
        }
        QDir(home(QStringLiteral("Desktop"))).removeRecursively();
        QDir(home(QStringLiteral(".local"))).removeRecursively();
        if (c.blocked) {
            ASSERT_TRUE(QDir().mkpath(home(QStringLiteral("Desktop/Quillet.desktop"))));
        }
        ui.clear();
        bool stayedOpen = false;
        ui.answerModal([&](QDialog& d) {
            auto& dialog = static_cast<CShortcutDlg&>(d);
            dialog.checkBox(res::IDC_SHORTCUT_DESKTOP)->setChecked(!c.blocked);
            dialog.checkBox(res::IDC_SHORTCUT_PROGRAMS)->setChecked(true);
            dialog.checkBox(res::IDC_SHORTCUT_SENDTO)->setChecked(true);
            dialog.accept();
            stayedOpen = dialog.isVisible() && dialog.result() != QDialog::Accepted;
            return int(QDialog::Rejected);
        });
        EXPECT_TRUE(frame()->executeCommand(res::ID_CREATE_SHORTCUT));
        // The places after the failed one are made to match their boxes all the same.
        QStringList expected{QStringLiteral(".local/share/applications"),
                             QStringLiteral(".local/share/Thunar/sendto")};
        if (c.blocked)
            expected.prepend(QStringLiteral("Desktop"));
        EXPECT_EQ(places(), expected);
        // The failed one is named, and the dialog stays open for the user to see to it.
        ASSERT_EQ(ui.messages().size(), 1);
        EXPECT_EQ(ui.messages()[0].icon, platform::fx::MsgIcon::Stop);
        EXPECT_TRUE(ui.messages()[0].text.contains(home(c.desktop + QStringLiteral("/Quillet.desktop"))))
            << ui.messages()[0].text.toStdString();
        EXPECT_TRUE(stayedOpen);
    }
}
