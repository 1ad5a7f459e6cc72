#include "platform/fx/FileError.h"

#include "platform/fx/FrameworkIds.h"
#include "platform/fx/FrameworkStrings.h"

#include <cerrno>

namespace platform::fx {

FileErrorCause causeFromWindowsError(std::uint32_t code)
{
    switch (code) {
    case 0:
        return FileErrorCause::None;
    case 2:  // ERROR_FILE_NOT_FOUND
    case 6:  // ERROR_INVALID_HANDLE
    case 18: // ERROR_NO_MORE_FILES
        return FileErrorCause::FileNotFound;
    case 3: // ERROR_PATH_NOT_FOUND
        return FileErrorCause::BadPath;
    case 4: // ERROR_TOO_MANY_OPEN_FILES
        return FileErrorCause::TooManyOpenFiles;
    case 5: // ERROR_ACCESS_DENIED
        return FileErrorCause::AccessDenied;
    case 11: // ERROR_BAD_FORMAT
        return FileErrorCause::InvalidFile;
    case 16: // ERROR_CURRENT_DIRECTORY
        return FileErrorCause::RemoveCurrentDir;
    case 62: // ERROR_NO_SPOOL_SPACE
        return FileErrorCause::DirectoryFull;
    case 25: // ERROR_SEEK
        return FileErrorCause::BadSeek;
    case 21: // ERROR_NOT_READY
        return FileErrorCause::HardIO;
    case 32: // ERROR_SHARING_VIOLATION
        return FileErrorCause::SharingViolation;
    case 33: // ERROR_LOCK_VIOLATION
        return FileErrorCause::LockViolation;
    case 39:  // ERROR_HANDLE_DISK_FULL
    case 112: // ERROR_DISK_FULL
        return FileErrorCause::DiskFull;
    case 38: // ERROR_HANDLE_EOF
        return FileErrorCause::EndOfFile;
    default:
        return FileErrorCause::Generic;
    }
}

// Each errno is placed where the user would look for it in the Windows wording of the
// messages; the comment says why when the match is not word for word.
FileErrorCause causeFromErrno(int errnoValue)
{
    switch (errnoValue) {
    case 0:
        return FileErrorCause::None;

    case ENOENT:
        return FileErrorCause::FileNotFound;

    case ENOTDIR:      // a component of the path is a file, not a folder
    case ENAMETOOLONG: // the path or one of its names is too long
    case ELOOP:        // symbolic links loop: the path leads nowhere
    case EINVAL:       // what open() and rename() say about names a file system refuses
        return FileErrorCause::BadPath;

    case EMFILE: // this process's limit
    case ENFILE: // the system's limit
        return FileErrorCause::TooManyOpenFiles;

    case EACCES:
    case EPERM:
    case EROFS:  // a read-only file system refuses writing like a read-only file does
    case EISDIR: // Windows answers "access denied" when a folder is opened as a file
    case EEXIST: // an exclusive create found a file there; Windows classes this as denied
        return FileErrorCause::AccessDenied;

    case EBADF:
    case ESTALE: // the file behind a network handle has gone
        return FileErrorCause::InvalidFile;

    case EMLINK: // the folder cannot hold another entry
        return FileErrorCause::DirectoryFull;

    case ESPIPE: // seeking on a pipe or socket
        return FileErrorCause::BadSeek;

    case EIO:
    case ENXIO:     // the device behind a device file is absent
    case ENODEV:
#ifdef ENOMEDIUM
    case ENOMEDIUM: // no medium in the drive: Windows' "not ready"
#endif
        return FileErrorCause::HardIO;

    case ETXTBSY: // the file is a running program, so another user of it forbids writing
    case EBUSY:   // the file or its mount is held by someone else
        return FileErrorCause::SharingViolation;

    case ENOLCK:  // no lock could be had
    case EDEADLK: // waiting for the lock would deadlock
#if EAGAIN != EDEADLK
    case EAGAIN: // a non-blocking lock attempt found the region locked
#endif
        return FileErrorCause::LockViolation;

    case ENOSPC:
    case EDQUOT: // the user's quota is full: for the user the disk is full
    case EFBIG:  // the file system cannot hold a file this large
        return FileErrorCause::DiskFull;

    default:
        return FileErrorCause::Generic;
    }
}

std::u16string fileErrorMessage(FileErrorCause cause, std::u16string_view path)
{
    int index = static_cast<int>(cause);
    if (index < static_cast<int>(FileErrorCause::None) ||
        index > static_cast<int>(FileErrorCause::EndOfFile))
        index = static_cast<int>(FileErrorCause::Generic);
    const std::u16string_view format = frameworkString(ids::AFX_IDP_FILE_NONE + index);
    const std::u16string_view name =
        path.empty() ? frameworkString(ids::AFX_IDS_UNNAMED_FILE) : path;
    return formatString1(format, name);
}

} // namespace platform::fx
