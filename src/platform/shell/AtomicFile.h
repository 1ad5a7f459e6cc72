#pragma once
// Replacing a file whole, so that it is never left half written: the one writer of the
// program's files (Files.h reads them).

#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform::shell {

// Replaces the file at path with bytes so that a reader sees either the old or the new file,
// never a mixture: the bytes go to a temporary file in the same folder, are flushed to disk,
// and the temporary file is renamed over the target. A symbolic link is written through to the
// file it names (the link stays). An existing file keeps its permission bits and, where the
// process may set it, its owner; a new file gets 0666 less the umask.
// Returns 0, or the system error number (errno) of the step that failed; the old file is
// then untouched and no temporary is left (see below for hard links, shared folders and
// the folder's flush). A target that is not a regular file (a folder, a FIFO) is never replaced: EISDIR
// or EINVAL; nor is a file the user may not write (EACCES, or EROFS), and one without any
// write permission bit counts as such even for the superuser.
int writeFileAtomically(const std::string& path, std::string_view bytes);

// The same, with prepareNewFile called on the new file's descriptor once it is created (and
// has taken over an existing target's owner and mode), before anything is written to it: a
// caller sets its mode there, or takes a lock on it that holds from before the rename (a
// flock on a duplicate of the descriptor stays with the file once it has replaced the
// target). A non-zero return is an errno that fails the write. Not called for a file
// written in place (see below): that file is not new.
using NewFileFunction = std::function<int(int fd)>;
int writeFileAtomically(const std::string& path, std::string_view bytes,
                        const NewFileFunction& prepareNewFile);

// Whether path names an existing file that writeFileAtomically refuses for its permissions.
bool isReadOnlyFile(const std::string& path);

// A file with more than one name (hard links) cannot be replaced by a rename without
// splitting it into two files, so it is written in place instead, after a copy of its old
// contents has been saved beside it ("<name>.backup-xxxxxxxx", flushed to disk). When
// the in-place write fails the old contents are written back and the copy removed; only
// when even that fails is the copy left, holding the old contents, and the error returned.
// A file the user may write in a folder that takes no new file (a shared folder) is written
// in place too, with its old contents kept in memory only: when the in-place write fails
// they are written back, and only when even that fails are they left in a private copy
// ("<name>.backup-xxxxxxxx", mode 0600) in the user's temporary folder ($TMPDIR, or /tmp).
// Owner, mode and inode stay the file's own; a crash in the middle of such a write may leave
// the file partly written, which the folder's permissions leave no way to avoid.
// The one error that comes after the new contents are in place is a failed flush of the
// folder (SyncFolder): the file is new, but may not survive a crash, so it is reported.

// The steps of a save, in order, as a fault-injection test sees them.
enum class SaveStep {
    CreateTemporary,  // the temporary file beside the target (or a backup copy)
    SetOwner,         // failures are ignored: only a privileged process may give a file away
    SetMode,
    Write,            // each write call
    Sync,             // fsync of the file
    Close,
    Rename,
    SyncFolder,
    OpenInPlace,      // a target written in place opened for writing
    Truncate,         // a target written in place cut to its new length
};

// Tests make steps fail: the function sees each step before it runs and returns 0 to let
// it run, or an errno that the step then fails with. nullptr removes it.
using FaultFunction = std::function<int(SaveStep step)>;
void setFaultFunctionForTesting(FaultFunction fault);

// Tests replace the low-level write to simulate a full disk or an I/O error; nullptr
// restores ::write.
using WriteFunction = std::function<ssize_t(int fd, const void* data, size_t size)>;
void setWriteFunctionForTesting(WriteFunction write);

} // namespace platform::shell
