// SPDX-License-Identifier: Apache-2.0
#include "cli/ToolPlatform.h"

#include <QProcess>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <vector>

#include <fcntl.h>
#include <linux/close_range.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

void OpenClosedStandardStreams() {
    for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
        if (::fcntl(stream, F_GETFD) >= 0 || errno != EBADF) {
            continue;
        }
        // The lowest free number is the closed stream's own.
        const int nothing = ::open("/dev/null", stream == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (nothing >= 0 && nothing != stream) {
            ::dup2(nothing, stream);
            ::close(nothing);
        }
    }
}

void IgnoreSignalsThatReportErrors() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

bool StandardOutputClosed() {
    pollfd output{STDOUT_FILENO, 0, 0};
    return ::poll(&output, 1, 0) == 1 && (output.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
}

void EndWithTheTool(QProcess& process) {
    const pid_t tool = ::getpid();
    // Runs in the new process between its fork and its exec: system calls only.
    process.setChildProcessModifier([tool] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != tool) {
            ::raise(SIGTERM); // the tool died before the request took hold
        }
        // Everything but the three standard streams closes at the exec; Qt's own
        // descriptors already do.
        if (::syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
            const long most = std::clamp(::sysconf(_SC_OPEN_MAX), 1024L, 65536L);
            for (int descriptor = 3; descriptor < most; ++descriptor) {
                ::fcntl(descriptor, F_SETFD, FD_CLOEXEC);
            }
        }
    });
}

void EndProcessNow(qint64 processId) {
    ::kill(pid_t(processId), SIGKILL);
    while (::waitpid(pid_t(processId), nullptr, 0) < 0 && errno == EINTR) {
    }
}
