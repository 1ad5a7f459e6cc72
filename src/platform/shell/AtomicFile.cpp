#include "platform/shell/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::shell {

namespace {

// The same bound the kernel puts on a chain of symbolic links.
constexpr int kMaxLinkHops = 40;
// Room for the temporary name's dot and suffix within the usual 255-byte name limit.
constexpr std::size_t kMaxTempStemLength = 200;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now and says whether the close succeeded (a late write error shows up here).
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<std::string> linkTarget(const std::string& link)
{
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
        if (length < 0)
            return std::nullopt;
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

// The file a write to path must replace: path itself, or the end of its chain of symbolic
// links (which may not exist yet: writing through a dangling link creates its target).
std::optional<std::string> finalTarget(std::string path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0)
            return errno == ENOENT ? std::optional(path) : std::nullopt;
        if (!S_ISLNK(info.st_mode))
            return path;
        const std::optional<std::string> target = linkTarget(path);
        if (!target || target->empty())
            return std::nullopt;
        path = target->front() == '/' ? *target : folderOf(path) + '/' + *target;
    }
    return std::nullopt;
}

WriteFunction& writeFunction()
{
    static WriteFunction function;
    return function;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = writeFunction()
                                    ? writeFunction()(fd, bytes.data(), bytes.size())
                                    : ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string randomSuffix()
{
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
    std::string suffix(8, '\0');
    for (char& c : suffix)
        c = kAlphabet[pick(generator)];
    return suffix;
}

// Creates a new, empty, hidden file beside target; the umask applies to its 0666.
std::optional<std::pair<std::string, int>> createTemporaryBeside(const std::string& target)
{
    const std::string stem = folderOf(target) + "/." + nameOf(target).substr(0, kMaxTempStemLength);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = stem + ".tmp-" + randomSuffix();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return std::pair(std::move(path), fd);
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

// Makes the parent folder's record of the rename durable; a failure here cannot undo the
// rename, so it is not reported.
void syncFolderOf(const std::string& path)
{
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

FileContents readWholeFile(const std::string& path)
{
    if (path.empty())
        return {FileContents::Status::Missing, {}};
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        return {missing ? FileContents::Status::Missing : FileContents::Status::Failed, {}};
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {FileContents::Status::Failed, {}};

    FileContents contents{FileContents::Status::Read, {}};
    contents.bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count == 0)
            return contents;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return {FileContents::Status::Failed, {}};
        }
        contents.bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

void setWriteFunctionForTesting(WriteFunction write)
{
    writeFunction() = std::move(write);
}

int writeFileAtomically(const std::string& path, std::string_view bytes)
{
    if (path.empty())
        return ENOENT;
    errno = 0;
    const std::optional<std::string> target = finalTarget(path);
    if (!target)
        return errno ? errno : ELOOP;
    struct stat existing {};
    const bool exists = ::stat(target->c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return EISDIR;
    if (exists && !S_ISREG(existing.st_mode))
        return EINVAL;

    errno = 0;
    const std::optional<std::pair<std::string, int>> temporary = createTemporaryBeside(*target);
    if (!temporary)
        return errno ? errno : EIO;
    const std::string& temporaryPath = temporary->first;
    FileDescriptor file(temporary->second);

    // The first failing step's error is the one reported.
    int error = 0;
    auto step = [&error](bool ok) {
        if (!ok && error == 0)
            error = errno ? errno : EIO;
    };
    if (exists) {
        // Owner first: changing it clears set-id bits that the chmod then restores.
        if (::fchown(file.get(), existing.st_uid, existing.st_gid) != 0) {
            // Only a privileged process may give a file away; the permission bits still hold.
        }
        step(::fchmod(file.get(), existing.st_mode & 07777) == 0);
    }
    if (error == 0)
        step(writeAll(file.get(), bytes));
    if (error == 0)
        step(::fsync(file.get()) == 0);
    step(file.close());
    if (error == 0)
        step(::rename(temporaryPath.c_str(), target->c_str()) == 0);
    if (error != 0) {
        ::unlink(temporaryPath.c_str());
        return error;
    }
    syncFolderOf(*target);
    return 0;
}

} // namespace platform::shell
