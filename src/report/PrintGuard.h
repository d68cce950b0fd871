#pragma once
// One print job at a time per user: a lock file in the user's runtime
// folder. Other users of the machine have their own folder and so their own
// lock; a lock left by a process that died is taken over.

#include <QLockFile>
#include <QString>

namespace orv {

class PrintGuard {
public:
    enum class Result { Acquired, Busy, Failed };

    // The lock file in the user's runtime folder.
    static QString DefaultLockPath();

    explicit PrintGuard(const QString& lockPath);
    PrintGuard(const PrintGuard&) = delete;
    PrintGuard& operator=(const PrintGuard&) = delete;

    // Busy only when another job holds the lock; a lock file that cannot be
    // created (permissions, missing folder) is Failed.
    Result TryAcquire();
    void Release();
    QString Path() const { return path_; }

private:
    QString path_;
    QLockFile lock_;
};

}  // namespace orv
