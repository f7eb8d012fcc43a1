// Starts the real program twice: the second copy must say why and end, the
// first must keep running, and after the first has ended a new start works.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    environment.insert("TMPDIR", tempFolder); // the lock lives in the temporary folder
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
}

} // namespace
