#include "report/PrintGuard.h"

#include <QStandardPaths>

namespace orv {

QString PrintGuard::DefaultLockPath() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/orv-print.lock");
}

PrintGuard::PrintGuard(const QString& lockPath) : path_(lockPath), lock_(lockPath) {
    // A print job lasts as long as the preview is open; only a lock whose
    // process is gone counts as stale, never one that is merely old.
    lock_.setStaleLockTime(0);
}

PrintGuard::Result PrintGuard::TryAcquire() {
    if (lock_.tryLock(0)) return Result::Acquired;
    return lock_.error() == QLockFile::LockFailedError ? Result::Busy : Result::Failed;
}

void PrintGuard::Release() {
    if (lock_.isLocked()) lock_.unlock();
}

}  // namespace orv
