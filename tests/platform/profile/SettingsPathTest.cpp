#include "platform/profile/SettingsPath.h"

#include "ProfileTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using platform::profile::GetSettingsFilePath;
using platform::profile::settingsPathBesideProgram;
using platform::profile::SettingsPathInputs;
using profile_test::TempFolder;
using profile_test::writeBytes;

namespace {

bool isFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace

TEST(ProfileSettingsPath, XdgConfigHomeIsUsedAndCreatedOnTheFirstRun)
{
    TempFolder folder;
    const SettingsPathInputs inputs{folder.file("home"), folder.file("xdg/config"), "/opt/q/quillet"};
    const std::string path = GetSettingsFilePath("quillet", inputs);
    EXPECT_EQ(path, folder.file("xdg/config/Quillet/quillet.ini"));
    EXPECT_TRUE(isFolder(folder.file("xdg/config/Quillet")));
    EXPECT_FALSE(exists(path));                     // the first write creates the file
    EXPECT_FALSE(exists(folder.file("home")));      // HOME was not needed
    EXPECT_EQ(GetSettingsFilePath("quillet", inputs), path);  // existing folders are fine
}

TEST(ProfileSettingsPath, HomeConfigIsUsedWhenXdgIsUnsetOrRelative)
{
    TempFolder folder;
    for (const std::string xdg : {"", "relative/config"}) {
        const SettingsPathInputs inputs{folder.path() + "/", xdg, "/opt/q/quillet"};
        EXPECT_EQ(GetSettingsFilePath("quillet", inputs), folder.file(".config/Quillet/quillet.ini"));
    }
    EXPECT_TRUE(isFolder(folder.file(".config/Quillet")));
    EXPECT_FALSE(exists(folder.file("relative")));
}

TEST(ProfileSettingsPath, FallsBackBesideTheProgramWhenNoConfigFolderCanBeMade)
{
    TempFolder folder;
    const std::string program = "/opt/tools/quillet";
    // No home at all, or a relative one.
    EXPECT_EQ(GetSettingsFilePath("quillet", {"", "", program}), "/opt/tools/quillet.ini");
    EXPECT_EQ(GetSettingsFilePath("quillet", {"home", "", program}), "/opt/tools/quillet.ini");

    // A file where the config folder should be.
    writeBytes(folder.file("config"), "not a folder");
    EXPECT_EQ(GetSettingsFilePath("quillet", {"", folder.file("config"), program}),
              "/opt/tools/quillet.ini");
    EXPECT_EQ(GetSettingsFilePath("quillet", {"", folder.file("config/below"), program}),
              "/opt/tools/quillet.ini");

    // A file where the vendor folder should be.
    ASSERT_EQ(::mkdir(folder.file("xdg").c_str(), 0700), 0);
    writeBytes(folder.file("xdg/Quillet"), "not a folder");
    EXPECT_EQ(GetSettingsFilePath("quillet", {"", folder.file("xdg"), program}),
              "/opt/tools/quillet.ini");

    // Nothing known at all.
    EXPECT_EQ(GetSettingsFilePath("quillet", {"", "", ""}), "");
}

TEST(ProfileSettingsPath, FallbackNameReplacesTheExtension)
{
    EXPECT_EQ(settingsPathBesideProgram("/usr/bin/quillet"), "/usr/bin/quillet.ini");
    EXPECT_EQ(settingsPathBesideProgram("/opt/x/quillet.bin"), "/opt/x/quillet.ini");
    EXPECT_EQ(settingsPathBesideProgram("/opt/x/quillet.tar.gz"), "/opt/x/quillet.tar.ini");
    EXPECT_EQ(settingsPathBesideProgram("/opt/x/quillet."), "/opt/x/quillet.ini");
    EXPECT_EQ(settingsPathBesideProgram("/opt/q.d/quillet"), "/opt/q.d/quillet.ini");
    EXPECT_EQ(settingsPathBesideProgram("/opt/x/.quillet"), "/opt/x/.quillet.ini");
    EXPECT_EQ(settingsPathBesideProgram("quillet"), "quillet.ini");
    EXPECT_EQ(settingsPathBesideProgram(""), "");
}

TEST(ProfileSettingsPath, AnAllUpperCasePathGetsALowerCaseFileName)
{
    // Only the file name changes case: the folders must still be the ones the program is in.
    EXPECT_EQ(settingsPathBesideProgram("/TOOLS/QUILLET"), "/TOOLS/quillet.ini");
    EXPECT_EQ(settingsPathBesideProgram("/TOOLS/QUILLET.BIN"), "/TOOLS/quillet.ini");
    EXPECT_EQ(settingsPathBesideProgram("/ÉDITEURS/日本/QUILLET_2"), "/ÉDITEURS/日本/quillet_2.ini");
    EXPECT_EQ(settingsPathBesideProgram("/123/456"), "/123/456.ini");
    // One lower-case letter anywhere, even in a folder, and the name is left alone.
    EXPECT_EQ(settingsPathBesideProgram("/opt/QUILLET"), "/opt/QUILLET.ini");
    EXPECT_EQ(settingsPathBesideProgram("/TOOLS/QUILLEt"), "/TOOLS/QUILLEt.ini");
    EXPECT_EQ(settingsPathBesideProgram("/ÉDITEURS/é/QUILLET"), "/ÉDITEURS/é/QUILLET.ini");
    // Bytes that are not UTF-8 cannot be case-mapped and are kept.
    EXPECT_EQ(settingsPathBesideProgram("/TOOLS/QUILLET\xFF"), "/TOOLS/QUILLET\xFF.ini");
}

TEST(ProfileSettingsPath, TheProcessKnowsItsOwnProgramPath)
{
    const SettingsPathInputs inputs = SettingsPathInputs::fromProcess();
    ASSERT_FALSE(inputs.programPath.empty());
    EXPECT_EQ(inputs.programPath.front(), '/');
    struct stat info {};
    ASSERT_EQ(::stat(inputs.programPath.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode) && ::access(inputs.programPath.c_str(), X_OK) == 0);
    EXPECT_FALSE(inputs.home.empty());
}
