#include "doc/RecoveryFolder.h"

#include "platform/profile/SettingsPath.h"
#include "platform/shell/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace doc {

namespace {

// A temporary younger than this may belong to a write that is just starting: the writer
// takes its lock a moment after it creates the file.
constexpr std::time_t kStaleTemporaryAge = 60;
// How often a record that another program replaced while it was being looked at is looked
// at again; a program writing once a second replaces it rarely twice in a row.
constexpr int kLookAttempts = 3;

bool endsWith(std::string_view s, std::string_view end)
{
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

// The atomic writer's temporary for record NAME is ".NAME.tmp-xxxxxxxx".
bool isRecordTemporary(std::string_view name)
{
    return !name.empty() && name.front() == '.' &&
           name.find(std::string(kRecordSuffix) + ".tmp-") != std::string_view::npos;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Renames folder/name out of the scan's way without replacing anything already there;
// returns the new path, or "" when it could not be moved. The file is never opened or
// followed: a symbolic link is renamed as the link itself.
std::string moveAside(const std::string& folder, const std::string& name)
{
    const std::string from = folder + '/' + name;
    for (int n = 1; n <= 100; ++n) {
        std::string to = from + std::string(kSetAsideMark);
        if (n > 1)
            to += '-' + std::to_string(n);
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return to;
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return {};
        // A file system without the no-replace rename: a second name, then the first goes.
        if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) == 0) {
            ::unlink(from.c_str());
            return to;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

void setAside(const std::string& folder, const std::string& name, RecoveryScan& scan)
{
    scan.setAside.push_back({folder + '/' + name, moveAside(folder, name)});
}

// Opens name in the folder for a look, without following a link or waiting on a FIFO.
int openEntry(int dirFd, const std::string& name)
{
    return ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

// Takes the lock of the file open as fd, when nobody holds it and the name still names that
// file; false otherwise (fd then stays open: the caller closes it).
bool lockIfStillNamed(int dirFd, const std::string& name, int fd, bool& replaced)
{
    replaced = false;
    struct stat opened {}, named {};
    if (::fstat(fd, &opened) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return false;
    // Between the open and the lock, the record's program may have put a new file (locked
    // before it got the name) in place of the one opened: that one it let go, so the lock
    // was free. The name tells.
    if (::fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0)
        return false;  // gone: saved or ended
    replaced = !sameFile(opened, named);
    return !replaced;
}

void removeIfStaleTemporary(int dirFd, const std::string& name)
{
    const int fd = openEntry(dirFd, name);
    if (fd < 0)
        return;
    struct stat st {};
    bool replaced = false;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
        st.st_mtime + kStaleTemporaryAge < std::time(nullptr) &&
        lockIfStillNamed(dirFd, name, fd, replaced))
        ::unlinkat(dirFd, name.c_str(), 0);
    ::close(fd);
}

void examineRecord(int dirFd, const std::string& folder, const std::string& name,
                   RecoveryScan& scan)
{
    for (int attempt = 0; attempt < kLookAttempts; ++attempt) {
        const int fd = openEntry(dirFd, name);
        if (fd < 0) {
            // Gone meanwhile: its program saved or ended. Anything else (a symbolic link, a
            // file the user may not read) is no record of this user's.
            if (errno != ENOENT)
                setAside(folder, name, scan);
            return;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
            ::close(fd);
            setAside(folder, name, scan);
            return;
        }
        bool replaced = false;
        if (!lockIfStillNamed(dirFd, name, fd, replaced)) {
            // Held by a running program, or gone; replaced: look at the new file.
            ::close(fd);
            if (replaced)
                continue;
            return;
        }
        RecoveryRecord head;
        const auto start =
            platform::shell::readFileStart(fd, std::int64_t(kRecordHeadMax));
        struct stat locked {};
        const bool readable = start.error == 0 && !start.shortRead && ::fstat(fd, &locked) == 0;
        if (!readable || parseRecordHead(start.bytes, std::uint64_t(locked.st_size), head) !=
                             RecordFault::None) {
            // Moved while still locked, so that no other scan reads it half-renamed.
            setAside(folder, name, scan);
            ::close(fd);
            return;
        }
        scan.orphans.emplace_back(folder, name, fd, std::move(head));
        return;
    }
}

} // namespace

RecoveryFolderInputs RecoveryFolderInputs::fromProcess()
{
    RecoveryFolderInputs in{platform::profile::SettingsPathInputs::fromProcess().home, {}};
    if (const char* state = std::getenv("XDG_STATE_HOME"))
        in.xdgStateHome = state;
    return in;
}

std::string recoveryFolder(const RecoveryFolderInputs& inputs)
{
    return platform::shell::xdgBaseFolder(inputs.xdgStateHome, inputs.home, ".local/state",
                                          "Quillet/recovery");
}

int prepareRecoveryFolder(const std::string& folder)
{
    if (folder.empty() || folder.front() != '/')
        return ENOENT;
    // Something that is no folder in the way (ENOTDIR) is told more closely below: a
    // symbolic link where the folder should be is refused as a link.
    const int made = platform::shell::makeFolders(folder);
    if (made != 0 && made != ENOTDIR)
        return made;
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0)
        return errno;
    if (S_ISLNK(st.st_mode))
        return ELOOP;
    if (!S_ISDIR(st.st_mode))
        return ENOTDIR;
    if (st.st_uid != ::geteuid())
        return EPERM;
    if ((st.st_mode & 07777) != 0700 && ::chmod(folder.c_str(), 0700) != 0)
        return errno;
    return 0;
}

OrphanRecord::OrphanRecord(std::string folder, std::string name, int lockedFd,
                           RecoveryRecord head)
    : m_folder(std::move(folder)), m_name(std::move(name)), m_fd(lockedFd),
      m_head(std::move(head))
{
}

OrphanRecord::~OrphanRecord()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

OrphanRecord::OrphanRecord(OrphanRecord&& other) noexcept
    : m_folder(std::move(other.m_folder)), m_name(std::move(other.m_name)),
      m_fd(std::exchange(other.m_fd, -1)), m_head(std::move(other.m_head))
{
}

OrphanRecord& OrphanRecord::operator=(OrphanRecord&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_folder = std::move(other.m_folder);
        m_name = std::move(other.m_name);
        m_fd = std::exchange(other.m_fd, -1);
        m_head = std::move(other.m_head);
    }
    return *this;
}

RecordFault OrphanRecord::load(RecoveryRecord& record, std::string& setAsideTo)
{
    setAsideTo.clear();
    if (m_fd < 0)
        return RecordFault::Short;
    struct stat st {};
    RecordFault fault = RecordFault::Short;
    if (::fstat(m_fd, &st) == 0) {
        const auto whole = platform::shell::readFileStart(m_fd, std::int64_t(st.st_size));
        if (whole.error == 0 && !whole.shortRead)
            fault = parseRecoveryRecord(whole.bytes, record);
    }
    if (fault != RecordFault::None) {
        setAsideTo = moveAside(m_folder, m_name);
        ::close(std::exchange(m_fd, -1));
    }
    return fault;
}

void OrphanRecord::remove()
{
    if (m_fd < 0)
        return;
    ::unlink(filePath().c_str());
    ::close(std::exchange(m_fd, -1));
}

int OrphanRecord::releaseLock()
{
    return std::exchange(m_fd, -1);
}

RecoveryScan scanRecoveryFolder(const std::string& folder, std::string_view ownName)
{
    RecoveryScan scan;
    if (folder.empty())
        return scan;
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0)
        return scan;
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return scan;
    }
    // Names first: records are renamed aside while the folder is looked through.
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir))
        names.emplace_back(entry->d_name);
    for (const std::string& name : names) {
        if (isRecordTemporary(name))
            removeIfStaleTemporary(dirFd, name);
        else if (name.front() != '.' && endsWith(name, kRecordSuffix) && name != ownName)
            examineRecord(dirFd, folder, name, scan);
    }
    ::closedir(dir);
    std::sort(scan.orphans.begin(), scan.orphans.end(),
              [](const OrphanRecord& a, const OrphanRecord& b) {
                  if (a.head().savedAt != b.head().savedAt)
                      return a.head().savedAt > b.head().savedAt;
                  return a.name() < b.name();
              });
    return scan;
}

} // namespace doc
