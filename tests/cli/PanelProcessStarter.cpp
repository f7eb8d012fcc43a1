// SPDX-License-Identifier: Apache-2.0
// Starts a command as the command-line tool starts a panel's process of
// `--all`, while holding an inheritable descriptor at number 50: prints the
// command's process id on a line, then lets the command print, and waits.
#include "cli/ToolPlatform.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>

#include <unistd.h>

int main(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    if (argc < 2 || ::dup2(STDERR_FILENO, 50) != 50) {
        return 2;
    }
    QProcess command;
    EndWithTheTool(command);
    command.setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList arguments = QCoreApplication::arguments().mid(2);
    command.start(QString::fromLocal8Bit(argv[1]), arguments);
    if (!command.waitForStarted()) {
        return 3;
    }
    std::printf("%lld\n", static_cast<long long>(command.processId()));
    std::fflush(stdout);
    command.waitForFinished(-1);
    return command.exitCode();
}
