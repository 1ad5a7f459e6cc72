// A save killed at any moment leaves the whole old file or the whole new one; a file with
// two names is written in place and keeps both, even when its write fails.

#include "platform/shell/AtomicFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::shell::SaveStep;
using platform::shell::setFaultFunctionForTesting;
using platform::shell::writeFileAtomically;

namespace {

class AtomicFileCrash : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quillet-crash-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        setFaultFunctionForTesting(nullptr);
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    static std::string contents(const std::string& p)
    {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::size_t fileCount() const
    {
        return std::size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
    fs::path dir;
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
