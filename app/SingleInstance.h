// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Keeps a second copy of the program from running: the named mutex on Windows,
// a lock file of that name in the user's runtime folder elsewhere (a crashed
// copy's lock, and a broken or foreign lock file, are taken over).
class SingleInstance {
public:
    enum class Outcome { First, AlreadyRunning, Failed };

    explicit SingleInstance(const QString& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Outcome Result() const { return outcome_; }

private:
    Outcome outcome_ = Outcome::Failed;
#if defined(_WIN32)
    void* mutex_ = nullptr;
#else
    std::unique_ptr<QLockFile> lock_;
#endif
};
