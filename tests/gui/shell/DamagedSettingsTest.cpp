// A damaged settings file never stops the program: what cannot be read gives the defaults,
// and a file that could not be read is never replaced by the settings written at the end.
#include "ShellTestSupport.h"

#include <random>
#include <sys/stat.h>

using namespace quillet_test;

namespace {

class DamagedSettings : public ShellTest {
protected:
    // The folder the test's settings live in (XDG_CONFIG_HOME).
    static QString configRoot() { return qEnvironmentVariable("XDG_CONFIG_HOME"); }
};

struct Damage {
    const char* name;
    std::function<void(const QString& path)> make;
    unsigned codePage;  // what the program starts with
    bool untouched;     // the file must stay exactly as it was; the user is told so
};

void put(const QString& path, const QByteArray& bytes)
{
    QFile::remove(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST_F(DamagedSettings, TheProgramStartsWithWhatCanBeReadAndNeverCrashes)
{
    const QByteArray head = "[Settings]\r\nLangSelect=0\r\nCodePage=1252\r\n";
    const Damage damages[] = {
        {"binary garbage",
         [](const QString& p) {
             std::mt19937 random(7);
             QByteArray bytes(65536, '\0');
             for (char& c : bytes)
                 c = char(random());
             put(p, bytes);
         },
         932, false},
        {"100 MB",
         [&](const QString& p) {
             put(p, head);
             ASSERT_EQ(::truncate(QFile::encodeName(p).constData(), 100 << 20), 0);
         },
         932, true},
        {"a line of 10 MB",
         [&](const QString& p) { put(p, head + "Memo=" + QByteArray(10 << 20, 'x') + "\r\n"); },
         932, true},
        {"invalid UTF-8",
         [&](const QString& p) { put(p, "\xff\xfe[Set\xc3\r\n" + head + "Bad\xe6=\x80\xbf\r\n"); },
         1252, false},
        {"a folder in its place",
         [](const QString& p) {
             QFile::remove(p);
             ASSERT_TRUE(QDir().mkpath(p));
         },
         932, true},
        {"no read permission",
         [&](const QString& p) {
             put(p, head);
             ASSERT_EQ(::chmod(QFile::encodeName(p).constData(), 0200), 0);
         },
         932, true},
        {"no write permission",
         [&](const QString& p) {
             put(p, head);
             ASSERT_EQ(::chmod(QFile::encodeName(p).constData(), 0400), 0);
         },
         1252, true},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.name);
        const QString path = settingsFile();
        QDir(path).removeRecursively();
        d.make(path);
        // Run as root, the test gives the settings to the user it runs the program as.
        if (::geteuid() == 0) {
            for (QString p = path; p.startsWith(configRoot()); p = QFileInfo(p).path())
                ASSERT_EQ(::chown(QFile::encodeName(p).constData(), 65534, 65534), 0);
        }
        struct stat before {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
        {
            WithoutRootPrivileges user;
            ASSERT_TRUE(user.ok());
            ASSERT_TRUE(start());
            EXPECT_EQ(view()->m_nCodePage, d.codePage);
            EXPECT_EQ(messageTexts(),
                      d.untouched ? QStringList{QStringLiteral("設定ファイル ") + path +
                                                QStringLiteral(" を読み書きできないため、"
                                                               "今回の設定は保存されません。")}
                                  : QStringList{});
            ui.clear();
            // Typing, a command and the end of the program all write settings.
            QTest::keyClicks(view(), QStringLiteral("x"));
            frame()->executeCommand(res::ID_WORD_WRAP);
            quit();
        }
        // Never replaced, never written: the same file, the same size, the same time.
        struct stat after {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
        EXPECT_EQ(S_ISDIR(after.st_mode), S_ISDIR(before.st_mode));
        if (d.untouched) {
            EXPECT_EQ(after.st_ino, before.st_ino);
            EXPECT_EQ(after.st_size, before.st_size);
            EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
            EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
        }
        ::chmod(QFile::encodeName(path).constData(), 0600);
        QDir(path).removeRecursively();
        QFile::remove(path);
    }
}
