#pragma once
// The archive that a document's serialize step reads from or writes to. Loading reads the
// opened file; storing collects the bytes, which the document then writes to disk safely
// (temporary file, then rename), so a failed save never leaves a damaged file behind.
//
// Nothing is thrown: a serializer that fails calls one of the fail functions and returns;
// the document reports the failure after serialize comes back.

#include "platform/fx/FileError.h"

#include <cstdint>
#include <string>

namespace platform::fx {

enum class ArchiveFailure {
    None,
    EndOfFile,     // fewer bytes than expected: "unexpected file format"
    OutOfMemory,   // no memory for the text
    UserAbort,     // the serializer already told the user; nothing more is shown
    File,          // a file operation failed: cause and system error number are kept
};

class Archive {
public:
    enum class Mode { Load, Store };

    // A loading archive over an open file descriptor (not owned) of fileLength bytes, read
    // from its start.
    static Archive forLoading(int fd, std::int64_t fileLength, std::u16string path);
    // A storing archive; the bytes written are kept in memory until the document commits.
    static Archive forStoring(std::u16string path);

    bool isLoading() const { return m_mode == Mode::Load; }
    bool isStoring() const { return m_mode == Mode::Store; }
    const std::u16string& path() const { return m_path; }

    // Loading: the length of the file in bytes when it was opened.
    std::int64_t fileLength() const { return m_fileLength; }
    // Loading: reads up to count bytes into dst; returns how many arrived. A read error
    // fails the archive with the file error and returns what was read before it.
    std::int64_t read(char* dst, std::int64_t count);

    // Storing: appends count bytes.
    void write(const char* src, std::int64_t count);
    const std::string& storedBytes() const { return m_stored; }

    void failEndOfFile() { fail(ArchiveFailure::EndOfFile); }
    void failOutOfMemory() { fail(ArchiveFailure::OutOfMemory); }
    void abortSilently() { fail(ArchiveFailure::UserAbort); }
    void failFile(int osError);

    bool failed() const { return m_failure != ArchiveFailure::None; }
    ArchiveFailure failure() const { return m_failure; }
    int osError() const { return m_osError; }

private:
    Archive(Mode mode, std::u16string path) : m_mode(mode), m_path(std::move(path)) {}
    void fail(ArchiveFailure failure)
    {
        if (m_failure == ArchiveFailure::None)
            m_failure = failure;
    }

    Mode m_mode;
    std::u16string m_path;
    int m_fd = -1;
    std::int64_t m_fileLength = 0;
    std::int64_t m_offset = 0;  // loading: where the next read starts
    std::string m_stored;
    ArchiveFailure m_failure = ArchiveFailure::None;
    int m_osError = 0;
};

} // namespace platform::fx
