// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

// The program reads and writes regular files only. A FIFO would block for ever,
// a device node would be replaced by a save, and a process's open file reached
// through /proc (`/dev/stdout`) would be rewritten from the start: each is refused
// at once with a text that names the file.
//
// Paths are the bytes the system gave (`std::filesystem::path`), so that a name
// that is not valid UTF-8 reaches the same file.

class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FileTooLarge : public FileError {
public:
    using FileError::FileError;
};

std::filesystem::path FilePath(const QString& path);
// For messages only: a name that is not valid UTF-8 shows with replacement marks.
QString DisplayName(const std::filesystem::path& path);

// The file a read or a save at `path` reaches, symbolic links followed to their
// end, and whether it exists. Throws FileError for anything but a regular file
// or a free name in an existing folder. `verb` words the message ("read", "write").
struct ResolvedFile {
    std::filesystem::path target;
    bool exists = false;
    // Reached through a symbolic link.
    bool throughLink = false;
};
ResolvedFile ResolveRegularFile(const std::filesystem::path& path, const char* verb);

// The whole file, or nothing when it does not exist. Throws FileTooLarge past
// `maximumSize` bytes and FileError when it cannot be read.
std::optional<std::string> ReadRegularFile(const std::filesystem::path& path,
                                           std::uintmax_t maximumSize);

// Replaces the file with `content` through a temporary file in its folder: written
// unbuffered with every byte checked, synced, closed and only then renamed over
// the old one, whose permissions, owner and group it keeps (the owner where the
// system allows it). The temporary file has no name until it is complete where
// the file system allows that, so a save killed halfway leaves nothing behind.
// Any failure (a full disk, a file size limit) removes the temporary file,
// leaves the old file byte-identical and throws FileError naming the file and
// the reason. A link to a file of another user than the one running the
// program is refused: run with more rights (sudo), a save would hand that
// user's file to the program's user.
void WriteRegularFile(const std::filesystem::path& path, const std::string& content);
