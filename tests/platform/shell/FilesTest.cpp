// The file service: what a read gives for every kind of path a reader may meet, reads that
// stop early, and the folders and paths everyone else builds on.

#include "SaveFolderTest.h"

#include "platform/shell/Files.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>

namespace fs = std::filesystem;
using namespace platform::shell;

namespace {

class FilesTest : public quillet_test::SaveFolderTest {
protected:
    void SetUp() override
    {
        SaveFolderTest::SetUp();
        fs::permissions(dir, fs::perms(0755));  // open to the user the denied case reads as
    }
    void TearDown() override
    {
        setReadFunctionForTesting(nullptr);
        SaveFolderTest::TearDown();
    }
};

// Runs the enclosed reads as an ordinary user, for whom a file without read permission is
// denied (root reads it regardless). Does nothing when not root.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() : m_root(::geteuid() == 0) { m_ok = !m_root || ::seteuid(65534) == 0; }
    ~AsOrdinaryUser()
    {
        if (m_root && m_ok && ::seteuid(0) != 0)
            std::abort();  // the rest of the run would be meaningless
    }
    bool ok() const { return m_ok; }

private:
    bool m_root;
    bool m_ok;
};

} // namespace

TEST_F(FilesTest, EveryKindOfPathReadsAsTheRulesSay)
{
    const std::string text("x\0y\r\n\xff", 6);
    const std::string first3 = text.substr(0, 3);
    put(path("text.txt"), text);
    put(path("empty.txt"), "");
    fs::create_directory(dir / "folder");
    // Readable by all, so that only its kind refuses it; a blocking open would hang here.
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0644), 0);
    put(path("secret.txt"), "secret");
    ::chmod(path("secret.txt").c_str(), 0000);
    put(path("locked.txt"), "held");
    put(path("shared.txt"), "read by two");
    // Other holders' locks, on descriptors of their own.
    const int exclusive = ::open(path("locked.txt").c_str(), O_RDONLY);
    const int shared = ::open(path("shared.txt").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(exclusive, LOCK_EX), 0);
    ASSERT_EQ(::flock(shared, LOCK_SH), 0);

    // Reads of 2 bytes at most at a time: the service goes on until the file ends.
    const ReadFunction dribble = [](int fd, void* data, size_t size, off_t at) {
        return ::pread(fd, data, std::min<size_t>(size, 2), at);
    };
    // Reads that stop after 3 bytes: the file ended early (it shrank), or a read failed.
    const auto stopAfter3 = [](int error) -> ReadFunction {
        return [error](int fd, void* data, size_t size, off_t at) -> ssize_t {
            if (at >= 3) {
                errno = error;
                return error ? -1 : 0;
            }
            return ::pread(fd, data, std::min<size_t>(size, size_t(3 - at)), at);
        };
    };
    // An interrupted read is no failure.
    const ReadFunction interruptedOnce = [interrupted = false](int fd, void* data, size_t size,
                                                               off_t at) mutable -> ssize_t {
        if (!std::exchange(interrupted, true)) {
            errno = EINTR;
            return -1;
        }
        return ::pread(fd, data, size, at);
    };

    const struct {
        const char* what;
        std::string path;
        std::int64_t maxBytes;
        ReadFunction read;
        int error;
        bool shortRead;
        std::string bytes;
    } cases[] = {
        {"a file, every byte", path("text.txt"), kNoSizeLimit, {}, 0, false, text},
        {"in small reads", path("text.txt"), kNoSizeLimit, dribble, 0, false, text},
        {"interrupted", path("text.txt"), kNoSizeLimit, interruptedOnce, 0, false, text},
        {"empty", path("empty.txt"), kNoSizeLimit, {}, 0, false, ""},
        {"at the limit", path("text.txt"), 6, {}, 0, false, text},
        {"over the limit", path("text.txt"), 5, {}, EFBIG, false, ""},
        {"missing", path("gone.txt"), kNoSizeLimit, {}, ENOENT, false, ""},
        {"in a missing folder", path("gone/x.txt"), kNoSizeLimit, {}, ENOENT, false, ""},
        {"a file taken for a folder", path("text.txt/x"), kNoSizeLimit, {}, ENOTDIR, false, ""},
        {"no path", "", kNoSizeLimit, {}, ENOENT, false, ""},
        {"a folder", path("folder"), kNoSizeLimit, {}, EISDIR, false, ""},
        {"a FIFO without a writer", path("pipe"), kNoSizeLimit, {}, EACCES, false, ""},
        {"a device", "/dev/zero", kNoSizeLimit, {}, EACCES, false, ""},
        {"no read permission", path("secret.txt"), kNoSizeLimit, {}, EACCES, false, ""},
        {"locked by another", path("locked.txt"), kNoSizeLimit, {}, EBUSY, false, ""},
        {"shared with another", path("shared.txt"), kNoSizeLimit, {}, 0, false, "read by two"},
        {"shrank while read", path("text.txt"), kNoSizeLimit, stopAfter3(0), 0, true, first3},
        {"a read failed", path("text.txt"), kNoSizeLimit, stopAfter3(EIO), EIO, true, first3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        setReadFunctionForTesting(c.read);
        FileBytes read;
        {
            AsOrdinaryUser user;
            ASSERT_TRUE(user.ok());
            read = readWholeFile(c.path, c.maxBytes);
        }
        EXPECT_EQ(read.error, c.error);
        EXPECT_EQ(read.shortRead, c.shortRead);
        EXPECT_EQ(read.bytes, c.bytes);
    }
    setReadFunctionForTesting(nullptr);

    // A holder reads the start of its own locked file through its descriptor, from the
    // start whatever the offset, which stays; asking past the end gives what there is.
    ASSERT_EQ(::lseek(exclusive, 2, SEEK_SET), 2);
    const struct {
        std::int64_t count;
        std::string bytes;
    } starts[] = {{2, "he"}, {100, "held"}, {-1, ""}};
    for (const auto& s : starts) {
        const FileBytes start = readFileStart(exclusive, s.count);
        EXPECT_EQ(start.bytes, s.bytes) << s.count;
        EXPECT_FALSE(start.shortRead || start.error) << s.count;
    }
    EXPECT_EQ(::lseek(exclusive, 0, SEEK_CUR), 2);
    ::close(exclusive);
    ::close(shared);
}

TEST_F(FilesTest, FoldersAreMadeWithTheirParentsAndPathsComeApart)
{
    const std::string nested = path("a/b/c");
    EXPECT_EQ(makeFolders(nested), 0);
    for (const std::string& made : {path("a"), path("a/b"), nested})
        EXPECT_EQ(fs::status(made).permissions(), fs::perms(0700)) << made;
    EXPECT_EQ(makeFolders(nested), 0);  // there already
    EXPECT_EQ(makeFolders(nested + "/"), 0);
    put(path("plain"), "");
    EXPECT_EQ(makeFolders(path("plain")), ENOTDIR);
    EXPECT_EQ(makeFolders(path("plain/sub")), ENOTDIR);
    EXPECT_EQ(makeFolders(""), ENOENT);
    fs::create_directory_symlink(nested, dir / "link");
    EXPECT_EQ(makeFolders(path("link/d")), 0);
    EXPECT_TRUE(fs::is_directory(dir / "a/b/c/d"));
    fs::permissions(dir / "a", fs::perms(0500));
    {
        AsOrdinaryUser user;
        ASSERT_TRUE(user.ok());
        // A folder the user may not write in refuses the new one.
        EXPECT_EQ(makeFolders(path("a/new")), EACCES);
    }
    fs::permissions(dir / "a", fs::perms(0700));

    fs::create_symlink(path("gone"), dir / "dangling");
    const struct {
        std::string path;
        bool folder, exists;
    } entries[] = {
        {path("a"), true, true},      {path("link"), true, true},
        {path("plain"), false, true}, {path("dangling"), false, true},
        {path("gone"), false, false}, {"", false, false},
    };
    for (const auto& e : entries) {
        EXPECT_EQ(isFolder(e.path), e.folder) << e.path;
        EXPECT_EQ(entryExists(e.path), e.exists) << e.path;
    }

    const struct {
        std::string_view path, folder, name;
    } parts[] = {
        {"/a/b", "/a", "b"}, {"/a", "/", "a"}, {"a", ".", "a"},  {"a/b/", "a/b", ""},
        {"/", "/", ""},      {"", ".", ""},    {"//a", "/", "a"},
    };
    for (const auto& p : parts) {
        EXPECT_EQ(folderOf(p.path), p.folder) << p.path;
        EXPECT_EQ(nameOf(p.path), p.name) << p.path;
    }
    EXPECT_EQ(joinPath("/a", "b"), "/a/b");
    EXPECT_EQ(joinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(joinPath("/", "b"), "/b");
    EXPECT_EQ(joinPath(".", "b"), "./b");

    // The base-directory rules: an absolute value wins, a relative one is ignored; without
    // an absolute home there is no folder, rather than one in whatever folder is current.
    const struct {
        std::string_view value, home, folder;
    } bases[] = {
        {"/xdg", "/h", "/xdg"}, {"xdg", "/h", "/h/.config"}, {"", "/h/", "/h/.config"},
        {"", "h", ""},          {"", "", ""},                {"/xdg", "", "/xdg"},
    };
    for (const auto& b : bases)
        EXPECT_EQ(xdgBaseFolder(b.value, b.home, ".config"), b.folder) << b.value << b.home;
    EXPECT_EQ(xdgBaseFolder("", "/h", ".config", "Quillet/x"), "/h/.config/Quillet/x");
    EXPECT_EQ(xdgBaseFolder("", "h", ".config", "Quillet/x"), "");
}
