#pragma once
// Finishes extracted files off the extraction's path: setting a file's times
// and closing it each cost a wineserver round trip (and a kernel call on
// Windows), which the next entry's inflating need not wait for. Files are
// finished in the order they were handed over, on one helper thread.
#include <windows.h>

#include <vector>

#include "win/unique_handle.h"

namespace qel {

class FileFinisher {
public:
    FileFinisher();
    // Waits for every file handed over.
    ~FileFinisher();
    FileFinisher(const FileFinisher&) = delete;
    FileFinisher& operator=(const FileFinisher&) = delete;

    // False when the helper thread cannot be started: files are then
    // finished at once by Finish.
    bool Started() const { return bool(m_thread); }
    // Sets the times (of a disk file) and closes the file later. Waits while
    // too many files are still open.
    void Finish(UniqueFile file, const FILETIME& created, const FILETIME& accessed, const FILETIME& modified);
    // Returns once every file handed over is finished; false when any of
    // them could not be (its times not set, or its close failed).
    bool Wait();
    // Files handed over are not all finished yet.
    bool Busy();
    // A file handed over could not be finished.
    bool Failed();

private:
    struct Pending {
        HANDLE file;
        FILETIME created, accessed, modified;
    };
    static unsigned __stdcall ThreadProc(void* self);
    void Run();

    // Slim locks and condition variables: under Wine they wait on futexes,
    // where events and semaphores would each take a wineserver round trip.
    SRWLOCK m_lock = SRWLOCK_INIT;
    CONDITION_VARIABLE m_work = CONDITION_VARIABLE_INIT;  // helper: something to do or stop
    CONDITION_VARIABLE m_done = CONDITION_VARIABLE_INIT;  // caller: room in the queue or all finished
    std::vector<Pending> m_queue;
    std::vector<Pending> m_taking;  // the helper's batch, finished outside the lock
    size_t m_busy = 0;              // handed over and not finished yet
    bool m_helperAsleep = false;
    bool m_callerWaiting = false;
    bool m_stop = false;
    bool m_failed = false;
    UniqueHandleK m_thread;
};

// Sets the times of a disk file and closes it; false when either fails.
bool FinishFile(HANDLE file, const FILETIME& created, const FILETIME& accessed, const FILETIME& modified);

}  // namespace qel
