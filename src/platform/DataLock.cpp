#include "platform/DataLock.h"

#include <QCoreApplication>

#include "platform/FileSystem.h"

DataLock::DataLock(const QString& folder) : lock_(FileSystem::Join(folder, FileName)) {
    lock_.setStaleLockTime(StaleMs);
    if (!lock_.tryLock(WaitMs)) busy_ = lock_.error() == QLockFile::LockFailedError;
}

DataLock::~DataLock() {
    if (lock_.isLocked()) lock_.unlock();
}

QString DataLock::BusyReason() {
    return QCoreApplication::translate("DataLock", "another copy of Tavimo is saving its files");
}
