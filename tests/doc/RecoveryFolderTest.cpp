// Where recovery records are kept, and the look through the folder for the ones no running
// program holds: held records are never taken, unreadable ones are moved aside once and
// never followed, and a scan costs a head per record.

#include "RecoveryTestSupport.h"

#include "doc/RecoveryFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace fs = std::filesystem;
using doc::RecoveryFile;
using doc::scanRecoveryFolder;
using quillet_test::RecoveryFolderTest;

namespace {

void makeOld(const std::string& p)
{
    const timeval old[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::lutimes(p.c_str(), old), 0);
}

} // namespace

TEST_F(RecoveryFolderTest, TheFolderFollowsTheStateHomeAndIsMadePrivate)
{
    EXPECT_EQ(doc::recoveryFolder({"/home/u", "/var/state"}), "/var/state/Quillet/recovery");
    EXPECT_EQ(doc::recoveryFolder({"/home/u", "relative"}),
              "/home/u/.local/state/Quillet/recovery");
    EXPECT_EQ(doc::recoveryFolder({"/home/u", ""}), "/home/u/.local/state/Quillet/recovery");
    EXPECT_EQ(doc::recoveryFolder({"", ""}), "");

    // Created with every missing parent private; a wider folder is tightened.
    ASSERT_EQ(doc::prepareRecoveryFolder(folder), 0);
    for (const fs::path& p : {dir / "state", dir / "state/Quillet", fs::path(folder)})
        EXPECT_EQ(mode(p.string()), 0700u) << p;
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    ASSERT_EQ(doc::prepareRecoveryFolder(folder), 0);
    EXPECT_EQ(mode(folder), 0700u);

    // A link to a folder, a file, or a folder of another user's is no place for records.
    const std::string link = (dir / "link").string(), file = (dir / "file").string(),
                      foreign = (dir / "foreign").string();
    fs::create_symlink(folder, link);
    put(file, "x");
    fs::create_directory(foreign);
    EXPECT_EQ(doc::prepareRecoveryFolder(link), ELOOP);
    EXPECT_EQ(doc::prepareRecoveryFolder(file), ENOTDIR);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
        EXPECT_EQ(doc::prepareRecoveryFolder(foreign), EPERM);
    }
    EXPECT_EQ(doc::prepareRecoveryFolder("relative/folder"), ENOENT);
}

TEST_F(RecoveryFolderTest, ARecordIsHeldWhileItsProgramLivesAndOfferedOnceItIsGone)
{
    auto own = std::make_unique<RecoveryFile>(folder);
    ASSERT_EQ(own->write(sample(1)), 0);
    ASSERT_EQ(own->write(sample(2)), 0);
    ASSERT_EQ(names(), std::vector<std::string>{own->name()}) << "one file, replaced";
    EXPECT_EQ(mode(own->filePath()), 0600u);
    EXPECT_TRUE(scanRecoveryFolder(folder).orphans.empty()) << "held by its program";

    // The program goes without removing it, as one that dies: the record is an orphan,
    // held by the scan that found it until it lets go.
    const std::string name = own->name();
    own.reset();
    auto scan = scanRecoveryFolder(folder);
    ASSERT_EQ(scan.orphans.size(), 1u);
    EXPECT_TRUE(scan.setAside.empty());
    EXPECT_EQ(scan.orphans[0].name(), name);
    EXPECT_EQ(scan.orphans[0].head(), headOf(sample(2)));
    EXPECT_TRUE(scanRecoveryFolder(folder).orphans.empty()) << "another program is offering it";
    EXPECT_EQ(scanRecoveryFolder(folder, name).orphans.size(), 0u);
    doc::RecoveryRecord whole;
    std::string aside;
    ASSERT_EQ(scan.orphans[0].load(whole, aside), doc::RecordFault::None);
    EXPECT_EQ(whole, sample(2));
    scan = {};
    scan = scanRecoveryFolder(folder);
    ASSERT_EQ(scan.orphans.size(), 1u) << "let go, it is an orphan again";

    // Taken back: the record becomes the new program's own and goes at its save.
    RecoveryFile adopter(folder);
    adopter.adopt(scan.orphans[0]);
    scan = {};
    EXPECT_EQ(adopter.name(), name);
    EXPECT_TRUE(scanRecoveryFolder(folder).orphans.empty());
    ASSERT_EQ(adopter.write(sample(3)), 0);
    EXPECT_EQ(names(), std::vector<std::string>{name});
    adopter.remove();
    EXPECT_TRUE(names().empty());

    // Newest first, and No removes only the record answered.
    for (int v : {5, 7, 6}) {
        RecoveryFile f(folder);
        ASSERT_EQ(f.write(sample(v)), 0);
    }
    scan = scanRecoveryFolder(folder);
    ASSERT_EQ(scan.orphans.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(scan.orphans[std::size_t(i)].head().savedAt, sample(7 - i).savedAt);
    scan.orphans[0].remove();
    scan = {};
    EXPECT_EQ(scanRecoveryFolder(folder).orphans.size(), 2u);
}

TEST_F(RecoveryFolderTest, UnreadableRecordsAreMovedAsideOnceAndNeverFollowed)
{
    ASSERT_EQ(doc::prepareRecoveryFolder(folder), 0);
    const std::string outside = (dir / "secret.txt").string();
    put(outside, "not a record");
    const std::string good = doc::encodeRecoveryRecord(sample(1));
    const auto at = [&](const std::string& name) { return folder + '/' + name; };
    fs::create_symlink(outside, at("link.qrec"));
    put(at("garbage.qrec"), "garbage");
    put(at("garbage.qrec.unreadable"), "an older one, kept");
    put(at("cut.qrec"), good.substr(0, good.size() - 1));
    ASSERT_EQ(::mkfifo(at("fifo.qrec").c_str(), 0600), 0);
    fs::create_directory(at("folder.qrec"));
    put(at("good.qrec"), good);
    put(at("notes.txt"), "not ours to touch");
    put(at(".old.qrec.tmp-abcdefgh"), good.substr(0, 10));
    put(at(".new.qrec.tmp-abcdefgh"), good.substr(0, 10));
    makeOld(at(".old.qrec.tmp-abcdefgh"));
    std::vector<std::string> refused = {"cut.qrec", "fifo.qrec", "folder.qrec", "garbage.qrec",
                                        "link.qrec"};
    if (::geteuid() == 0) {
        put(at("foreign.qrec"), good);
        ASSERT_EQ(::chown(at("foreign.qrec").c_str(), 65534, 65534), 0);
        refused.insert(refused.begin() + 3, "foreign.qrec");
    }

    auto scan = scanRecoveryFolder(folder);
    ASSERT_EQ(scan.orphans.size(), 1u);
    EXPECT_EQ(scan.orphans[0].name(), "good.qrec");
    std::vector<std::string> from;
    for (const auto& s : scan.setAside) {
        from.push_back(fs::path(s.from).filename().string());
        EXPECT_FALSE(s.to.empty()) << s.from;
        EXPECT_TRUE(fs::exists(fs::symlink_status(s.to))) << s.to;
        EXPECT_FALSE(fs::exists(fs::symlink_status(s.from))) << s.from;
    }
    std::sort(from.begin(), from.end());
    EXPECT_EQ(from, refused);
    EXPECT_EQ(contents(outside), "not a record") << "the link's target is never touched";
    EXPECT_TRUE(fs::is_symlink(at("link.qrec.unreadable")));
    EXPECT_EQ(contents(at("garbage.qrec.unreadable")), "an older one, kept");
    EXPECT_EQ(contents(at("garbage.qrec.unreadable-2")), "garbage");
    EXPECT_TRUE(fs::exists(at("notes.txt")));
    EXPECT_FALSE(fs::exists(at(".old.qrec.tmp-abcdefgh"))) << "a killed write's leftover";
    EXPECT_TRUE(fs::exists(at(".new.qrec.tmp-abcdefgh"))) << "may be a write just starting";

    // Damaged after the scan read its head: refused at the load, and moved aside too.
    {
        std::fstream f(at("good.qrec"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(std::streamoff(good.size() - 12));
        f.put('!');
    }
    doc::RecoveryRecord whole;
    std::string aside;
    EXPECT_EQ(scan.orphans[0].load(whole, aside), doc::RecordFault::Checksum);
    EXPECT_EQ(aside, at("good.qrec.unreadable"));
    EXPECT_EQ(whole, doc::RecoveryRecord{});

    scan = scanRecoveryFolder(folder);
    EXPECT_TRUE(scan.orphans.empty());
    EXPECT_TRUE(scan.setAside.empty()) << "each is reported once";
    EXPECT_TRUE(scanRecoveryFolder((dir / "missing").string()).orphans.empty());
}
