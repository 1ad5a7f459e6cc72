// A save killed at any moment leaves the whole old file or the whole new one; a file with
// two names is written in place and keeps both, even when its write fails.

#include "SaveFolderTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using platform::shell::SaveStep;
using platform::shell::setFaultFunctionForTesting;
using platform::shell::writeFileAtomically;

namespace {

class AtomicFileCrash : public quillet_test::SaveFolderTest {
protected:
    std::size_t fileCount() const
    {
        return std::size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
};

} // namespace

TEST_F(AtomicFileCrash, AKilledSaveLeavesTheWholeOldOrTheWholeNewFile)
{
    const std::string target = path("memo.txt");
    const std::string oldBytes(1 << 20, 'o');
    std::string newBytes(1 << 20, '\0');
    for (std::size_t i = 0; i < newBytes.size(); ++i)
        newBytes[i] = char('a' + i % 26);

    // How long one save takes here; the kills fall anywhere in one and a half of that.
    ASSERT_EQ(writeFileAtomically(target, oldBytes), 0);
    const auto began = std::chrono::steady_clock::now();
    ASSERT_EQ(writeFileAtomically(target, newBytes), 0);
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - began).count();
    // Back to the old contents between trials, without waiting for the disk.
    const auto putOld = [&] { std::ofstream(target, std::ios::binary) << oldBytes; };
    putOld();

    std::mt19937 random(20261208);
    std::uniform_int_distribution<long> delay(0, std::max<long>(1500, saveTime * 3 / 2));
    int oldSeen = 0, newSeen = 0, temporariesLeft = 0;
    constexpr int kTrials = 200;
    for (int trial = 0; trial < kTrials; ++trial) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ::_exit(writeFileAtomically(target, newBytes));
        ::usleep(useconds_t(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const std::string now = contents(target);
        ASSERT_TRUE(now == oldBytes || now == newBytes)
            << "trial " << trial << ": a mixture of " << now.size() << " bytes";
        if (now == oldBytes) {
            ++oldSeen;
        } else {
            ++newSeen;
            putOld();
        }
        // A killed save may leave its hidden temporary; never anything under the file's name.
        for (const auto& e : fs::directory_iterator(dir)) {
            if (e.path() == target)
                continue;
            EXPECT_EQ(e.path().filename().string().rfind(".memo.txt.tmp-", 0), 0u)
                << e.path();
            fs::remove(e.path());
            ++temporariesLeft;
        }
    }
    std::cout << "[ figures  ] " << kTrials << " kills within " << saveTime * 3 / 2
              << " us of a " << saveTime << " us save: " << oldSeen << " old, " << newSeen
              << " new, " << temporariesLeft << " temporaries left\n";
    // The kills fell both before and after the rename.
    EXPECT_GT(oldSeen, 0);
    EXPECT_GT(newSeen, 0);
}

TEST_F(AtomicFileCrash, AFileWithTwoNamesIsWrittenInPlaceAndKeepsBoth)
{
    const std::string first = path("a.txt"), second = path("b.txt");
    {
        std::ofstream(first, std::ios::binary) << "the old contents, longer than the new";
    }
    ASSERT_EQ(::chmod(first.c_str(), 0640), 0);
    ASSERT_EQ(::link(first.c_str(), second.c_str()), 0);
    struct stat before {};
    ASSERT_EQ(::stat(first.c_str(), &before), 0);

    ASSERT_EQ(writeFileAtomically(second, "new"), 0);
    struct stat after {};
    ASSERT_EQ(::stat(first.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(contents(first), "new");
    EXPECT_EQ(fileCount(), 2u) << "the backup copy stays only when it is needed";

    // When neither the new nor the old contents can be written, the backup copy is kept
    // beside the file and holds the old contents.
    int writes = 0;
    setFaultFunctionForTesting([&](SaveStep step) {
        return step == SaveStep::Write && ++writes > 1 ? EIO : 0;
    });
    EXPECT_EQ(writeFileAtomically(first, "newer and longer"), EIO);
    setFaultFunctionForTesting(nullptr);
    ASSERT_EQ(fileCount(), 3u);
    for (const auto& e : fs::directory_iterator(dir)) {
        if (e.path().filename().string().rfind("a.txt.backup-", 0) == 0) {
            EXPECT_EQ(contents(e.path().string()), "new");
        }
    }
}

TEST_F(AtomicFileCrash, AFileInAFolderThatTakesNoNewFileIsWrittenInPlace)
{
    // The folder is root's; a user may write the files in it but create none there.
    const fs::path shared = dir / "shared", temp = dir / "temp";
    fs::create_directories(shared);
    fs::create_directories(temp);
    ASSERT_EQ(::chmod(dir.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(temp.c_str(), 0777), 0);
    const std::string target = (shared / "memo.txt").string();
    const std::string oldBytes = "the old contents of the memo";
    const std::string newBytes = "new and, as it happens, rather longer contents";
    // Writes of at most 5 bytes, so that a failing write can leave the file part new.
    platform::shell::setWriteFunctionForTesting([](int fd, const void* data, size_t size) {
        return ::write(fd, data, std::min<size_t>(size, 5));
    });

    struct Case {
        const char* name;
        mode_t mode;        // of an existing file; 0 for none
        bool twoNames;
        std::vector<std::pair<SaveStep, int>> faults;  // step and its occurrence
        int error;
        bool saved;         // the file holds the new bytes, else the old ones (or none)
        bool rescued;       // a private copy of the old bytes is left in the temporary folder
    };
    const Case cases[] = {
        {"writable", 0666, false, {}, 0, true, false},
        {"writable, two names", 0662, true, {}, 0, true, false},
        {"write fails halfway", 0666, false, {{SaveStep::Write, 3}}, EIO, false, false},
        {"truncate fails", 0666, false, {{SaveStep::Truncate, 1}}, EIO, false, false},
        {"sync fails", 0666, false, {{SaveStep::Sync, 1}}, EIO, false, false},
        {"open fails", 0666, false, {{SaveStep::OpenInPlace, 1}}, EIO, false, false},
        {"the old bytes cannot go back", 0666, false,
         {{SaveStep::Write, 2}, {SaveStep::Write, 3}}, EIO, false, true},
        {"read-only", 0644, false, {}, EACCES, false, false},
        {"no file yet", 0, false, {}, EACCES, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(shared / "memo.txt");
        fs::remove_all(shared / "other.txt");
        for (const auto& e : fs::directory_iterator(temp))
            fs::remove(e.path());
        if (c.mode != 0) {
            std::ofstream(target, std::ios::binary) << oldBytes;
            ASSERT_EQ(::chmod(target.c_str(), c.mode), 0);
            if (c.twoNames) {
                ASSERT_EQ(::link(target.c_str(), (shared / "other.txt").c_str()), 0);
            }
        }
        struct stat before {};
        const bool existed = ::stat(target.c_str(), &before) == 0;

        std::map<SaveStep, int> seen;
        setFaultFunctionForTesting([&](SaveStep step) {
            const std::pair<SaveStep, int> now{step, ++seen[step]};
            return std::find(c.faults.begin(), c.faults.end(), now) != c.faults.end() ? EIO : 0;
        });
        ::setenv("TMPDIR", temp.c_str(), 1);
        ASSERT_EQ(::seteuid(65534), 0);
        const int error = writeFileAtomically(target, newBytes);
        ASSERT_EQ(::seteuid(0), 0);
        ::unsetenv("TMPDIR");
        setFaultFunctionForTesting(nullptr);

        EXPECT_EQ(error, c.error);
        std::vector<std::string> rescued;
        for (const auto& e : fs::directory_iterator(temp)) {
            rescued.push_back(contents(e.path().string()));
            struct stat copy {};
            ASSERT_EQ(::stat(e.path().c_str(), &copy), 0);
            EXPECT_EQ(copy.st_mode & 07777, 0600u) << "the copy is private";
            EXPECT_EQ(copy.st_uid, 65534u);
        }
        EXPECT_EQ(rescued, c.rescued ? std::vector<std::string>{oldBytes}
                                     : std::vector<std::string>{});
        if (!existed) {
            EXPECT_FALSE(fs::exists(target));
            continue;
        }
        struct stat after {};
        ASSERT_EQ(::stat(target.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_nlink, before.st_nlink);
        if (c.rescued) {
            EXPECT_NE(contents(target), oldBytes) << "the file itself could not be restored";
        } else {
            EXPECT_EQ(contents(target), c.saved ? newBytes : oldBytes);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(shared), fs::directory_iterator()),
                  c.twoNames ? 2 : 1)
            << "nothing left in the shared folder";
    }
}
