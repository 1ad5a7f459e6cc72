#pragma once
// The program's one file service: reading files, making folders, taking paths apart. Every
// read of a file and every folder the program makes goes through here; the atomic writer
// (AtomicFile.h) is the one way to write. Qt-free.
//
// Opening a file to read it follows one set of rules, whoever reads it (a document, an
// import, a template, the settings):
// - the open never blocks: a FIFO without a writer or a device cannot hang the program;
// - only a regular file is read: a folder gives EISDIR, a FIFO, socket or device EACCES
//   (refused like a file the user may not read);
// - another holder's exclusive lock gives EBUSY, as far as Linux can tell one (advisory
//   locks only);
// - the size is known, and checked against a limit, before anything is read.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform::shell {

// ---- Reading

// A file opened for reading under the rules above.
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

// What reading a file gave.
struct FileBytes {
    std::string bytes;       // what arrived
    int error = 0;           // the errno of the open (EFBIG: over the limit), or of the read
                             // that failed; 0 when the file was read whole or ended early
    bool shortRead = false;  // fewer bytes arrived than the file's length: a read failed, or
                             // the file shrank while it was read
};

inline constexpr std::int64_t kNoSizeLimit = INT64_MAX;

// Opens path under the rules above and reads it whole. A file longer than maxBytes is
// refused with EFBIG before anything is read. An empty path is missing (ENOENT).
FileBytes readWholeFile(const std::string& path, std::int64_t maxBytes = kNoSizeLimit);

// Reads the first count bytes of a file already open as fd (fewer when the file is shorter),
// from its start whatever the descriptor's offset, which stays as it was. For a file the
// caller holds open under a lock of its own, where opening it again would meet that lock.
FileBytes readFileStart(int fd, std::int64_t count);

// What a read at an offset gave: count bytes arrived; error is the errno of a failed read.
struct ReadCount {
    std::int64_t count = 0;
    int error = 0;
};

// Reads up to count bytes of fd from offset into dst, going on after interruptions and
// partial reads until count bytes have arrived, the file ends, or a read fails; a count of
// 0 or less reads nothing. The descriptor's own offset stays as it was.
ReadCount readAt(int fd, std::int64_t offset, char* dst, std::int64_t count);

// Tests replace the low-level read to simulate an I/O error or a file that ends early;
// nullptr restores ::pread.
using ReadFunction = std::function<ssize_t(int fd, void* data, size_t size, off_t offset)>;
void setReadFunctionForTesting(ReadFunction read);

// ---- Folders

// Whether path names a folder, or a symbolic link to one. False for "".
bool isFolder(const std::string& path);
// Whether anything exists under path, a symbolic link that leads nowhere included.
bool entryExists(const std::string& path);
// Creates folder and its missing parents, the new ones with mode 0700 (the user's own: the
// settings, data and state folders hold nothing for others). Returns 0 when folder is a
// folder afterwards, else the errno of the step that failed: ENOTDIR when something that
// is not a folder is in the way, ENOENT for "".
int makeFolders(const std::string& folder);

// ---- Paths (bytes, as the system takes them; "/" is the only separator)

// The folder part of path: "/a/b" gives "/a", "/a" gives "/", "a" gives ".".
std::string folderOf(std::string_view path);
// The part after the last "/": "/a/b" gives "b", "a" gives "a", "/a/" gives "".
std::string_view nameOf(std::string_view path);
// folder and name with one "/" between them: ("/a", "b") and ("/a/", "b") give "/a/b",
// ("", "b") gives "/b".
std::string joinPath(std::string_view folder, std::string_view name);

// A base folder as the XDG base-directory rules name it: value (an $XDG_..._HOME) when it
// is an absolute path, a relative one being ignored; else underHome (".local/share") in home;
// "" when home is no absolute path either. With inside ("Quillet/template"), that path in
// the base folder, or "" when there is none.
std::string xdgBaseFolder(std::string_view value, std::string_view home,
                          std::string_view underHome, std::string_view inside = {});

} // namespace platform::shell
