#pragma once
// Whole-file reading and replacing for small files that must never be left half written.

#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform::shell {

struct FileContents {
    enum class Status {
        Read,     // bytes holds the whole file
        Missing,  // no such file (or its folder is missing): nothing to keep
        Failed,   // the file exists but cannot be read, or is not a regular file
    };
    Status status = Status::Missing;
    std::string bytes;
};

// Reads the file at path (following symbolic links). Never blocks on a FIFO or device: any
// file that is not a regular file is Failed.
FileContents readWholeFile(const std::string& path);

// Replaces the file at path with bytes so that a reader sees either the old or the new file,
// never a mixture: the bytes go to a temporary file in the same folder, are flushed to disk,
// and the temporary file is renamed over the target. A symbolic link is written through to the
// file it names (the link stays). An existing file keeps its permission bits and, where the
// process may set it, its owner; a new file gets 0666 less the umask.
// Returns 0, or the system error number (errno) of the step that failed; the old file is
// then untouched and no temporary is left. A target that is not a regular file (a folder,
// a FIFO) is never replaced: EISDIR or EINVAL.
int writeFileAtomically(const std::string& path, std::string_view bytes);

// Tests replace the low-level write to simulate a full disk or an I/O error; nullptr
// restores ::write.
using WriteFunction = std::function<ssize_t(int fd, const void* data, size_t size)>;
void setWriteFunctionForTesting(WriteFunction write);

} // namespace platform::shell
