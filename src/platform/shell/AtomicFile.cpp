#include "platform/shell/AtomicFile.h"

#include "platform/shell/Files.h"

#include <cerrno>
#include <cstdlib>
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

FaultFunction& faultFunction()
{
    static FaultFunction function;
    return function;
}

// Whether the user may write the existing file at path. The rename that replaces a file
// needs only the folder's permission, so without this a read-only file would be replaced
// all the same; a file with no write bit at all is read-only even for the superuser, as a
// file marked read-only is for everyone elsewhere. Returns 0 or the error that refuses it.
int writePermission(const std::string& path, const struct stat& info)
{
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return EACCES;
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EROFS))
        return errno;
    return 0;
}

// True when a test makes step fail; errno is then its error.
bool faulted(SaveStep step)
{
    if (!faultFunction())
        return false;
    const int error = faultFunction()(step);
    if (error == 0)
        return false;
    errno = error;
    return true;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        if (faulted(SaveStep::Write))
            return false;
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

// Creates a new, empty file beside target, hidden unless it is a backup the user may need;
// the umask applies to its 0666.
std::optional<std::pair<std::string, int>> createFileBeside(const std::string& target,
                                                            bool backup = false)
{
    const std::string name(nameOf(target).substr(0, kMaxTempStemLength));
    const std::string stem =
        folderOf(target) + (backup ? "/" + name + ".backup-" : "/." + name + ".tmp-");
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (faulted(SaveStep::CreateTemporary))
            return std::nullopt;
        std::string path = stem + randomSuffix();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return std::pair(std::move(path), fd);
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

// Makes the parent folder's record of the rename durable. A folder that cannot be opened
// for it (no read permission) is no failure of the save; a flush that fails is.
int syncFolderOf(const std::string& path)
{
    if (faulted(SaveStep::SyncFolder))
        return errno;
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error;
}

bool syncFile(int fd)
{
    return !faulted(SaveStep::Sync) && ::fsync(fd) == 0;
}

// Closes now; a fault still closes the descriptor, so nothing leaks.
bool closeFile(FileDescriptor& file)
{
    const bool closed = file.close();
    if (faulted(SaveStep::Close))
        return false;
    return closed;
}

// Collects the first failing step's error.
class FirstError {
public:
    void check(bool ok)
    {
        if (!ok && m_error == 0)
            m_error = errno ? errno : EIO;
    }
    int get() const { return m_error; }
    explicit operator bool() const { return m_error != 0; }

private:
    int m_error = 0;
};

// Writes bytes into a new file beside target (a backup copy when backup): flushed and
// closed. Returns its path, or the error with nothing left behind.
std::pair<std::string, int> writeFileBeside(const std::string& target, std::string_view bytes,
                                            bool backup, const struct stat* existing,
                                            const NewFileFunction* prepare = nullptr)
{
    errno = 0;
    const std::optional<std::pair<std::string, int>> created = createFileBeside(target, backup);
    if (!created)
        return {std::string(), errno ? errno : EIO};
    FileDescriptor file(created->second);
    FirstError error;
    if (existing) {
        // Owner first: changing it clears set-id bits that the chmod then restores.
        if (faulted(SaveStep::SetOwner) ||
            ::fchown(file.get(), existing->st_uid, existing->st_gid) != 0) {
            // Only a privileged process may give a file away; the permission bits still hold.
        }
        error.check(!faulted(SaveStep::SetMode) &&
                    ::fchmod(file.get(), existing->st_mode & 07777) == 0);
    }
    if (!error && prepare && *prepare) {
        if (const int refused = (*prepare)(file.get()); refused != 0) {
            errno = refused;
            error.check(false);
        }
    }
    if (!error)
        error.check(writeAll(file.get(), bytes));
    if (!error)
        error.check(syncFile(file.get()));
    error.check(closeFile(file));
    if (error) {
        ::unlink(created->first.c_str());
        return {std::string(), error.get()};
    }
    return {created->first, 0};
}

// Writes bytes over the file open as fd from its start and cuts it to their length.
bool overwrite(int fd, std::string_view bytes)
{
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes) &&
           !faulted(SaveStep::Truncate) && ::ftruncate(fd, off_t(bytes.size())) == 0 &&
           syncFile(fd);
}

// Opens path, overwrites it with bytes and closes it, collecting the first error; tells
// whether the file was opened (and so may have been changed).
bool overwriteFile(const std::string& path, std::string_view bytes, FirstError& error)
{
    if (faulted(SaveStep::OpenInPlace)) {
        error.check(false);
        return false;
    }
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    error.check(file.get() >= 0);
    if (file.get() < 0)
        return false;
    error.check(overwrite(file.get(), bytes));
    error.check(closeFile(file));
    return true;
}

// Whether the folder holding path refuses the user a new file in it, as a shared folder
// does while the files in it stay the user's to write.
bool folderDeniesWriting(const std::string& path)
{
    return ::faccessat(AT_FDCWD, folderOf(path).c_str(), W_OK, AT_EACCESS) != 0 &&
           errno == EACCES;
}

// The user's own folder for temporary files.
std::string userTempFolder()
{
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

// The contents of the file about to be written in place, read whole. Not under the readers'
// rule for busy files: a save replaces a file whatever another holder's lock says, by a
// rename as in place. The caller has made sure that target is a regular file.
FileBytes readOldContents(const std::string& target)
{
    FileDescriptor file(::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0)
        return {{}, errno, false};
    return readFileStart(file.get(), kNoSizeLimit);
}

// Writes a file in place, keeping its inode and so its other names, owner and mode. Its old
// contents are kept meanwhile in a backup copy beside it when copyBeside, and otherwise
// (its folder takes no new file) in memory only; when the in-place write fails they are
// written back. See the header for what a failure leaves.
int writeInPlace(const std::string& target, std::string_view bytes, bool copyBeside)
{
    const FileBytes old = readOldContents(target);
    if (old.error != 0 || old.shortRead)
        return old.error ? old.error : EIO;
    std::string backupPath;
    if (copyBeside) {
        const auto [path, backupError] = writeFileBeside(target, old.bytes, true, nullptr);
        if (backupError != 0)
            return backupError;
        backupPath = path;
    }

    FirstError error;
    const bool opened = overwriteFile(target, bytes, error);
    // Put the old contents back; they fitted before. A file never opened is untouched.
    FirstError restoreError;
    const bool restored =
        !error || !opened || (overwriteFile(target, old.bytes, restoreError) && !restoreError);
    if (restored && !backupPath.empty())
        ::unlink(backupPath.c_str());
    if (!restored && backupPath.empty()) {
        // The old contents exist nowhere else now: a private copy in the user's temporary
        // folder is the last place left for them.
        struct stat privateCopy {};
        privateCopy.st_uid = ::geteuid();
        privateCopy.st_gid = ::getegid();
        privateCopy.st_mode = S_IRUSR | S_IWUSR;
        writeFileBeside(joinPath(userTempFolder(), nameOf(target)), old.bytes, true,
                        &privateCopy);
    }
    if (!error)
        error.check(syncFolderOf(target) == 0);
    return error.get();
}

} // namespace

bool isReadOnlyFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           writePermission(path, info) != 0;
}

void setWriteFunctionForTesting(WriteFunction write)
{
    writeFunction() = std::move(write);
}

void setFaultFunctionForTesting(FaultFunction fault)
{
    faultFunction() = std::move(fault);
}

int writeFileAtomically(const std::string& path, std::string_view bytes)
{
    return writeFileAtomically(path, bytes, NewFileFunction());
}

int writeFileAtomically(const std::string& path, std::string_view bytes,
                        const NewFileFunction& prepareNewFile)
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
    if (exists) {
        if (const int refused = writePermission(*target, existing); refused != 0)
            return refused;
    }
    if (exists && existing.st_nlink > 1)
        return writeInPlace(*target, bytes, !folderDeniesWriting(*target));

    const auto [temporaryPath, error] =
        writeFileBeside(*target, bytes, false, exists ? &existing : nullptr, &prepareNewFile);
    // A file the user may write in a folder that takes no temporary is written in place.
    if (error == EACCES && exists && folderDeniesWriting(*target))
        return writeInPlace(*target, bytes, false);
    if (error != 0)
        return error;
    if (faulted(SaveStep::Rename) || ::rename(temporaryPath.c_str(), target->c_str()) != 0) {
        const int renameError = errno ? errno : EIO;
        ::unlink(temporaryPath.c_str());
        return renameError;
    }
    return syncFolderOf(*target);
}

} // namespace platform::shell
