#include "platform/shell/DesktopDatabase.h"
#include "platform/shell/DesktopShortcut.h"
#include "platform/shell/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

using namespace platform::shell;

TEST(DesktopDatabase, TheCacheFollowsTheEntriesOfTheFolder)
{
    if (std::system("command -v update-desktop-database >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "update-desktop-database is not installed (desktop-file-utils)";
    char pattern[] = "/tmp/quillet-menu-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    const std::string cache = dir + "/mimeinfo.cache";
    std::ofstream(dir + "/io.github.quillet.Quillet.desktop")
        << desktopEntry("/usr/bin/quillet", "memo");
    EXPECT_TRUE(refreshDesktopDatabase(dir));
    EXPECT_NE(readWholeFile(cache).bytes.find("text/plain=io.github.quillet.Quillet.desktop;"),
              std::string::npos)
        << readWholeFile(cache).bytes;

    // An entry taken away leaves the cache too.
    ::unlink((dir + "/io.github.quillet.Quillet.desktop").c_str());
    EXPECT_TRUE(refreshDesktopDatabase(dir));
    EXPECT_EQ(readWholeFile(cache).bytes.find("quillet"), std::string::npos);

    // No folder (nothing made there), or no program to write the cache: false, and no harm.
    EXPECT_FALSE(refreshDesktopDatabase(dir + "/none"));
    EXPECT_NE(::access((dir + "/none").c_str(), F_OK), 0);
    EXPECT_FALSE(refreshDesktopDatabase(""));
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", dir.c_str(), 1);
    EXPECT_FALSE(refreshDesktopDatabase(dir));
    ::setenv("PATH", path.c_str(), 1);
    std::system(("rm -rf '" + dir + "'").c_str());
}
