#include "SingleInstance.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <QDir>
#include <QLockFile>
#endif

SingleInstance::SingleInstance(const QString& name) {
#if defined(_WIN32)
    mutex_ = CreateMutexW(nullptr, TRUE, reinterpret_cast<const wchar_t*>(name.utf16()));
    if (mutex_ == nullptr) {
        outcome_ = Outcome::Failed;
    } else if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex_);
        mutex_ = nullptr;
        outcome_ = Outcome::AlreadyRunning;
    } else {
        outcome_ = Outcome::First;
    }
#else
    lock_ = std::make_unique<QLockFile>(QDir::temp().filePath(name + ".lock"));
    lock_->setStaleLockTime(0); // only a lock whose process is gone counts as stale
    if (lock_->tryLock(0)) {
        outcome_ = Outcome::First;
    } else {
        outcome_ = lock_->error() == QLockFile::LockFailedError ? Outcome::AlreadyRunning
                                                                : Outcome::Failed;
    }
#endif
}

SingleInstance::~SingleInstance() {
#if defined(_WIN32)
    if (mutex_ != nullptr) {
        CloseHandle(mutex_);
    }
#endif
}
