#include "platform/fx/Archive.h"

#include <cerrno>
#include <unistd.h>

namespace platform::fx {

Archive Archive::forLoading(int fd, std::int64_t fileLength, std::u16string path)
{
    Archive a(Mode::Load, std::move(path));
    a.m_fd = fd;
    a.m_fileLength = fileLength;
    return a;
}

Archive Archive::forStoring(std::u16string path)
{
    return Archive(Mode::Store, std::move(path));
}

std::int64_t Archive::read(char* dst, std::int64_t count)
{
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, dst + done, std::size_t(count - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failFile(errno);
            break;
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

void Archive::write(const char* src, std::int64_t count)
{
    if (count > 0)
        m_stored.append(src, std::size_t(count));
}

void Archive::failFile(int osError)
{
    if (m_failure == ArchiveFailure::None)
        m_osError = osError;
    fail(ArchiveFailure::File);
}

} // namespace platform::fx
