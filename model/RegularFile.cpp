// SPDX-License-Identifier: Apache-2.0
#include "model/RegularFile.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How many symbolic links a path may pass through, as the kernel allows.
constexpr int MaximumLinks = 40;

std::string SystemReason(int error) {
    return std::strerror(error);
}

// `reason`: one of the texts marked for translation here, or the system's own.
[[noreturn]] void Fail(const char* verb, const std::filesystem::path& path,
                       const std::string& reason) {
    const QString text =
        std::string_view(verb) == "read"
            ? QCoreApplication::translate("RegularFile", "Cannot read file %1: %2")
            : QCoreApplication::translate("RegularFile", "Cannot write file %1: %2");
    throw FileError(
        text.arg(DisplayName(path), QCoreApplication::translate("RegularFile", reason.c_str()))
            .toStdString());
}

// /proc holds links to other processes' open files (`/dev/stdout` ends there):
// writing through them would replace whatever the shell redirected to.
bool UnderProc(const std::filesystem::path& folder) {
    const std::string text = folder.native();
    return text == "/proc" || text.rfind("/proc/", 0) == 0;
}

// Closes the descriptor when the scope ends, whatever happened.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    void Reset(int fd) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }
    // Closes now and tells whether the close succeeded.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const std::string& content, int& error) {
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return false;
        }
        if (written == 0) {
            error = ENOSPC;
            return false;
        }
        data += written;
        left -= std::size_t(written);
    }
    return true;
}

// Root saving another user's file leaves it theirs; anyone else may only give it
// a group of their own. Where the system allows neither, the new file is the
// program user's, as any file the user makes.
void KeepOwner(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        const int groupKept = ::fchown(fd, uid_t(-1), old.st_gid);
        static_cast<void>(groupKept);
    }
}

// A name beside the target that is free when asked.
std::filesystem::path NameBeside(const std::filesystem::path& target) {
    static std::random_device random;
    static const char* const Letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix = ".";
    for (int i = 0; i < 6; ++i) {
        suffix += Letters[random() % 36];
    }
    std::filesystem::path name = target;
    name += suffix;
    return name;
}

// Gives `name` a calling function that makes a file under a free name beside
// the target; its result as `open`'s, with errno.
template <typename MakeNamed>
int TryFreeNames(const std::filesystem::path& target, std::filesystem::path& name, MakeNamed make) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = NameBeside(target);
        const int result = make(name);
        if (result >= 0 || errno != EEXIST) {
            return result;
        }
    }
    errno = EEXIST;
    return -1;
}

// A file without a name in the target's folder, created with the umask's
// permissions; -1 where the file system or the system has no such files (the
// name is given through /proc).
int CreateUnnamedBeside(const std::filesystem::path& target) {
    if (::access("/proc/self/fd", X_OK) != 0) {
        return -1;
    }
    return ::open(target.parent_path().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

// The complete unnamed file gets a free name beside the target.
bool NameUnnamed(int fd, const std::filesystem::path& target, std::filesystem::path& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return TryFreeNames(target, name, [&](const std::filesystem::path& free) {
               return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, free.c_str(), AT_SYMLINK_FOLLOW);
           }) == 0;
}

// A free name beside the target, created with the umask's permissions.
int CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& name) {
    return TryFreeNames(target, name, [](const std::filesystem::path& free) {
        return ::open(free.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    });
}

} // namespace

std::filesystem::path FilePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString DisplayName(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

ResolvedFile ResolveRegularFile(const std::filesystem::path& path, const char* verb) {
    std::error_code ignored;
    std::filesystem::path current = std::filesystem::absolute(path, ignored);
    if (current.empty()) {
        Fail(verb, path, QT_TRANSLATE_NOOP("RegularFile", "the current folder cannot be found"));
    }
    for (int hop = 0; hop <= MaximumLinks; ++hop) {
        char* real = ::realpath(current.parent_path().c_str(), nullptr);
        if (real == nullptr) {
            Fail(verb, path,
                 errno == ENOENT
                     ? std::string(QT_TRANSLATE_NOOP("RegularFile", "the folder does not exist"))
                     : SystemReason(errno));
        }
        const std::filesystem::path folder(real);
        std::free(real);
        if (UnderProc(folder)) {
            Fail(verb, path, QT_TRANSLATE_NOOP("RegularFile", "it is not a regular file"));
        }
        current = folder / current.filename();
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0) {
            if (errno == ENOENT) {
                return {current, false, hop > 0};
            }
            Fail(verb, path, SystemReason(errno));
        }
        if (S_ISREG(status.st_mode)) {
            return {current, true, hop > 0};
        }
        if (!S_ISLNK(status.st_mode)) {
            Fail(verb, path, QT_TRANSLATE_NOOP("RegularFile", "it is not a regular file"));
        }
        std::string target(std::size_t(PATH_MAX), '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length < 0) {
            Fail(verb, path, SystemReason(errno));
        }
        target.resize(std::size_t(length));
        const std::filesystem::path next(target);
        current = next.is_absolute() ? next : folder / next;
    }
    Fail(verb, path, SystemReason(ELOOP));
}

std::optional<std::string> ReadRegularFile(const std::filesystem::path& path,
                                           std::uintmax_t maximumSize) {
    const ResolvedFile file = ResolveRegularFile(path, "read");
    if (!file.exists) {
        return std::nullopt;
    }
    // Not blocking: should the name have become a FIFO meanwhile, the check below
    // refuses it instead of waiting for a writer.
    Descriptor fd(::open(file.target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) {
        Fail("read", path, SystemReason(errno));
    }
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0) {
        Fail("read", path, SystemReason(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        Fail("read", path, QT_TRANSLATE_NOOP("RegularFile", "it is not a regular file"));
    }
    if (std::uintmax_t(status.st_size) > maximumSize) {
        throw FileTooLarge(DisplayName(path).toStdString());
    }
    // Read straight into the text, sized for the file and a byte more to see it
    // end; no more than the limit, even if the file grows meanwhile.
    std::string content(
        std::size_t(std::min<std::uintmax_t>(std::uintmax_t(status.st_size), maximumSize)) + 1,
        '\0');
    std::size_t filled = 0;
    while (filled <= maximumSize) {
        if (filled == content.size()) {
            content.resize(
                std::size_t(std::min<std::uintmax_t>(content.size() * 2, maximumSize + 1)));
        }
        const ssize_t got = ::read(fd.Get(), content.data() + filled, content.size() - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail("read", path, SystemReason(errno));
        }
        if (got == 0) {
            break;
        }
        filled += std::size_t(got);
    }
    content.resize(filled);
    if (content.size() > maximumSize) {
        throw FileTooLarge(DisplayName(path).toStdString());
    }
    return content;
}

void WriteRegularFile(const std::filesystem::path& path, const std::string& content) {
    const ResolvedFile file = ResolveRegularFile(path, "write");
    struct stat old {};
    const bool keepMode = file.exists && ::stat(file.target.c_str(), &old) == 0;
    if (keepMode && file.throughLink && old.st_uid != ::geteuid()) {
        Fail("write", path,
             QT_TRANSLATE_NOOP("RegularFile", "it is a link to a file of another user"));
    }

    std::filesystem::path temporary;
    Descriptor fd(CreateUnnamedBeside(file.target));
    const bool unnamed = fd.Get() >= 0;
    if (!unnamed) {
        fd.Reset(CreateTemporaryBeside(file.target, temporary));
    }
    if (fd.Get() < 0) {
        Fail("write", path, SystemReason(errno));
    }
    int error = 0;
    bool written = WriteAll(fd.Get(), content, error);
    if (written && keepMode && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        KeepOwner(fd.Get(), old);
    }
    if (written && keepMode && ::fchmod(fd.Get(), old.st_mode & 07777) != 0) {
        error = errno;
        written = false;
    }
    // Some file systems cannot sync; that alone is no failure of the data.
    if (written && ::fsync(fd.Get()) != 0 && errno != EINVAL && errno != ENOTSUP) {
        error = errno;
        written = false;
    }
    if (written && unnamed && !NameUnnamed(fd.Get(), file.target, temporary)) {
        error = errno;
        written = false;
    }
    if (!fd.Close() && written) {
        error = errno;
        written = false;
    }
    if (written && ::rename(temporary.c_str(), file.target.c_str()) != 0) {
        error = errno;
        written = false;
    }
    if (!written) {
        if (!temporary.empty()) {
            ::unlink(temporary.c_str());
        }
        Fail("write", path, SystemReason(error));
    }
    // The rename itself lasts once the folder is synced; best effort.
    Descriptor folder(
        ::open(file.target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) {
        ::fsync(folder.Get());
    }
}
