#include "SaveFolderTest.h"

#include "platform/shell/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using platform::shell::readWholeFile;
using platform::shell::setWriteFunctionForTesting;
using platform::shell::writeFileAtomically;

namespace {

class AtomicFileTest : public quillet_test::SaveFolderTest {
protected:
    // The names in the folder; a failed save must leave nothing of its own behind.
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

// Installs a replacement for the low-level write for one scope.
struct WriteFunctionScope {
    explicit WriteFunctionScope(platform::shell::WriteFunction f)
    {
        setWriteFunctionForTesting(std::move(f));
    }
    ~WriteFunctionScope() { setWriteFunctionForTesting(nullptr); }
};

} // namespace

TEST_F(AtomicFileTest, CreatesANewFileWithTheUmasksPermissions)
{
    const mode_t old = ::umask(022);
    const std::string bytes("a\0b\r\n\xff", 6);
    EXPECT_EQ(writeFileAtomically(path("new.txt"), bytes), 0);
    ::umask(old);
    EXPECT_EQ(contents(path("new.txt")), bytes);
    EXPECT_EQ(mode(path("new.txt")), 0644u);
    EXPECT_EQ(names(), std::vector<std::string>{"new.txt"});
}

TEST_F(AtomicFileTest, ReplacingKeepsTheOldPermissions)
{
    for (mode_t m : {0600u, 0640u, 0755u, 0200u}) {
        const std::string p = path("kept.txt");
        fs::remove(p);
        put(p, "old contents that are longer than the new ones");
        ASSERT_EQ(::chmod(p.c_str(), m), 0);
        EXPECT_EQ(writeFileAtomically(p, "new"), 0) << std::oct << m;
        EXPECT_EQ(contents(p), "new");
        EXPECT_EQ(mode(p), m) << std::oct << m;
    }
    EXPECT_EQ(names(), std::vector<std::string>{"kept.txt"});
}

TEST_F(AtomicFileTest, AReadOnlyFileIsRefusedAndKeptWhateverItsLinks)
{
    // A rename would replace it, since the folder is writable; the file's own bits decide.
    for (mode_t m : {0444u, 0400u, 0555u, 0u}) {
        for (bool twoNames : {false, true}) {
            fs::remove_all(dir);
            fs::create_directory(dir);
            const std::string p = path("ro.txt");
            put(p, "kept");
            if (twoNames)
                fs::create_hard_link(p, dir / "other.txt");
            ASSERT_EQ(::chmod(p.c_str(), m), 0);
            EXPECT_EQ(writeFileAtomically(p, "new"), EACCES) << std::oct << m;
            ASSERT_EQ(::chmod(p.c_str(), 0600), 0);
            EXPECT_EQ(contents(p), "kept") << std::oct << m;
            EXPECT_EQ(mode(p), 0600u);
            EXPECT_EQ(names().size(), twoNames ? 2u : 1u) << "nothing left behind";
        }
    }
}

TEST_F(AtomicFileTest, EmptyBytesGiveAnEmptyFile)
{
    put(path("e.txt"), "something");
    EXPECT_EQ(writeFileAtomically(path("e.txt"), ""), 0);
    EXPECT_EQ(fs::file_size(path("e.txt")), 0u);
}

TEST_F(AtomicFileTest, SymbolicLinksAreWrittenThroughAndStayLinks)
{
    fs::create_directory(dir / "real");
    put(path("real/target.txt"), "old");
    ASSERT_EQ(::chmod(path("real/target.txt").c_str(), 0640), 0);
    // A relative link, and a link to that link.
    fs::create_symlink("real/target.txt", dir / "link.txt");
    fs::create_symlink("link.txt", dir / "link2.txt");

    EXPECT_EQ(writeFileAtomically(path("link2.txt"), "through two links"), 0);
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "link2.txt"));
    EXPECT_EQ(contents(path("real/target.txt")), "through two links");
    EXPECT_EQ(mode(path("real/target.txt")), 0640u);
    // The temporary lived beside the target, not beside the link.
    EXPECT_EQ(names(), (std::vector<std::string>{"link.txt", "link2.txt", "real"}));
    std::vector<std::string> inReal;
    for (const auto& e : fs::directory_iterator(dir / "real"))
        inReal.push_back(e.path().filename().string());
    EXPECT_EQ(inReal, std::vector<std::string>{"target.txt"});
}

TEST_F(AtomicFileTest, ADanglingLinkCreatesItsTarget)
{
    fs::create_symlink(dir / "later.txt", dir / "dangling.txt");
    EXPECT_EQ(writeFileAtomically(path("dangling.txt"), "made"), 0);
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.txt"));
    EXPECT_EQ(contents(path("later.txt")), "made");
}

TEST_F(AtomicFileTest, ALinkLoopFailsWithoutCreatingAnything)
{
    fs::create_symlink("b", dir / "a");
    fs::create_symlink("a", dir / "b");
    EXPECT_EQ(writeFileAtomically(path("a"), "x"), ELOOP);
    EXPECT_EQ(names(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(AtomicFileTest, AFullDiskLeavesTheOldFileAndNoTemporary)
{
    put(path("doc.txt"), "the old text");
    {
        WriteFunctionScope full([](int, const void*, size_t) -> ssize_t {
            errno = ENOSPC;
            return -1;
        });
        EXPECT_EQ(writeFileAtomically(path("doc.txt"), std::string(100000, 'x')), ENOSPC);
    }
    EXPECT_EQ(contents(path("doc.txt")), "the old text");
    EXPECT_EQ(names(), std::vector<std::string>{"doc.txt"});
}

TEST_F(AtomicFileTest, ADiskThatFillsHalfwayAlsoLeavesTheOldFile)
{
    put(path("doc.txt"), "the old text");
    std::size_t budget = 5000;
    {
        WriteFunctionScope filling([&budget](int fd, const void* data, size_t size) -> ssize_t {
            if (budget == 0) {
                errno = EIO;
                return -1;
            }
            const size_t n = std::min(size, budget);
            budget -= n;
            return ::write(fd, data, n);
        });
        EXPECT_EQ(writeFileAtomically(path("doc.txt"), std::string(20000, 'x')), EIO);
    }
    EXPECT_EQ(contents(path("doc.txt")), "the old text");
    EXPECT_EQ(names(), std::vector<std::string>{"doc.txt"});
}

TEST_F(AtomicFileTest, AWriteThatWritesNothingCountsAsAFullDisk)
{
    WriteFunctionScope stuck([](int, const void*, size_t) -> ssize_t { return 0; });
    EXPECT_EQ(writeFileAtomically(path("new.txt"), "abc"), ENOSPC);
    EXPECT_TRUE(names().empty());
}

TEST_F(AtomicFileTest, ShortWritesAndInterruptionsStillWriteEverything)
{
    std::string bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += char(i * 7);
    int calls = 0;
    {
        WriteFunctionScope trickle([&calls](int fd, const void* data, size_t size) -> ssize_t {
            if (++calls % 3 == 0) {
                errno = EINTR;
                return -1;
            }
            return ::write(fd, data, std::min<size_t>(size, 7));
        });
        EXPECT_EQ(writeFileAtomically(path("t.bin"), bytes), 0);
    }
    EXPECT_GT(calls, 400);
    EXPECT_EQ(contents(path("t.bin")), bytes);
}

TEST_F(AtomicFileTest, AFolderOrAFifoIsNeverReplaced)
{
    fs::create_directory(dir / "folder");
    EXPECT_EQ(writeFileAtomically(path("folder"), "x"), EISDIR);
    EXPECT_TRUE(fs::is_directory(dir / "folder"));

    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(writeFileAtomically(path("fifo"), "x"), EINVAL);
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_EQ(names(), (std::vector<std::string>{"fifo", "folder"}));
}

TEST_F(AtomicFileTest, AMissingFolderOrEmptyPathIsNotFound)
{
    EXPECT_EQ(writeFileAtomically(path("no/such/folder.txt"), "x"), ENOENT);
    EXPECT_EQ(writeFileAtomically("", "x"), ENOENT);
    EXPECT_TRUE(names().empty());
}

TEST_F(AtomicFileTest, ALargeFileRoundTrips)
{
    std::string bytes(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 2654435761u) >> 24);
    EXPECT_EQ(writeFileAtomically(path("big.bin"), bytes), 0);
    EXPECT_EQ(readWholeFile(path("big.bin")).bytes, bytes);
}
