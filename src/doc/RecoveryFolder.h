#pragma once
// The folder of recovery records and the records in it that no running program holds.
// Qt-free.
//
// Every running program holds an exclusive flock on its own record from the moment the file
// exists (see RecoveryFile.h); a record nobody holds is an orphan, left by a program that
// died. Taking its lock is what makes it this program's to offer, so a second program never
// takes a held record for an orphan, and never offers one that this program is offering.
// Nothing here trusts a process id: a pid that the system gave to another process since
// would tell nothing.

#include "doc/RecoveryRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace doc {

// What the folder depends on; fromProcess() gathers it, tests build their own.
struct RecoveryFolderInputs {
    std::string home;          // $HOME, else the password database's; "" when unknown
    std::string xdgStateHome;  // $XDG_STATE_HOME; "" when unset

    static RecoveryFolderInputs fromProcess();
};

// $XDG_STATE_HOME/Quillet/recovery when XDG_STATE_HOME is an absolute path, else
// ~/.local/state/Quillet/recovery; "" when no home folder is known (or it is relative).
std::string recoveryFolder(const RecoveryFolderInputs& inputs);

// Creates folder and its missing parents (mode 0700, as the base-directory rules want for
// the state folder) and makes sure it is the user's private folder: a folder itself, not a
// symbolic link to one (ELOOP), owned by the user (EPERM otherwise), its mode tightened to
// 0700 when it was wider. Returns 0 or the error number.
int prepareRecoveryFolder(const std::string& folder);

// A record's file name ends so; a record that cannot be read is renamed with kSetAsideMark
// and a number after its name, and is never looked at again.
inline constexpr std::string_view kRecordSuffix = ".qrec";
inline constexpr std::string_view kSetAsideMark = ".unreadable";

// A record that no running program holds, held by this one (its lock) until it is
// destroyed, removed, or handed to a RecoveryFile that adopts it.
class OrphanRecord {
public:
    OrphanRecord(std::string folder, std::string name, int lockedFd, RecoveryRecord head);
    ~OrphanRecord();
    OrphanRecord(OrphanRecord&& other) noexcept;
    OrphanRecord& operator=(OrphanRecord&& other) noexcept;
    OrphanRecord(const OrphanRecord&) = delete;
    OrphanRecord& operator=(const OrphanRecord&) = delete;

    // Everything but the text, as the scan read it.
    const RecoveryRecord& head() const { return m_head; }
    const std::string& name() const { return m_name; }
    std::string filePath() const { return m_folder + '/' + m_name; }

    // The whole record into record. A record that cannot be read whole (damaged since the
    // scan, or a read error) is moved aside and its lock let go; setAsideTo then names where
    // it went ("" when even that failed and it stayed).
    RecordFault load(RecoveryRecord& record, std::string& setAsideTo);
    // Deletes the record (under its lock, so no scan in between takes it).
    void remove();
    // Hands the open, locked descriptor over; this object holds nothing after.
    int releaseLock();

private:
    std::string m_folder;
    std::string m_name;
    int m_fd = -1;
    RecoveryRecord m_head;
};

// A record that could not be read, moved aside.
struct SetAsideRecord {
    std::string from;  // the record's path
    std::string to;    // where it went; "" when it could not be moved and stays as it was
};

struct RecoveryScan {
    std::vector<OrphanRecord> orphans;     // newest first
    std::vector<SetAsideRecord> setAside;  // to be reported, once
};

// Looks through folder: takes every record that no running program holds, reading its head
// only (so a hundred records cost little), and moves aside every record that cannot be read:
// a damaged or cut-off file, a symbolic link (never followed), anything that is not a regular
// file of the user's. Temporaries left by a write that was killed are removed once nobody
// holds them and they are a minute old. ownName, the caller's own record, is never taken
// (where a file system's locks do not tell one process's descriptors apart, as NFS's).
// A folder that is missing, or is a symbolic link, gives nothing.
RecoveryScan scanRecoveryFolder(const std::string& folder, std::string_view ownName = {});

} // namespace doc
