#pragma once
// This program's own recovery record: one file in the recovery folder under a name of its
// own, replaced whole by each write and held under an exclusive flock for as long as it
// exists, so that no other program takes it for an orphan. Qt-free; not thread-safe (the
// RecoveryWriter owns one on its thread).

#include "doc/RecoveryRecord.h"

#include <string>

namespace doc {

class OrphanRecord;

class RecoveryFile {
public:
    // A record in folder under a fresh random name; nothing is written yet.
    explicit RecoveryFile(std::string folder);
    // Lets go of the lock and leaves the file, as a program that dies does: what the
    // destructor leaves is an orphan. remove() first at a normal end.
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile&) = delete;
    RecoveryFile& operator=(const RecoveryFile&) = delete;

    // Replaces the record with record through the atomic writer (file and folder flushed),
    // so that a kill or a power cut at any moment leaves the old record or the new one whole.
    // The new file is made 0600 and locked before it takes the record's name, so the name
    // never names a file nobody holds. Creates the folder when missing
    // (prepareRecoveryFolder). Returns 0, or the error number with the old record (if any)
    // as it was.
    int write(const RecoveryRecord& record);
    // Deletes the record, then lets go of its lock; nothing when there is none.
    void remove();
    // Takes over orphan's file and lock as this program's record, removing the record it
    // had. orphan must lie in this file's folder; it holds nothing after.
    void adopt(OrphanRecord& orphan);

    const std::string& folder() const { return m_folder; }
    const std::string& name() const { return m_name; }
    std::string filePath() const { return m_folder + '/' + m_name; }
    // Whether a record of this program's is on disk.
    bool exists() const { return m_lock >= 0; }

private:
    int writeBytes(const std::string& bytes);

    std::string m_folder;
    std::string m_name;
    int m_lock = -1;       // open on the record's file and holding its flock
    bool m_ready = false;  // the folder was prepared
};

} // namespace doc
