#pragma once
// Opening a user's file to read it whole, with the one set of rules every reader follows
// (opening a document, importing, templates):
// - the open never blocks: a FIFO without a writer or a device cannot hang the program;
// - only a regular file is read: a folder gives EISDIR, a FIFO, socket or device EACCES
//   (refused like a file the user may not read);
// - another holder's exclusive lock gives EBUSY, as far as Linux can tell one (advisory
//   locks only);
// - the size is known, and checked against a limit, before anything is read.
// Qt-free.

#include <cstdint>
#include <string>

namespace platform::shell {

class WholeFile {
public:
    // Opens path; error() tells whether that worked.
    explicit WholeFile(const std::string& path);
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // 0 when the file is open, else the system's error number.
    int error() const { return m_error; }
    // The open descriptor (owned; -1 after an error) and the file's length when opened.
    int fd() const { return m_fd; }
    std::int64_t size() const { return m_size; }

private:
    int m_fd = -1;
    int m_error = 0;
    std::int64_t m_size = 0;
};

// What reading a whole file gave.
struct WholeFileContents {
    std::string bytes;
    int error = 0;          // the open failed with this errno; EFBIG: over the limit
    bool shortRead = false; // fewer bytes arrived than the file's length
};

// Opens path and reads it whole. A file longer than maxBytes is refused with EFBIG before
// anything is read.
WholeFileContents readWholeFile(const std::string& path, std::int64_t maxBytes);

// Reads the first count bytes of a file already open as fd (fewer when the file is shorter),
// from its start whatever the descriptor's offset, which stays as it was. For a file the
// caller holds open under a lock of its own, where opening it again would meet that lock.
WholeFileContents readFileStart(int fd, std::int64_t count);

} // namespace platform::shell
