#include "platform/shell/WholeFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::shell {

WholeFile::WholeFile(const std::string& path)
{
    // Non-blocking, so that a FIFO without a writer cannot hang the program in open().
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0)
        m_error = errno;
    else if (S_ISDIR(st.st_mode))
        m_error = EISDIR;
    else if (!S_ISREG(st.st_mode))
        m_error = EACCES;  // a FIFO, socket or device is no text file: refused like a folder
    else if (::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        m_error = EBUSY;
    if (m_error != 0) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    m_fd = fd;
    m_size = std::int64_t(st.st_size);
}

WholeFile::~WholeFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

namespace {

// Reads length bytes from the start of fd into bytes (resized to what arrived); tells whether
// all of them came.
bool readFromStart(int fd, std::string& bytes, std::size_t length)
{
    bytes.resize(length);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, bytes.data() + done, length - done, off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;  // a read error, or the file shrank: a short read
        done += std::size_t(n);
    }
    bytes.resize(done);
    return done == length;
}

} // namespace

WholeFileContents readWholeFile(const std::string& path, std::int64_t maxBytes)
{
    WholeFileContents result;
    const WholeFile file(path);
    if (file.error() != 0) {
        result.error = file.error();
        return result;
    }
    if (file.size() > maxBytes) {
        result.error = EFBIG;
        return result;
    }
    result.shortRead = !readFromStart(file.fd(), result.bytes, std::size_t(file.size()));
    return result;
}

WholeFileContents readFileStart(int fd, std::int64_t count)
{
    WholeFileContents result;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result.error = errno;
        return result;
    }
    const std::int64_t length = std::min<std::int64_t>(std::max<std::int64_t>(count, 0),
                                                       std::int64_t(st.st_size));
    result.shortRead = !readFromStart(fd, result.bytes, std::size_t(length));
    return result;
}

} // namespace platform::shell
