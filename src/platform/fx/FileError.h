#pragma once
// Classifies a failed file operation into one of the fifteen causes the program reports, and
// builds the message the user sees for it. Qt-free.
//
// A cause selects the message whose string id is AFX_IDP_FILE_NONE plus the cause, with "%1"
// replaced by the file's path. The numbers are fixed: they index the string table.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::fx {

enum class FileErrorCause {
    None = 0,             // no error
    Generic = 1,          // an error that fits no other class
    FileNotFound = 2,
    BadPath = 3,          // the path is malformed or names a folder that does not exist
    TooManyOpenFiles = 4,
    AccessDenied = 5,
    InvalidFile = 6,      // the handle does not refer to an open file
    RemoveCurrentDir = 7, // the current folder cannot be removed
    DirectoryFull = 8,
    BadSeek = 9,
    HardIO = 10,          // the device reported an input/output error or is not ready
    SharingViolation = 11,
    LockViolation = 12,
    DiskFull = 13,
    EndOfFile = 14,       // an access past the end of the file
};

// The cause for a Windows system error code (GetLastError). Code 0 is None; a code with no
// class of its own is Generic. For callers that hold a Windows error number.
FileErrorCause causeFromWindowsError(std::uint32_t code);

// The cause for a POSIX errno value, chosen by what the error means to the user (see the
// table in FileError.cpp). 0 is None; an errno with no class of its own is Generic.
FileErrorCause causeFromErrno(int errnoValue);

// The message for a failed operation on path: string AFX_IDP_FILE_NONE + cause with "%1" the
// path, or the unnamed-file text ("無題のﾌｧｲﾙ") when path is empty. The path is inserted
// once and never scanned for placeholders itself. A value outside the enum's range is
// reported as Generic rather than as an empty message.
std::u16string fileErrorMessage(FileErrorCause cause, std::u16string_view path);

} // namespace platform::fx
