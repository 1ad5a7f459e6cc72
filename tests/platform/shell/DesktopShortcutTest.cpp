#include "platform/shell/DesktopShortcut.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

using namespace platform::shell;

TEST(DesktopShortcut, UserDirsFileAsXdgUserDirReadsIt)
{
    const std::string home = "/home/u";
    struct Case {
        std::string contents;
        std::string folder;
    };
    const Case cases[] = {
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "/home/u/Desktop"},
        {"# comment\nXDG_DOWNLOAD_DIR=\"$HOME/dl\"\nXDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n",
         "/home/u/デスクトップ"},
        {"XDG_DESKTOP_DIR=\"/srv/desk/\"", "/srv/desk"},
        {"XDG_DESKTOP_DIR=\"$HOME/a\\\"b\"", "/home/u/a\"b"},
        {"XDG_DESKTOP_DIR=\"$HOME/one\"\nXDG_DESKTOP_DIR=\"$HOME/two\"", "/home/u/two"},
        {"XDG_DESKTOP_DIR=\"$HOME\"", "/home/u"},
        {"XDG_DESKTOP_DIR=relative", ""},
        {"XDG_DESKTOP_DIR=\"relative/x\"", ""},
        {"XDG_DESKTOP_DIR=\"$HOMEx/y\"", ""},
        {"#XDG_DESKTOP_DIR=\"/x\"", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(userDirFromFile(c.contents, "XDG_DESKTOP_DIR", home), c.folder) << c.contents;

    // The folders, with and without the XDG variables; a relative one is ignored.
    char pattern[] = "/tmp/quillet-shortcut-XXXXXX";
    const std::string config = ::mkdtemp(pattern);
    const ShortcutInputs plain{home, "", ""};
    EXPECT_EQ(desktopFolder({home, config, ""}), "/home/u/Desktop");
    std::ofstream(config + "/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
    EXPECT_EQ(desktopFolder({home, config, ""}), "/home/u/Schreibtisch");
    EXPECT_EQ(applicationsFolder(plain), "/home/u/.local/share/applications");
    EXPECT_EQ(applicationsFolder({home, "", "/data"}), "/data/applications");
    EXPECT_EQ(sendToFolder({home, "", "rel"}), "/home/u/.local/share/Thunar/sendto");
    EXPECT_EQ(desktopFolder({"", "", ""}), "");

    // The icon: the SVG beside a program that has one, else the installed theme icon.
    EXPECT_EQ(shortcutIcon(config + "/quillet"), "quillet");
    std::ofstream(config + "/quillet.svg") << "<svg/>";
    EXPECT_EQ(shortcutIcon(config + "/quillet"), config + "/quillet.svg");
    std::system(("rm -rf '" + config + "'").c_str());
}

TEST(DesktopShortcut, ExecQuotesWhatTheKeyReserves)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/usr/bin/quillet", "/usr/bin/quillet"},
        {"/opt/my tools/quillet", "\"/opt/my tools/quillet\""},
        {"/opt/100%/quillet", "/opt/100%%/quillet"},
        {"/opt/a$b/q", "\"/opt/a\\\\$b/q\""},
        {"/opt/a\"b/q", "\"/opt/a\\\\\"b/q\""},
        {"/opt/a\\b/q", "\"/opt/a\\\\\\\\b/q\""},
        {"/opt/日本/q", "/opt/日本/q"},
    };
    for (const auto& [program, exec] : cases)
        EXPECT_EQ(execArgument(program), exec) << program;
}

TEST(DesktopShortcut, EntriesPassTheValidator)
{
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "desktop-file-validate is not installed (desktop-file-utils)";
    char pattern[] = "/tmp/quillet-entry-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    for (const char* program : {"/usr/bin/quillet", "/opt/my tools/quillet", "/opt/100%/q",
                                "/opt/a$b`c\"d\\e/q", "/opt/日本/q"}) {
        const std::string path = dir + "/Quillet.desktop";
        std::ofstream(path) << desktopEntry(program, "中国語や韓国語などを読み書き可能なメモ帳",
                                            shortcutIcon(program));
        EXPECT_EQ(std::system(("desktop-file-validate '" + path + "'").c_str()), 0) << program;
    }
    std::ofstream(dir + "/Quillet.desktop")
        << desktopEntry("/opt/q/quillet", "memo", "/opt/q/quillet.svg");
    EXPECT_EQ(std::system(("desktop-file-validate '" + dir + "/Quillet.desktop'").c_str()), 0);
    std::system(("rm -rf '" + dir + "'").c_str());
}
