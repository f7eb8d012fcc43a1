// SPDX-License-Identifier: Apache-2.0
// Starts the real program twice: the second copy must say why and end, the
// first must keep running, and after the first has ended a new start works.
// Lock files left broken, by another host or by a killed copy never block a start.
#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

namespace {

QProcess* StartProgram(QObject* parent, const QString& tempFolder,
                       const QStringList& arguments = {"--simulate"},
                       const QString& d2xxLibrary = QString()) {
    auto* process = new QProcess(parent);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!d2xxLibrary.isEmpty()) {
        environment.insert("QUVO_D2XX_LIBRARY", d2xxLibrary);
    }
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QUVO_MESSAGES_TO_STDERR", "1");
    environment.insert("XDG_RUNTIME_DIR", tempFolder); // the lock lives in the runtime folder
    process->setProcessEnvironment(environment);
    process->start(QUVO_PROGRAM, arguments);
    return process;
}

TEST(SingleInstance, SecondCopyReportsAndEndsFirstKeepsRunning) {
    QTemporaryDir temp;
    QObject owner;
    QProcess* first = StartProgram(&owner, temp.path());
    ASSERT_TRUE(first->waitForStarted());
    // Give the first copy time to take the lock and show its window.
    ASSERT_FALSE(first->waitForFinished(1500)) << first->readAllStandardError().toStdString();

    QProcess* second = StartProgram(&owner, temp.path());
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(second->readAllStandardError().toStdString().find(
                  "[Cannot run program] QUVO USB driver used by another application") !=
                  std::string::npos,
              true);
    EXPECT_EQ(first->state(), QProcess::Running);

    first->terminate();
    ASSERT_TRUE(first->waitForFinished(10000));

    QProcess* third = StartProgram(&owner, temp.path());
    ASSERT_TRUE(third->waitForStarted());
    EXPECT_FALSE(third->waitForFinished(1500)) << "a new start runs after the first has ended";
    third->terminate();
    third->waitForFinished(10000);
}

TEST(SingleInstance, BrokenForeignAndStaleLockFilesAreTakenOver) {
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const QString lockPath = QDir(runtime.path()).filePath("QUVO_Test.lock");
    struct Case {
        const char* name;
        QByteArray content;
        bool takenOver;
    };
    const Case cases[] = {
        {"empty", "", true},
        {"garbage", "\x01\x02 not a lock \xff", true},
        {"another host", "123\nQUVO-8261 Settings\nsome-other-host\n", true},
        {"a process that is gone",
         "999999999\nQUVO-8261 Settings\n" + QSysInfo::machineHostName().toUtf8() + "\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            QFile file(lockPath);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(c.content);
            file.flush();
            // Left there a while ago, not a copy that is just taking the lock.
            file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                             QFileDevice::FileModificationTime);
        }
        SingleInstance instance("QUVO_Test");
        EXPECT_EQ(instance.Result(), SingleInstance::Outcome::First);
        SingleInstance second("QUVO_Test");
        EXPECT_EQ(second.Result(), SingleInstance::Outcome::AlreadyRunning);
    }
}

TEST(SingleInstance, WhatIsNoLockFileAtTheLockPathIsClearedAway) {
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const QString lockPath = QDir(runtime.path()).filePath("QUVO_Test.lock");
    const QByteArray lockName = QFile::encodeName(lockPath);
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"an empty folder", [&] { QDir().mkdir(lockPath); }},
        {"a folder with content",
         [&] {
             QDir().mkdir(lockPath);
             QFile file(lockPath + "/kept.txt");
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         }},
        {"a dangling link", [&] { QFile::link(runtime.filePath("nowhere"), lockPath); }},
        {"a link to itself", [&] { QFile::link(lockPath, lockPath); }},
        {"a FIFO", [&] { ASSERT_EQ(mkfifo(lockName.constData(), 0600), 0); }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        make();
        SingleInstance instance("QUVO_Test");
        EXPECT_EQ(instance.Result(), SingleInstance::Outcome::First);
        SingleInstance second("QUVO_Test");
        EXPECT_EQ(second.Result(), SingleInstance::Outcome::AlreadyRunning);
    }
    const QStringList aside = QDir(runtime.path()).entryList({"QUVO_Test.lock.not-a-lock-*"});
    ASSERT_EQ(aside.size(), 1) << "the folder with content was moved, not deleted";
    EXPECT_TRUE(QFile::exists(runtime.filePath(aside[0] + "/kept.txt")));
}

TEST(SingleInstance, TwoCopiesStartedAtOnceLeaveExactlyOneRunning) {
    QTemporaryDir temp;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        QObject owner;
        QProcess* a = StartProgram(&owner, temp.path());
        QProcess* b = StartProgram(&owner, temp.path());
        ASSERT_TRUE(a->waitForStarted());
        ASSERT_TRUE(b->waitForStarted());
        // The copy that lost ends by itself; the other keeps running.
        QProcess* ended = nullptr;
        for (int waited = 0; waited < 10000 && ended == nullptr; waited += 20) {
            QCoreApplication::processEvents();
            a->waitForFinished(10);
            b->waitForFinished(10);
            ended = a->state() == QProcess::NotRunning   ? a
                    : b->state() == QProcess::NotRunning ? b
                                                         : nullptr;
        }
        ASSERT_NE(ended, nullptr) << "both copies kept running";
        QProcess* survivor = ended == a ? b : a;
        EXPECT_TRUE(ended->readAllStandardError().contains("used by another application"));
        EXPECT_FALSE(survivor->waitForFinished(300)) << "both copies ended";
        survivor->kill();
        survivor->waitForFinished(5000);
    }
}

TEST(ProgramStart, MissingDriverLibraryIsNamedAndTheProgramEnds) {
    QTemporaryDir temp;
    QObject owner;
    const QString missing = temp.filePath("no-such-libftd2xx.so");
    QProcess* program = StartProgram(&owner, temp.path(), {"--driver=d2xx"}, missing);
    ASSERT_TRUE(program->waitForFinished(10000));
    EXPECT_EQ(program->exitCode(), 0);
    const QString error = QString::fromLocal8Bit(program->readAllStandardError());
    EXPECT_TRUE(error.contains("[Cannot run program] The FTDI D2XX library could not be loaded"))
        << error.toStdString();
    EXPECT_TRUE(error.contains(missing)) << "the message names the path it tried";

    // Without windows (--diagnose) it is said on standard error, not in the report.
    QProcess* diagnosis =
        StartProgram(&owner, temp.path(), {"--driver=d2xx", "--diagnose"}, missing);
    ASSERT_TRUE(diagnosis->waitForFinished(10000));
    EXPECT_EQ(diagnosis->exitCode(), 1);
    EXPECT_TRUE(diagnosis->readAllStandardOutput().isEmpty());
    EXPECT_TRUE(diagnosis->readAllStandardError().contains(
        "QUVO8261: The FTDI D2XX library could not be loaded"));
}

} // namespace
