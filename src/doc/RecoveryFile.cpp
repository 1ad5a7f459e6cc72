#include "doc/RecoveryFile.h"

#include "doc/RecoveryFolder.h"
#include "platform/shell/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace doc {

namespace {

std::string freshName()
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::random_device device;
    std::string name;
    for (int i = 0; i < 4; ++i) {
        std::uint32_t bits = device();
        for (int j = 0; j < 8; ++j, bits >>= 4)
            name += kHex[bits & 0xF];
    }
    return name + std::string(kRecordSuffix);
}

// Whether fd is open on the file path names (not following a link there).
bool isNamedBy(int fd, const std::string& path)
{
    struct stat opened {}, named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

RecoveryFile::RecoveryFile(std::string folder) : m_folder(std::move(folder)), m_name(freshName())
{
}

RecoveryFile::~RecoveryFile()
{
    if (m_lock >= 0)
        ::close(m_lock);
}

int RecoveryFile::write(const RecoveryRecord& record)
{
    const std::string bytes = encodeRecoveryRecord(record);
    int error = writeBytes(bytes);
    // A folder removed while the program ran is made again.
    if (error == ENOENT) {
        m_ready = false;
        error = writeBytes(bytes);
    }
    return error;
}

int RecoveryFile::writeBytes(const std::string& bytes)
{
    if (!m_ready) {
        if (const int error = prepareRecoveryFolder(m_folder); error != 0)
            return error;
        m_ready = true;
    }
    // The name must name this program's own file or nothing: never a file of another
    // program's (a name drawn twice), nor a link someone put there, which the writer would
    // follow.
    for (int attempt = 0; attempt < 100; ++attempt) {
        struct stat st {};
        const std::string path = filePath();
        if (::lstat(path.c_str(), &st) != 0 ? errno == ENOENT && m_lock < 0
                                            : m_lock >= 0 && isNamedBy(m_lock, path))
            break;
        if (m_lock >= 0)
            ::close(std::exchange(m_lock, -1));
        m_name = freshName();
    }

    int newLock = -1;
    const int error = platform::shell::writeFileAtomically(
        filePath(), bytes, [&newLock](int fd) {
            if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0)
                return errno;
            const int held = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
            if (held < 0)
                return errno;
            if (::flock(held, LOCK_EX | LOCK_NB) != 0) {
                const int lockError = errno;
                ::close(held);
                return lockError;
            }
            newLock = held;
            return 0;
        });
    // Whichever file the name names now is the one to hold: the new one once it was renamed
    // into place (even when the folder's flush failed after), else the old one.
    if (newLock >= 0) {
        if (isNamedBy(newLock, filePath())) {
            if (m_lock >= 0)
                ::close(m_lock);
            m_lock = newLock;
        } else {
            ::close(newLock);
        }
    }
    return error;
}

void RecoveryFile::remove()
{
    if (m_lock < 0)
        return;
    ::unlink(filePath().c_str());
    ::close(std::exchange(m_lock, -1));
}

void RecoveryFile::adopt(OrphanRecord& orphan)
{
    remove();
    m_name = orphan.name();
    m_lock = orphan.releaseLock();
}

} // namespace doc
