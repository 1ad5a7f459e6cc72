// A program's own recovery record: a kill at any moment of its write leaves the old record or
// the new one whole, a living program's record is never an orphan, and a full disk leaves
// the old record as it was.

#include "RecoveryTestSupport.h"

#include "doc/RecoveryFile.h"

#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using doc::RecoveryFile;
using doc::scanRecoveryFolder;
namespace {
class RecoveryFileTest : public quillet_test::RecoveryFolderTest {};
} // namespace

namespace {

// The one orphan in folder, loaded whole; fails the test when there is not exactly one.
doc::RecoveryRecord theOrphan(const std::string& folder, std::string* name = nullptr)
{
    auto scan = scanRecoveryFolder(folder);
    EXPECT_TRUE(scan.setAside.empty());
    EXPECT_EQ(scan.orphans.size(), 1u);
    doc::RecoveryRecord record;
    if (scan.orphans.size() != 1)
        return record;
    std::string aside;
    EXPECT_EQ(scan.orphans[0].load(record, aside), doc::RecordFault::None) << aside;
    if (name)
        *name = scan.orphans[0].name();
    return record;
}

} // namespace

TEST_F(RecoveryFileTest, AKilledWriteLeavesTheOldOrTheNewRecordWhole)
{
    // Each child takes the record over as a program restoring it would, and writes the next
    // version; it is killed at a random moment of that.
    constexpr std::size_t kUnits = 32 * 1024;
    {
        RecoveryFile first(folder);
        ASSERT_EQ(first.write(sample(0, kUnits)), 0);
    }
    const auto runChild = [&](int version) {
        auto scan = scanRecoveryFolder(folder);
        if (scan.orphans.size() != 1)
            ::_exit(2);
        RecoveryFile file(folder);
        file.adopt(scan.orphans[0]);
        ::_exit(file.write(sample(version, kUnits)) == 0 ? 0 : 3);
    };
    const auto began = std::chrono::steady_clock::now();
    const pid_t timed = ::fork();
    ASSERT_GE(timed, 0);
    if (timed == 0)
        runChild(1);
    int status = 0;
    ASSERT_EQ(::waitpid(timed, &status, 0), timed);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const long runTime = long(std::chrono::duration_cast<std::chrono::microseconds>(
                                  std::chrono::steady_clock::now() - began).count());

    std::mt19937 random(20241224);
    std::uniform_int_distribution<long> delay(0, std::max(2000L, runTime * 3 / 2));
    int version = 1, oldSeen = 0, newSeen = 0;
    constexpr int kTrials = 200;
    for (int trial = 0; trial < kTrials; ++trial) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            runChild(version + 1);
        ::usleep(useconds_t(delay(random)));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        std::string name;
        const doc::RecoveryRecord found = theOrphan(folder, &name);
        ASSERT_TRUE(found == sample(version, kUnits) || found == sample(version + 1, kUnits))
            << "trial " << trial << ": a record of " << found.text.size() << " units, time "
            << found.savedAt;
        if (found == sample(version, kUnits)) {
            ++oldSeen;
        } else {
            ++newSeen;
            ++version;
        }
        // Nothing else but a killed write's hidden temporary, which the next scan removes
        // once it is old; here it is cleared at once.
        for (const std::string& n : names()) {
            if (n == name)
                continue;
            EXPECT_EQ(n.rfind("." + name + ".tmp-", 0), 0u) << n;
            std::filesystem::remove(folder + '/' + n);
        }
    }
    std::cout << "[ figures  ] " << kTrials << " kills within " << runTime * 3 / 2
              << " us of a " << runTime << " us take-over and write: " << oldSeen << " old, "
              << newSeen << " new\n";
    EXPECT_GT(oldSeen, 0);
    EXPECT_GT(newSeen, 0);
}

TEST_F(RecoveryFileTest, ALivingProgramsRecordIsNeverAnOrphanWhateverItsPid)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RecoveryFile file(folder);
        const char done = file.write(sample(1)) == 0 ? 'y' : 'n';
        if (::write(ready[1], &done, 1) != 1)
            ::_exit(1);
        for (;;)
            ::pause();
    }
    char done = 0;
    ASSERT_EQ(::read(ready[0], &done, 1), 1);
    ASSERT_EQ(done, 'y');
    // Another program looks while the first one lives: nothing to offer, however often.
    for (int look = 0; look < 3; ++look)
        EXPECT_TRUE(scanRecoveryFolder(folder).orphans.empty());
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(theOrphan(folder), sample(1));
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST_F(RecoveryFileTest, AFullDiskLeavesTheOldRecordHeldAndNothingElse)
{
    RecoveryFile own(folder);
    ASSERT_EQ(own.write(sample(1)), 0);
    const auto before = names();
    int writes = 0;
    platform::shell::setWriteFunctionForTesting([&](int, const void*, size_t) -> ssize_t {
        ++writes;
        errno = ENOSPC;
        return -1;
    });
    EXPECT_EQ(own.write(sample(2)), ENOSPC);
    EXPECT_GT(writes, 0);
    platform::shell::setWriteFunctionForTesting(nullptr);
    EXPECT_EQ(names(), before) << "no temporary left behind";
    EXPECT_TRUE(own.exists());
    EXPECT_TRUE(scanRecoveryFolder(folder).orphans.empty()) << "still held";
    doc::RecoveryRecord onDisk;
    ASSERT_EQ(doc::parseRecoveryRecord(contents(own.filePath()), onDisk), doc::RecordFault::None);
    EXPECT_EQ(onDisk, sample(1));

    // Once there is room again the next write goes through.
    ASSERT_EQ(own.write(sample(3)), 0);
    ASSERT_EQ(doc::parseRecoveryRecord(contents(own.filePath()), onDisk), doc::RecordFault::None);
    EXPECT_EQ(onDisk, sample(3));
}
