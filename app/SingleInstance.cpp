// SPDX-License-Identifier: Apache-2.0
#include "app/SingleInstance.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QSysInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

Q_LOGGING_CATEGORY(lcInstance, "quvo.app", QtWarningMsg)

// Something at the lock path that is no lock file (a folder, a dangling link, a
// loop of links, a FIFO) can never be locked and would block every start as if a
// copy were running: it is cleared away, and the log says how.
void ClearWhatIsNoLockFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0 || S_ISREG(status.st_mode)) {
        return;
    }
    if (S_ISDIR(status.st_mode)) {
        if (::rmdir(name.constData()) == 0) {
            qCWarning(lcInstance) << "removed the empty folder at the lock path" << path;
            return;
        }
        // A folder with content is kept, only moved out of the way.
        const QString aside =
            path + ".not-a-lock-" + QString::number(QDateTime::currentSecsSinceEpoch());
        if (::rename(name.constData(), QFile::encodeName(aside).constData()) == 0) {
            qCWarning(lcInstance) << "moved the folder at the lock path" << path << "to" << aside;
        } else {
            qCWarning(lcInstance) << "cannot clear the folder at the lock path" << path;
        }
        return;
    }
    if (::unlink(name.constData()) == 0) {
        qCWarning(lcInstance) << "removed"
                              << (S_ISLNK(status.st_mode) ? "a link" : "a special file")
                              << "at the lock path" << path;
    } else {
        qCWarning(lcInstance) << "cannot remove what is at the lock path" << path;
    }
}

// The lock belongs to the user's session: the runtime folder, which no other
// user can write to, or else the user's own home folder.
QString LockFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && QDir().mkpath(runtime)) {
        return runtime;
    }
    return QDir::homePath();
}

// A lock file nobody can hold: one whose content names no process of this
// machine (empty, garbage, another host's), left there a while ago. A fresh file
// without content is a copy that is just taking the lock.
bool Unusable(const QLockFile& lock, const QString& path) {
    qint64 pid = 0;
    QString host;
    QString application;
    const bool readable = lock.getLockInfo(&pid, &host, &application);
    if (readable && host == QSysInfo::machineHostName()) {
        return false; // QLockFile itself takes over a lock whose process is gone
    }
    const QDateTime modified = QFileInfo(path).lastModified();
    return !modified.isValid() || modified.secsTo(QDateTime::currentDateTime()) >= 2;
}

} // namespace
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
    const QString path = QDir(LockFolder()).filePath(name + ".lock");
    lock_ = std::make_unique<QLockFile>(path);
    lock_->setStaleLockTime(0); // only a lock whose process is gone counts as stale
    ClearWhatIsNoLockFile(path);
    if (QFileInfo::exists(path) && Unusable(*lock_, path)) {
        lock_->removeStaleLockFile();
    }
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
