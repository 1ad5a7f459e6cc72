#include "platform/profile/Profile.h"

#include "ProfileTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using platform::profile::IniEntry;
using platform::profile::IniFile;
using profile_test::readBytes;
using profile_test::TempFolder;
using profile_test::writeBytes;

namespace {

mode_t permissionsOf(const std::string& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

std::vector<std::uint8_t> patternedBytes(std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
    return bytes;
}

} // namespace

TEST(ProfileIniFile, MissingFileSectionOrKeyGivesTheDefaults)
{
    TempFolder folder;
    IniFile ini(folder.file("quillet.ini"));
    EXPECT_EQ(ini.readInt(u"Settings", u"CodePage", 932), 932);
    EXPECT_EQ(ini.readString(u"Settings", u"Pattern", u"none"), u"none");
    EXPECT_FALSE(ini.readBinary(u"Settings", u"Window"));
    // Neither reads nor removals of what is absent create the file.
    EXPECT_TRUE(ini.removeKey(u"Settings", u"CodePage"));
    EXPECT_TRUE(ini.removeSection(u"Settings"));
    EXPECT_TRUE(folder.entries().empty());

    writeBytes(ini.path(), "[Settings]\nTabStops=abc\nNcr=\n");
    EXPECT_EQ(ini.readInt(u"Settings", u"TabStops", 4), 0);  // present but not a number
    EXPECT_EQ(ini.readInt(u"Settings", u"Ncr", 7), 0);
    EXPECT_EQ(ini.readInt(u"Settings", u"WordWrap", 7), 7);
    EXPECT_EQ(ini.readInt(u"Other", u"TabStops", 7), 7);
}

TEST(ProfileIniFile, AllThreeFormsRoundTripThroughTheFile)
{
    TempFolder folder;
    IniFile ini(folder.file("quillet.ini"));
    const auto placement = patternedBytes(44);
    const auto font = patternedBytes(92);
    ASSERT_TRUE(ini.writeInt(u"Settings", u"CodePage", 65001));
    ASSERT_TRUE(ini.writeInt(u"Settings", u"Offset", -12));
    ASSERT_TRUE(ini.writeBinary(u"Settings", u"Window", placement));
    ASSERT_TRUE(ini.writeBinary(u"Settings", u"Font932", font));
    ASSERT_TRUE(ini.writeString(u"Settings", u"Pattern", u"  ^検索\\s+(.*)$  "));
    ASSERT_TRUE(ini.writeBinary(u"Settings", u"Comma", std::vector<std::uint8_t>{0x2C}));

    const IniFile again(ini.path());
    EXPECT_EQ(again.readInt(u"settings", u"codepage", 932), 65001);
    EXPECT_EQ(again.readInt(u"Settings", u"Offset", 0), -12);
    EXPECT_EQ(again.readBinary(u"Settings", u"Window"), placement);
    EXPECT_EQ(again.readBinary(u"Settings", u"FONT932"), font);
    EXPECT_EQ(again.readString(u"Settings", u"Pattern", u""), u"  ^検索\\s+(.*)$  ");
    EXPECT_NE(readBytes(ini.path()).find("\nComma=MC\n"), std::string::npos);
    // A binary key read as text shows its letters; a text key read as binary is missing.
    EXPECT_FALSE(again.readBinary(u"Settings", u"Pattern"));
}

TEST(ProfileIniFile, EveryCallGoesToTheFile)
{
    TempFolder folder;
    IniFile first(folder.file("quillet.ini"));
    IniFile second(first.path());
    ASSERT_TRUE(first.writeInt(u"Settings", u"TabStops", 8));
    EXPECT_EQ(second.readInt(u"Settings", u"TabStops", 4), 8);
    writeBytes(first.path(), "[Settings]\nTabStops=2\n");  // changed behind the program's back
    EXPECT_EQ(first.readInt(u"Settings", u"TabStops", 4), 2);
    ASSERT_TRUE(second.writeInt(u"Settings", u"Ja", 1));
    EXPECT_EQ(readBytes(first.path()), "[Settings]\nTabStops=2\nJa=1\n");
}

TEST(ProfileIniFile, WritesKeepTheRestOfAHandEditedFileByteForByte)
{
    TempFolder folder;
    IniFile ini(folder.file("quillet.ini"));
    const std::string before =
        "; edited by hand\r\n\r\n[Settings]\r\nWordWrap=0\r\nTabStops=4\r\n\r\n"
        "[Recent File List]\r\nFile1=C:\\old.txt\r\n";
    writeBytes(ini.path(), before);
    ASSERT_TRUE(ini.writeInt(u"Settings", u"WordWrap", 1));
    ASSERT_TRUE(ini.writeInt(u"Settings", u"Ncr", 1));
    std::string expected = before;
    expected.replace(expected.find("WordWrap=0"), 10, "WordWrap=1");
    expected.insert(expected.find("\r\n\r\n[Recent") + 2, "Ncr=1\r\n");
    EXPECT_EQ(readBytes(ini.path()), expected);

    const IniEntry recent[] = {{u"File1", u"/home/u/メモ.txt"}};
    ASSERT_TRUE(ini.writeSection(u"Recent File List", recent));
    EXPECT_EQ(ini.readString(u"Recent File List", u"File1", u""), u"/home/u/メモ.txt");
    ASSERT_TRUE(ini.removeSection(u"Recent File List"));
    EXPECT_EQ(readBytes(ini.path()), expected.substr(0, expected.find("[Recent")));
}

TEST(ProfileIniFile, ReplacingLeavesNoTemporaryAndKeepsPermissions)
{
    TempFolder folder;
    IniFile ini(folder.file("quillet.ini"));
    ASSERT_TRUE(ini.writeInt(u"Settings", u"TabStops", 4));
    ASSERT_EQ(::chmod(ini.path().c_str(), 0640), 0);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(ini.writeInt(u"Settings", u"TabStops", i));
    EXPECT_EQ(permissionsOf(ini.path()), 0640u);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"quillet.ini"});
}

TEST(ProfileIniFile, AFileWithoutWritePermissionIsNeitherWritableNorWritten)
{
    TempFolder folder;
    IniFile ini(folder.file("quillet.ini"));
    ASSERT_TRUE(ini.writeInt(u"Settings", u"TabStops", 4));
    const std::string before = readBytes(ini.path());
    // No write bit at all is read-only for every user, the superuser included.
    ASSERT_EQ(::chmod(ini.path().c_str(), 0444), 0);
    EXPECT_FALSE(ini.canWrite());
    EXPECT_FALSE(ini.writeInt(u"Settings", u"TabStops", 8));
    EXPECT_EQ(readBytes(ini.path()), before);
    ASSERT_EQ(::chmod(ini.path().c_str(), 0644), 0);
    EXPECT_TRUE(ini.canWrite());
}

TEST(ProfileIniFile, WritesGoThroughSymbolicLinks)
{
    TempFolder folder;
    ASSERT_EQ(::mkdir(folder.file("real").c_str(), 0700), 0);
    ASSERT_EQ(::symlink("real/settings.ini", folder.file("quillet.ini").c_str()), 0);
    IniFile ini(folder.file("quillet.ini"));
    ASSERT_TRUE(ini.writeInt(u"Settings", u"Ja", 1));  // dangling link: creates its target
    ASSERT_TRUE(ini.writeInt(u"Settings", u"Ncr", 1));
    struct stat info {};
    ASSERT_EQ(::lstat(ini.path().c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(readBytes(folder.file("real/settings.ini")), "[Settings]\nJa=1\nNcr=1\n");
}

TEST(ProfileIniFile, UnwritablePlacesFailWithoutDamage)
{
    TempFolder folder;
    IniFile noFolder(folder.file("missing/quillet.ini"));
    EXPECT_FALSE(noFolder.writeInt(u"Settings", u"Ja", 1));
    writeBytes(folder.file("plain"), "x");
    IniFile underAFile(folder.file("plain/quillet.ini"));
    EXPECT_FALSE(underAFile.writeInt(u"Settings", u"Ja", 1));
    EXPECT_EQ(underAFile.readInt(u"Settings", u"Ja", 5), 5);

    // A folder where the file should be: neither replaced nor littered with temporaries.
    ASSERT_EQ(::mkdir(folder.file("quillet.ini").c_str(), 0700), 0);
    IniFile folderInTheWay(folder.file("quillet.ini"));
    EXPECT_FALSE(folderInTheWay.writeInt(u"Settings", u"Ja", 1));
    EXPECT_EQ(folderInTheWay.readInt(u"Settings", u"Ja", 5), 5);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"plain", "quillet.ini"}));
    EXPECT_FALSE(IniFile("").writeInt(u"Settings", u"Ja", 1));
}

TEST(ProfileIniFile, ANonRegularFileIsNeitherWaitedOnNorReplaced)
{
    TempFolder folder;
    const std::string fifo = folder.file("quillet.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    IniFile ini(fifo);
    EXPECT_EQ(ini.readInt(u"Settings", u"Ja", 5), 5);  // returns at once, no writer needed
    EXPECT_FALSE(ini.writeInt(u"Settings", u"Ja", 1));
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(ProfileIniFile, RefusedValuesLeaveTheFileAlone)
{
    TempFolder folder;
    IniFile ini(folder.file("quillet.ini"));
    ASSERT_TRUE(ini.writeString(u"Settings", u"Pattern", u"old"));
    const std::string before = readBytes(ini.path());
    EXPECT_FALSE(ini.writeString(u"Settings", u"Pattern", u"x\n[Settings]\nCodePage=1"));
    EXPECT_EQ(readBytes(ini.path()), before);
    EXPECT_EQ(ini.readString(u"Settings", u"Pattern", u""), u"old");
}
