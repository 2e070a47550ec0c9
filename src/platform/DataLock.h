#pragma once
#include <QLockFile>
#include <QString>

// Serialises the read-modify-write of the data files between copies of the
// game running at once: held around every save of init.txt, dirs.txt and
// best.txt, and around reading best.txt before a score goes in. A lock left
// by a copy that died is broken at once; one held longer than a few seconds
// counts as left behind too.
//
// Not recursive: a second lock of the same folder in the same process waits
// for the first like any other copy, so only the outermost step takes it.
class DataLock {
public:
    static constexpr const char* FileName = "tavimo.lock";
    static constexpr int WaitMs = 5000;
    static constexpr int StaleMs = 10000;

    explicit DataLock(const QString& folder);
    ~DataLock();
    DataLock(const DataLock&) = delete;
    DataLock& operator=(const DataLock&) = delete;

    // Another copy held the lock for the whole wait. A folder where no lock
    // file can be made is not busy: the write that follows finds out why.
    bool Busy() const { return busy_; }
    static QString BusyReason();

private:
    QLockFile lock_;
    bool busy_ = false;
};
