#include "launcher/zip/file_finisher.h"

#include <process.h>

namespace qel {
namespace {

// Bounds the handles held open at once; a few dozen are plenty to hide the
// latency of the calls.
constexpr size_t kMaxPending = 64;

class Locked {
public:
    explicit Locked(SRWLOCK& lock) : m_lock(lock) { ::AcquireSRWLockExclusive(&m_lock); }
    ~Locked() { ::ReleaseSRWLockExclusive(&m_lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    SRWLOCK& m_lock;
};

}  // namespace

bool FinishFile(HANDLE file, const FILETIME& created, const FILETIME& accessed, const FILETIME& modified) {
    bool ok = true;
    if (::GetFileType(file) == FILE_TYPE_DISK) ok = ::SetFileTime(file, &created, &accessed, &modified) != FALSE;
    return ::CloseHandle(file) != FALSE && ok;
}

FileFinisher::FileFinisher() {
    m_queue.reserve(kMaxPending);
    m_taking.reserve(kMaxPending);
    // The helper only makes a few calls: a small stack keeps the working set down.
    m_thread.reset(reinterpret_cast<HANDLE>(
        ::_beginthreadex(nullptr, 64 * 1024, &ThreadProc, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr)));
}

FileFinisher::~FileFinisher() {
    if (!m_thread) return;
    {
        Locked hold(m_lock);
        m_stop = true;
    }
    ::WakeConditionVariable(&m_work);
    ::WaitForSingleObject(m_thread.get(), INFINITE);
}

void FileFinisher::Finish(UniqueFile file, const FILETIME& created, const FILETIME& accessed,
                          const FILETIME& modified) {
    if (!m_thread) {
        if (!FinishFile(file.release(), created, accessed, modified)) m_failed = true;
        return;
    }
    bool wake = false;
    {
        Locked hold(m_lock);
        while (m_busy >= kMaxPending) {
            m_callerWaiting = true;
            ::SleepConditionVariableSRW(&m_done, &m_lock, INFINITE, 0);
        }
        m_queue.push_back(Pending{file.release(), created, accessed, modified});  // reserved: cannot throw
        ++m_busy;
        wake = m_helperAsleep;
        m_helperAsleep = false;
    }
    if (wake) ::WakeConditionVariable(&m_work);
}

bool FileFinisher::Wait() {
    Locked hold(m_lock);
    while (m_busy > 0) {
        m_callerWaiting = true;
        ::SleepConditionVariableSRW(&m_done, &m_lock, INFINITE, 0);
    }
    return !m_failed;
}

bool FileFinisher::Busy() {
    Locked hold(m_lock);
    return m_busy > 0;
}

bool FileFinisher::Failed() {
    Locked hold(m_lock);
    return m_failed;
}

unsigned __stdcall FileFinisher::ThreadProc(void* self) {
    static_cast<FileFinisher*>(self)->Run();  // allocates nothing: no exception to catch
    return 0;
}

// Takes the queue a batch at a time, so that the caller is woken only when it
// waits; finishes every file even when stopping, so that none is left open.
void FileFinisher::Run() {
    ::AcquireSRWLockExclusive(&m_lock);
    for (;;) {
        while (m_queue.empty() && !m_stop) {
            m_helperAsleep = true;
            ::SleepConditionVariableSRW(&m_work, &m_lock, INFINITE, 0);
        }
        if (m_queue.empty()) break;
        m_taking.swap(m_queue);
        ::ReleaseSRWLockExclusive(&m_lock);
        bool ok = true;
        for (const Pending& p : m_taking) ok = FinishFile(p.file, p.created, p.accessed, p.modified) && ok;
        const size_t finished = m_taking.size();
        m_taking.clear();
        ::AcquireSRWLockExclusive(&m_lock);
        m_busy -= finished;
        if (!ok) m_failed = true;
        if (m_callerWaiting) {
            m_callerWaiting = false;
            ::WakeConditionVariable(&m_done);
        }
    }
    ::ReleaseSRWLockExclusive(&m_lock);
}

}  // namespace qel
