#pragma once
// Writes this program's recovery record on a thread of its own, so that neither the write
// of a large text nor the wait for the disk's flush ever holds up the user interface.
// Qt-free.
//
// Requests are states, not steps: each write() or remove() replaces whatever is still
// waiting, so a slow disk writes the newest text next and never a queue of old ones, and a
// removal is never undone by a write queued before it.

#include "doc/RecoveryFile.h"
#include "doc/RecoveryRecord.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace doc {

class OrphanRecord;

class RecoveryWriter {
public:
    // Told, on the writer's thread, of each write that failed (an errno); the record on disk
    // is then the previous one, or none.
    using FailureFunction = std::function<void(int error)>;

    explicit RecoveryWriter(std::string folder, FailureFunction onFailure = {});
    // Carries out what is waiting, then stops. The record stays unless removed: ending
    // without remove() is what a program that dies does.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // The record is to hold record; returns at once.
    void write(RecoveryRecord record);
    // The record is to go; returns at once.
    void remove();
    // Waits until everything asked for is done.
    void wait();
    // Waits until everything asked for is done, then takes over orphan's file and lock as the
    // record (removing the one it had).
    void adopt(OrphanRecord& orphan);
    // The record's file name in the folder (adopt changes it, and so does a write that
    // finds its name taken by a file not its own).
    std::string name() const;

private:
    void run();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;   // something to do, or stop
    std::condition_variable m_idle;   // nothing waiting and nothing in hand
    std::optional<RecoveryRecord> m_pendingWrite;
    bool m_pendingRemove = false;
    bool m_busy = false;
    bool m_stop = false;
    std::string m_name;               // m_file's name, for other threads
    RecoveryFile m_file;              // used by the writer's thread only, but in adopt
    FailureFunction m_onFailure;
    std::thread m_thread;             // last: starts once everything else is made
};

} // namespace doc
