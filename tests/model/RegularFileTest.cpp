// SPDX-License-Identifier: Apache-2.0
#include "model/RegularFile.h"
#include "model/IniFile.h"
#include "model/SettingsFiles.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TemporaryFolderTest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <filesystem>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class RegularFiles : public TemporaryFolderTest {
protected:
    QStringList Entries() const {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
    }
    static ConfigBlock Factory() {
        ConfigBlock block;
        LoadFactoryValues(block);
        return block;
    }
    // Expects `operation` to throw a text that names `name`.
    template <typename Operation>
    void ExpectRefusedNaming(const QString& name, Operation operation) {
        try {
            operation();
            ADD_FAILURE() << "not refused: " << name.toStdString();
        } catch (const std::runtime_error& error) {
            EXPECT_TRUE(QString::fromStdString(error.what()).contains(name)) << error.what();
        }
    }
};

TEST_F(RegularFiles, AFullDiskLeavesEveryOldFileByteIdenticalAndSaysWhichFile) {
    // An existing .gpi whose new content is larger than the limit allows.
    Write("rack.gpi", "[COMMON]\r\nSAVE=1\r\n");
    const QByteArray gpiBefore = Read("rack.gpi");
    // A program settings file with its window place and default values.
    Write("QUVO8261.dat", "[WINDOW]\nLEFT=10\nTOP=20\n\n[DEFAULT]\nDATA=" +
                              QByteArray::fromStdString(EncodeDefaultData(Factory())) + "\n");
    const QByteArray datBefore = Read("QUVO8261.dat");
    ConfigBlock changed = Factory();
    changed[RecordOffset(3) + RecordDURATION] = 12;
    const QStringList entriesBefore = Entries();
    {
        const FileSizeLimit limit(4096);
        ExpectRefusedNaming(PathOf("rack.gpi"),
                            [&] { WriteSettingsFile(FilePath(PathOf("rack.gpi")), changed); });
        ExpectRefusedNaming(PathOf("new.gpi"),
                            [&] { WriteSettingsFile(FilePath(PathOf("new.gpi")), changed); });
    }
    {
        const FileSizeLimit limit(100);
        ExpectRefusedNaming(PathOf("QUVO8261.dat"),
                            [&] { SaveDefaultValues(changed, PathOf("QUVO8261.dat")); });
    }
    EXPECT_EQ(Read("rack.gpi"), gpiBefore);
    EXPECT_EQ(Read("QUVO8261.dat"), datBefore);
    EXPECT_EQ(Entries(), entriesBefore) << "no temporary or partial file is left";

    // Without the limit the same saves work.
    WriteSettingsFile(FilePath(PathOf("rack.gpi")), changed);
    EXPECT_EQ(ReadSettingsFile(FilePath(PathOf("rack.gpi"))), changed);
    SaveDefaultValues(changed, PathOf("QUVO8261.dat"));
    ConfigBlock loaded{};
    LoadDefaultValues(loaded, PathOf("QUVO8261.dat"));
    EXPECT_EQ(loaded, changed);
    EXPECT_TRUE(Read("QUVO8261.dat").startsWith("[WINDOW]\nLEFT=10\nTOP=20\n"));
}

TEST_F(RegularFiles, AFileIsReadWholeUpToItsLimitAndRefusedOneByteBeyond) {
    constexpr std::uintmax_t Limit = 10000;
    for (const int size : {0, 1, 4095, 4096, 4097, int(Limit) - 1, int(Limit), int(Limit) + 1}) {
        SCOPED_TRACE(size);
        QByteArray text(size, '\0');
        for (int i = 0; i < size; ++i) {
            text[i] = char('a' + i % 26);
        }
        Write("sized.gpi", text);
        const std::filesystem::path path = FilePath(PathOf("sized.gpi"));
        if (std::uintmax_t(size) > Limit) {
            EXPECT_THROW(ReadRegularFile(path, Limit), FileTooLarge);
        } else {
            EXPECT_EQ(ReadRegularFile(path, Limit), text.toStdString());
        }
    }
    EXPECT_EQ(ReadRegularFile(FilePath(PathOf("absent.gpi")), Limit), std::nullopt);
}

TEST_F(RegularFiles, OnlyRegularFilesAreReadOrWrittenAndNothingElseIsTouched) {
    ASSERT_EQ(mkfifo(QFile::encodeName(PathOf("fifo.gpi")).constData(), 0600), 0);
    QDir(dir.path()).mkdir("folder.gpi");
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = QFile::encodeName(PathOf("socket.gpi"));
    if (std::size_t(socketPath.size()) < sizeof address.sun_path) {
        std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
        ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    }
    QFile::link(PathOf("loop-a.gpi"), PathOf("loop-b.gpi"));
    QFile::link(PathOf("loop-b.gpi"), PathOf("loop-a.gpi"));
    QFile::link(PathOf("fifo.gpi"), PathOf("to-fifo.gpi"));
    const QStringList entriesBefore = Entries();

    for (const QString name : {"fifo.gpi", "folder.gpi", "socket.gpi", "loop-a.gpi", "to-fifo.gpi",
                               "no/such/folder/x.gpi"}) {
        SCOPED_TRACE(name.toStdString());
        ExpectRefusedNaming(PathOf(name), [&] { ReadSettingsFile(FilePath(PathOf(name))); });
        ExpectRefusedNaming(PathOf(name),
                            [&] { WriteSettingsFile(FilePath(PathOf(name)), Factory()); });
    }
    EXPECT_EQ(Entries(), entriesBefore);
    QFileInfo fifo(PathOf("fifo.gpi"));
    EXPECT_FALSE(fifo.isFile()) << "the FIFO is still a FIFO";
    close(sock);

    // Device nodes and other processes' open files, here this process's own
    // standard output and a file it holds open: never read or replaced.
    for (const char* device : {"/dev/null", "/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
        SCOPED_TRACE(device);
        EXPECT_THROW(ResolveRegularFile(device, "write"), FileError);
        EXPECT_THROW(ReadRegularFile(device, 1024), FileError);
    }
    Write("held.gpi", "[COMMON]\r\nLOCK=1\r\n");
    const int held = open(QFile::encodeName(PathOf("held.gpi")).constData(), O_RDONLY);
    const QString throughProc = QString("/proc/self/fd/%1").arg(held);
    ExpectRefusedNaming(throughProc, [&] { WriteSettingsFile(FilePath(throughProc), Factory()); });
    close(held);
    EXPECT_EQ(Read("held.gpi"), "[COMMON]\r\nLOCK=1\r\n");
}

TEST_F(RegularFiles, ASaveThroughALinkReplacesTheFileItNamesAndKeepsItsPermissions) {
    Write("real.gpi", "[EXTRA]\r\nKEPT=1\r\n");
    ASSERT_TRUE(QFile::setPermissions(PathOf("real.gpi"), QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(QFile::link(PathOf("real.gpi"), PathOf("link.gpi")));
    ASSERT_TRUE(QFile::link(PathOf("later.gpi"), PathOf("dangling.gpi")));
    WriteSettingsFile(FilePath(PathOf("link.gpi")), Factory());
    WriteSettingsFile(FilePath(PathOf("dangling.gpi")), Factory());

    EXPECT_EQ(QFileInfo(PathOf("link.gpi")).symLinkTarget(), PathOf("real.gpi"));
    EXPECT_TRUE(Read("real.gpi").startsWith("[EXTRA]\r\nKEPT=1\r\n"));
    EXPECT_EQ(ReadSettingsFile(FilePath(PathOf("real.gpi"))), Factory());
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(PathOf("real.gpi")).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(ReadSettingsFile(FilePath(PathOf("later.gpi"))), Factory())
        << "made where the link points";
}

TEST_F(RegularFiles, NamesThatAreNotValidUtf8ReachTheFileTheSystemNamed) {
    const std::filesystem::path odd = FilePath(dir.path()) / std::string("bad\xff"
                                                                         "name.gpi");
    WriteSettingsFile(odd, Factory());
    EXPECT_TRUE(std::filesystem::is_regular_file(odd));
    EXPECT_EQ(ReadSettingsFile(odd), Factory());
    const auto names = std::filesystem::directory_iterator(FilePath(dir.path()));
    EXPECT_EQ(std::distance(begin(names), end(names)), 1) << "no other file was made";
}

// Run with more rights than the user (sudo), a save through a link must not
// hand another user's file to the program's user; a file saved directly stays
// its owner's.
TEST_F(RegularFiles, ALinkToAnotherUsersFileIsRefusedAndASaveKeepsTheOwner) {
    const uid_t anotherUser = 12345;
    const std::string otherFile = ::geteuid() == 0
                                      ? QFile::encodeName(PathOf("theirs.gpi")).toStdString()
                                      : std::string("/etc/hostname");
    if (::geteuid() == 0) {
        Write("theirs.gpi", "[PRIVATE]\r\nSECRET=1\r\n");
        ASSERT_EQ(::chown(otherFile.c_str(), anotherUser, anotherUser), 0);
    }
    struct stat before {};
    ASSERT_EQ(::stat(otherFile.c_str(), &before), 0);
    ASSERT_NE(before.st_uid, ::geteuid()) << "no file of another user to link to";
    ASSERT_TRUE(QFile::link(QString::fromStdString(otherFile), PathOf("link.gpi")));
    ExpectRefusedNaming(PathOf("link.gpi"),
                        [&] { WriteSettingsFile(FilePath(PathOf("link.gpi")), Factory()); });
    try {
        WriteSettingsFile(FilePath(PathOf("link.gpi")), Factory());
    } catch (const FileError& error) {
        EXPECT_TRUE(QString(error.what()).contains("another user")) << error.what();
    }
    struct stat after {};
    ASSERT_EQ(::stat(otherFile.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the other user's file was replaced";
    EXPECT_EQ(after.st_uid, before.st_uid);

    if (::geteuid() != 0) {
        GTEST_SKIP() << "keeping another owner needs root: only root may give a file away";
    }
    WriteSettingsFile(FilePath(PathOf("theirs.gpi")), Factory());
    ASSERT_EQ(::stat(otherFile.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "saved directly, it is replaced";
    EXPECT_EQ(after.st_uid, anotherUser);
    EXPECT_EQ(after.st_gid, anotherUser);
}

// A save killed halfway (SIGKILL, which nothing can catch) leaves the old file
// and nothing else: the new content has no name until it is complete.
TEST_F(RegularFiles, ASaveKilledHalfwayLeavesNoTemporaryFile) {
    Write("rack.gpi", "[COMMON]\r\nLOCK=1\r\n");
    const std::filesystem::path target = FilePath(PathOf("rack.gpi"));
    const std::string content(64 * 1024 * 1024, 'x');
    const pid_t saver = ::fork();
    ASSERT_GE(saver, 0);
    if (saver == 0) {
        WriteRegularFile(target, content);
        ::_exit(0);
    }
    // Killed once the new content's file is open, while it is written or synced.
    const std::string folder = QFile::encodeName(dir.path()).toStdString();
    const auto savingThere = [&] {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(
                 "/proc/" + std::to_string(saver) + "/fd", ignored)) {
            if (std::filesystem::read_symlink(entry.path(), ignored).native().rfind(folder, 0) ==
                0) {
                return true;
            }
        }
        return false;
    };
    int status = 0;
    while (!savingThere()) {
        ASSERT_EQ(::waitpid(saver, &status, WNOHANG), 0) << "the save ended before it was seen";
    }
    ::kill(saver, SIGKILL);
    ASSERT_EQ(::waitpid(saver, &status, 0), saver);
    EXPECT_EQ(Entries(), QStringList{"rack.gpi"});
    EXPECT_EQ(Read("rack.gpi"), "[COMMON]\r\nLOCK=1\r\n");
}

} // namespace
