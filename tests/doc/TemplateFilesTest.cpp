#include "doc/TemplateFiles.h"

#include "../platform/nls/LocaleEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class TempFolder {
public:
    TempFolder()
    {
        char pattern[] = "/tmp/quillet-templates-XXXXXX";
        m_path = ::mkdtemp(pattern);
    }
    ~TempFolder() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    const std::string& path() const { return m_path; }
    std::string touch(const std::string& name, const std::string& bytes = {}) const
    {
        const std::string p = m_path + "/" + name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }

private:
    std::string m_path;
};

} // namespace

TEST(TemplateFiles, FolderBesideTheProgramWinsOverThePerUserFolder)
{
    TempFolder dir;
    const std::string program = dir.path() + "/bin/quillet";
    using doc::FolderInputs;
    struct Case {
        FolderInputs in;
        std::string folder;
    };
    const Case cases[] = {
        {{"/home/u", "", program}, "/home/u/.local/share/Quillet/template"},
        {{"/home/u", "/data", program}, "/data/Quillet/template"},
        {{"/home/u", "relative/data", program}, "/home/u/.local/share/Quillet/template"},
        {{"", "", program}, ""},
        {{"relative", "", program}, ""},  // no folder under whatever folder is current
        {{"", "/data", ""}, "/data/Quillet/template"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(doc::templateFolder(c.in), c.folder) << c.in.xdgDataHome;

    // A "template" file (not a folder) beside the program does not count; a folder does.
    ASSERT_EQ(::mkdir((dir.path() + "/bin").c_str(), 0700), 0);
    dir.touch("bin/template");
    EXPECT_EQ(doc::templateFolder({"/home/u", "", program}),
              "/home/u/.local/share/Quillet/template");
    ASSERT_EQ(::unlink((dir.path() + "/bin/template").c_str()), 0);
    ASSERT_EQ(::mkdir((dir.path() + "/bin/template").c_str(), 0700), 0);
    EXPECT_EQ(doc::templateFolder({"/home/u", "/data", program}),
              dir.path() + "/bin/template");
}

TEST(TemplateFiles, NamesComeFromEveryTplEntryInCollationOrder)
{
    TempFolder dir;
    for (const char* file : {"b.tpl", "A.tpl", "a.b.tpl", "a.tpl", "B.tpl", "notes.txt",
                             "x.TPL", "tpl", "日本.tpl", "bad\xff.tpl"})
        dir.touch(file);
    ASSERT_EQ(::mkdir((dir.path() + "/folder.tpl").c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo((dir.path() + "/fifo.tpl").c_str(), 0600), 0);

    // Lower case before upper case, "." after the end of a name: the locale's order, not
    // the code units', in the C locale too (the root order). Entries that are not UTF-8
    // cannot be named and are left out.
    for (const char* locale : {"en_US.UTF-8", "C", "POSIX"}) {
        const nlstest::LocaleEnvironment environment(nlstest::LocaleVariables{{"LC_ALL", locale}});
        EXPECT_EQ(doc::listNames(dir.path()),
                  (std::vector<std::u16string>{u"a", u"A", u"a.b", u"b", u"B", u"fifo", u"folder",
                                               u"日本"}))
            << locale;
    }
    EXPECT_TRUE(doc::listNames(dir.path() + "/missing").empty());

    // The collation is the one find compares with: LC_COLLATE's language decides, never the
    // messages' (Swedish puts "ä" after "z", German beside "a").
    struct Case {
        nlstest::LocaleVariables variables;
        std::vector<std::u16string> sorted;
    };
    const Case cases[] = {
        {{{"LANG", "de_DE.UTF-8"}}, {u"a", u"ä", u"z"}},
        {{{"LC_COLLATE", "sv_SE.UTF-8"}, {"LANG", "de_DE.UTF-8"}}, {u"a", u"z", u"ä"}},
        {{{"LC_MESSAGES", "sv_SE.UTF-8"}, {"LANG", "de_DE.UTF-8"}}, {u"a", u"ä", u"z"}},
        {{{"LC_ALL", ""}, {"LANG", "sv_SE.UTF-8"}}, {u"a", u"z", u"ä"}},
    };
    for (const Case& c : cases) {
        const nlstest::LocaleEnvironment environment(c.variables);
        std::vector<std::u16string> names{u"z", u"ä", u"a"};
        doc::sortNames(names);
        EXPECT_EQ(names, c.sorted) << c.variables.front().first << "=" << c.variables.front().second;
    }
}

TEST(TemplateFiles, FileFormatAndNames)
{
    using B = std::string;
    EXPECT_EQ(doc::encodeTemplate(u"x\r\n"), B("\xFF\xFE\x78\x00\x0D\x00\x0A\x00", 8));
    struct Case {
        std::string bytes;
        std::u16string text;
    };
    const Case reads[] = {
        {B(), u""},
        {B("\xFF"), u""},
        {B("\xFF\xFE"), u""},
        {B("\xFF\xFE\x41"), u""},              // an odd last byte is ignored
        {B("\xFF\xFE\x41\x00\x42", 5), u"A"},
        {B("AB\x42\x30", 4), u"\u3042"},       // the first two bytes go unread
    };
    for (const Case& c : reads)
        EXPECT_EQ(doc::decodeTemplate(c.bytes), c.text) << c.bytes.size() << " bytes";

    std::mt19937 rng(4);
    for (int round = 0; round < 200; ++round) {
        std::u16string text(rng() % 40, u'\0');
        for (char16_t& c : text)
            c = char16_t(rng());
        ASSERT_EQ(doc::decodeTemplate(doc::encodeTemplate(text)), text);
    }

    const std::pair<std::u16string, bool> names[] = {
        {u"memo", true}, {u"", true}, {u"   ", true}, {u"a&b", true}, {u"a/b", false},
        {std::u16string(u"a\0b", 3), false}, {std::u16string(300, u'x'), true}};
    for (const auto& [name, ok] : names)
        EXPECT_EQ(doc::isStorableName(name), ok) << name.size();
    EXPECT_EQ(doc::templatePath("/t", u"日本"), "/t/日本.tpl");

    EXPECT_TRUE(doc::sameIgnoringCase(u"memo", u"Memo"));
    EXPECT_TRUE(doc::sameIgnoringCase(u"ΣΟΦΙΑ", u"σοφια"));
    EXPECT_TRUE(doc::sameIgnoringCase(u"memo", u"memo"));
    EXPECT_FALSE(doc::sameIgnoringCase(u"memo", u"memos"));
}
