#include "doc/RecoveryWriter.h"

#include "doc/RecoveryFolder.h"

#include <utility>

namespace doc {

RecoveryWriter::RecoveryWriter(std::string folder, FailureFunction onFailure)
    : m_file(std::move(folder)), m_onFailure(std::move(onFailure))
{
    m_name = m_file.name();
    m_thread = std::thread([this] { run(); });
}

RecoveryWriter::~RecoveryWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void RecoveryWriter::write(RecoveryRecord record)
{
    {
        const std::lock_guard lock(m_mutex);
        m_pendingWrite = std::move(record);
        m_pendingRemove = false;
    }
    m_wake.notify_one();
}

void RecoveryWriter::remove()
{
    {
        const std::lock_guard lock(m_mutex);
        m_pendingWrite.reset();
        m_pendingRemove = true;
    }
    m_wake.notify_one();
}

void RecoveryWriter::wait()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_busy && !m_pendingWrite && !m_pendingRemove; });
}

void RecoveryWriter::adopt(OrphanRecord& orphan)
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_busy && !m_pendingWrite && !m_pendingRemove; });
    // The thread takes nothing up without the mutex, so the file is this thread's now.
    m_file.adopt(orphan);
    m_name = m_file.name();
}

std::string RecoveryWriter::name() const
{
    const std::lock_guard lock(m_mutex);
    return m_name;
}

void RecoveryWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_pendingWrite || m_pendingRemove; });
        if (!m_pendingWrite && !m_pendingRemove)
            return;  // stopping, with nothing left to do
        std::optional<RecoveryRecord> record = std::exchange(m_pendingWrite, std::nullopt);
        m_pendingRemove = false;
        m_busy = true;
        lock.unlock();

        int error = 0;
        if (record)
            error = m_file.write(*record);
        else
            m_file.remove();
        if (error != 0 && m_onFailure)
            m_onFailure(error);

        lock.lock();
        m_name = m_file.name();
        m_busy = false;
        m_idle.notify_all();
    }
}

} // namespace doc
