#include "platform/shell/Files.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::shell {

namespace {

ReadFunction& readFunction()
{
    static ReadFunction function;
    return function;
}

} // namespace

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

ReadCount readAt(int fd, std::int64_t offset, char* dst, std::int64_t count)
{
    ReadCount read;
    while (read.count < count) {
        const std::size_t size = std::size_t(count - read.count);
        const off_t at = off_t(offset + read.count);
        const ssize_t n = readFunction() ? readFunction()(fd, dst + read.count, size, at)
                                         : ::pread(fd, dst + read.count, size, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            read.error = errno;
            break;
        }
        if (n == 0)
            break;  // the end of the file
        read.count += n;
    }
    return read;
}

namespace {

// Reads length bytes from the start of fd.
FileBytes readFromStart(int fd, std::int64_t length)
{
    FileBytes result;
    result.bytes.resize(std::size_t(length));
    const ReadCount read = readAt(fd, 0, result.bytes.data(), length);
    result.bytes.resize(std::size_t(read.count));
    result.error = read.error;
    result.shortRead = read.count < length;
    return result;
}

} // namespace

FileBytes readWholeFile(const std::string& path, std::int64_t maxBytes)
{
    const WholeFile file(path);
    if (file.error() != 0)
        return {{}, file.error(), false};
    if (file.size() > maxBytes)
        return {{}, EFBIG, false};
    return readFromStart(file.fd(), file.size());
}

FileBytes readFileStart(int fd, std::int64_t count)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return {{}, errno, false};
    return readFromStart(fd, std::clamp<std::int64_t>(count, 0, std::int64_t(st.st_size)));
}

void setReadFunctionForTesting(ReadFunction read)
{
    readFunction() = std::move(read);
}

bool isFolder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool entryExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

int makeFolders(const std::string& folder)
{
    if (folder.empty())
        return ENOENT;
    if (isFolder(folder))
        return 0;
    const std::string parent = folderOf(folder);
    if (parent != folder) {
        if (const int error = makeFolders(parent))
            return error;
    }
    // mkdir rather than std::filesystem, which cannot give a new folder its mode as it is
    // made: a folder made wider and narrowed after would be open to others meanwhile.
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return errno;
    return isFolder(folder) ? 0 : ENOTDIR;
}

std::string folderOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return ".";
    return std::string(slash == 0 ? path.substr(0, 1) : path.substr(0, slash));
}

std::string_view nameOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

std::string xdgBaseFolder(std::string_view value, std::string_view home,
                          std::string_view underHome, std::string_view inside)
{
    std::string base;
    if (value.starts_with('/'))
        base = value;
    else if (home.starts_with('/'))
        base = joinPath(home, underHome);
    return base.empty() || inside.empty() ? base : joinPath(base, inside);
}

} // namespace platform::shell
