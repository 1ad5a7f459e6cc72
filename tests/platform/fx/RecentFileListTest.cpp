#include "platform/fx/RecentFileList.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using platform::fx::RecentFileList;

namespace {

std::string utf8(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s)
        out += c < 0x80 ? char(c) : '?';
    return out;
}

std::vector<std::u16string> paths(std::initializer_list<const char16_t*> list)
{
    return std::vector<std::u16string>(list.begin(), list.end());
}

} // namespace

TEST(RecentFileList, NewestFirstAndTheOldestFallsOffAtTheLimit)
{
    RecentFileList list(4, 30);
    for (const char16_t* p : {u"/a/1.txt", u"/a/2.txt", u"/a/3.txt", u"/a/4.txt", u"/a/5.txt"})
        list.add(p);
    EXPECT_EQ(list.entries(), paths({u"/a/5.txt", u"/a/4.txt", u"/a/3.txt", u"/a/2.txt"}));
    EXPECT_EQ(list.size(), 4);
}

TEST(RecentFileList, ReopeningAFileMovesItToTheTopWithoutDuplicating)
{
    RecentFileList list(4, 30);
    for (const char16_t* p : {u"/a/1.txt", u"/a/2.txt", u"/a/3.txt", u"/a/2.txt"})
        list.add(p);
    EXPECT_EQ(list.entries(), paths({u"/a/2.txt", u"/a/3.txt", u"/a/1.txt"}));

    // A full list: re-adding the oldest entry must not push anything else out.
    list.add(u"/a/4.txt");
    list.add(u"/a/1.txt");
    EXPECT_EQ(list.entries(), paths({u"/a/1.txt", u"/a/4.txt", u"/a/2.txt", u"/a/3.txt"}));
}

TEST(RecentFileList, EmptyPathsAndBadIndicesChangeNothing)
{
    RecentFileList list(4, 30);
    list.add(u"/a/1.txt");
    list.add(u"");
    list.remove(-1);
    list.remove(1);
    EXPECT_EQ(list.entries(), paths({u"/a/1.txt"}));
    list.remove(0);
    EXPECT_TRUE(list.entries().empty());
    EXPECT_EQ(list.displayName(0, u"/"), u"");
}

TEST(RecentFileList, AssignSkipsGapsAndDuplicatesAndKeepsTheLimit)
{
    // What the settings may hold after hand edits: gaps, repeats and more than fit.
    RecentFileList list(4, 30);
    list.assign(paths({u"", u"/a/1.txt", u"/a/1.txt", u"/a/2.txt", u"", u"/a/3.txt",
                       u"/a/4.txt", u"/a/5.txt"}));
    EXPECT_EQ(list.entries(), paths({u"/a/1.txt", u"/a/2.txt", u"/a/3.txt", u"/a/4.txt"}));

    list.assign({});
    EXPECT_TRUE(list.entries().empty());
}

TEST(RecentFileList, AFileInTheCurrentFolderShowsByItsNameAlone)
{
    RecentFileList list(4, 30);
    list.add(u"/home/user/projects/quillet/notes/very/deep/letter.txt");
    list.add(u"/root.txt");
    EXPECT_EQ(list.displayName(1, u"/home/user/projects/quillet/notes/very/deep"), u"letter.txt");
    EXPECT_EQ(list.displayName(1, u"/home/user/projects/quillet/notes/very/deep/"), u"letter.txt");
    EXPECT_EQ(list.displayName(0, u"/"), u"root.txt");
    // A folder whose name merely begins like the file's folder is another folder.
    EXPECT_EQ(list.displayName(1, u"/home/user/projects/quillet/notes/very/de"),
              u"/home/.../very/deep/letter.txt");
}

TEST(RecentFileList, LongPathsKeepTheirFirstFolderAndAsManyLastFoldersAsFit)
{
    EXPECT_EQ(RecentFileList::abbreviate(u"/home/user/documents/projects/quillet/notes/letter.txt", 30),
              u"/home/.../notes/letter.txt");
    // Exactly at the limit nothing is shortened.
    const std::u16string thirty = u"/home/user/docs/a/letter00.txt";
    ASSERT_EQ(thirty.size(), 30u);
    EXPECT_EQ(RecentFileList::abbreviate(thirty, 30), thirty);
    EXPECT_EQ(RecentFileList::abbreviate(thirty + u"x", 30), u"/home/.../docs/a/letter00.txtx");
    // A relative path keeps its first folder the same way.
    EXPECT_EQ(RecentFileList::abbreviate(u"work/one/two/three/four/five/six.txt", 20),
              u"work/.../six.txt");
}

TEST(RecentFileList, AFileNameTooLongForAnyFolderIsShownAlone)
{
    const std::u16string name = u"a-file-name-of-twenty-nine.txt";
    EXPECT_EQ(RecentFileList::abbreviate(u"/home/user/" + name, 30), name);
    // Even longer than the limit: shown whole rather than cut.
    const std::u16string longName(40, u'n');
    EXPECT_EQ(RecentFileList::abbreviate(u"/x/" + longName, 30), longName);
    EXPECT_EQ(RecentFileList::abbreviate(longName, 30), longName);
}

// Whatever the path, the result fits (unless the name alone does not), ends with the file
// name, and keeps the start of the path.
TEST(RecentFileList, AbbreviationHoldsItsPromisesForRandomPaths)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::u16string path = (rng() % 4) ? u"/" : u"";
        const int folders = int(rng() % 8);
        for (int i = 0; i < folders; ++i) {
            path += std::u16string(1 + rng() % 12, char16_t(u'a' + rng() % 26));
            path += u'/';
        }
        const std::u16string name = std::u16string(1 + rng() % 20, u'f') + u".txt";
        path += name;
        const int limit = 10 + int(rng() % 40);

        const std::u16string shown = RecentFileList::abbreviate(path, limit);
        SCOPED_TRACE(utf8(path) + " -> " + utf8(shown));
        if (int(path.size()) <= limit) {
            EXPECT_EQ(shown, path);
            continue;
        }
        ASSERT_GE(shown.size(), name.size());
        EXPECT_EQ(shown.substr(shown.size() - name.size()), name);
        if (shown == name)
            continue;
        EXPECT_LE(int(shown.size()), limit);
        const std::size_t dots = shown.find(u"/.../");
        ASSERT_NE(dots, std::u16string::npos);
        EXPECT_EQ(path.substr(0, dots), shown.substr(0, dots));
        // The folders after the ellipsis are the path's own last folders.
        const std::u16string tail = shown.substr(dots + 4);
        EXPECT_EQ(path.substr(path.size() - tail.size()), tail);
    }
}
