#include "platform/fx/Archive.h"

#include "platform/shell/Files.h"

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
    const shell::ReadCount read = shell::readAt(m_fd, m_offset, dst, count);
    m_offset += read.count;
    if (read.error != 0)
        failFile(read.error);
    return read.count;
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
