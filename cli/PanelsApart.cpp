// SPDX-License-Identifier: Apache-2.0
#include "cli/PanelsApart.h"

#include "cli/Cli.h"
#include "cli/PanelProcessLauncher.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A running process for one panel, with what it has printed so far.
struct PanelProcess {
    pid_t pid = -1;
    int output = -1; // read ends of its standard output and error
    int errors = -1;
    QByteArray printed;
    QByteArray complained;
    QString startError;
};

// The processes for all panels, started at once: the pipes first, then every
// start asked for in one go.
std::vector<PanelProcess> StartAll(const std::vector<std::string>& arguments,
                                   const std::vector<CliPanel>& panels) {
    std::vector<PanelProcess> processes(panels.size());
    std::vector<PanelProcessRequest> requests;
    std::vector<std::size_t> requested; // the process of each request
    for (std::size_t i = 0; i < panels.size(); ++i) {
        int outputPipe[2];
        int errorPipe[2];
        if (::pipe2(outputPipe, O_CLOEXEC) != 0) {
            processes[i].startError = qt_error_string(errno);
            continue;
        }
        if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
            processes[i].startError = qt_error_string(errno);
            ::close(outputPipe[0]);
            ::close(outputPipe[1]);
            continue;
        }
        processes[i].output = outputPipe[0];
        processes[i].errors = errorPipe[0];
        requests.push_back(
            {OnePanelArguments(arguments, panels[i].serial), outputPipe[1], errorPipe[1], {}});
        requested.push_back(i);
    }
    const std::vector<pid_t> started = LaunchPanelProcesses(requests);
    for (std::size_t r = 0; r < requests.size(); ++r) {
        PanelProcess& process = processes[requested[r]];
        ::close(requests[r].output);
        ::close(requests[r].errors);
        process.pid = started[r];
        if (process.pid < 0) {
            process.startError = requests[r].error;
            ::close(process.output);
            ::close(process.errors);
            process.output = -1;
            process.errors = -1;
        }
    }
    return processes;
}

// Reads whatever the processes have printed, waiting at most `milliseconds`;
// a stream is closed at its end. False once every stream has ended.
bool ReadPrinted(std::vector<PanelProcess>& processes, int milliseconds) {
    std::vector<pollfd> streams;
    std::vector<std::pair<int*, QByteArray*>> targets;
    for (PanelProcess& process : processes) {
        for (auto [descriptor, target] : {std::pair{&process.output, &process.printed},
                                          std::pair{&process.errors, &process.complained}}) {
            if (*descriptor >= 0) {
                streams.push_back({*descriptor, POLLIN, 0});
                targets.emplace_back(descriptor, target);
            }
        }
    }
    if (streams.empty()) {
        return false;
    }
    if (::poll(streams.data(), streams.size(), milliseconds) <= 0) {
        return true; // a signal or nothing yet
    }
    for (std::size_t i = 0; i < streams.size(); ++i) {
        if (streams[i].revents == 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t got = ::read(streams[i].fd, buffer, sizeof buffer);
        if (got > 0) {
            targets[i].second->append(buffer, qsizetype(got));
        } else if (got == 0 || errno != EINTR) {
            ::close(*targets[i].first);
            *targets[i].first = -1;
        }
    }
    return true;
}

QString OneLine(const QByteArray& text) {
    return QString::fromLocal8Bit(text).simplified();
}

} // namespace

std::vector<std::string> OnePanelArguments(const std::vector<std::string>& arguments,
                                           const QString& serial) {
    std::vector<std::string> result{"--panel", serial.toStdString(), "--json"};
    bool operands = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!operands && argument == "--") {
            operands = true;
        } else if (!operands && (argument == "--all" || argument == "--json" ||
                                 argument.rfind("--panel=", 0) == 0)) {
            continue;
        } else if (!operands && argument == "--panel") {
            ++i; // and its value
            continue;
        }
        result.push_back(argument);
    }
    return result;
}

PanelResult ResultOfPanelProcess(const CliPanel& panel, const QByteArray& output,
                                 const QByteArray& errors, int exitStatus) {
    PanelResult result{panel, CliDone, {}, {}};
    if (WIFSIGNALED(exitStatus)) {
        result.code = CliLinkFailure;
        result.message = WTERMSIG(exitStatus) == SIGINT || WTERMSIG(exitStatus) == SIGTERM
                             ? QString("not done: interrupted")
                             : QString("the tool's process for this panel ended by signal %1")
                                   .arg(WTERMSIG(exitStatus));
        return result;
    }
    const int exitCode = WIFEXITED(exitStatus) ? WEXITSTATUS(exitStatus) : CliLinkFailure;
    QJsonParseError parseError;
    const QJsonObject document = QJsonDocument::fromJson(output, &parseError).object();
    const QJsonArray results = document.value("results").toArray();
    const QJsonObject reported =
        results.isEmpty() ? document : results.first().toObject(); // or a failure document
    if (parseError.error != QJsonParseError::NoError || !reported.contains("exitCode")) {
        result.code = std::max(exitCode, int(CliLinkFailure));
        const QString complaint = OneLine(errors);
        result.message = complaint.isEmpty()
                             ? QString("the tool's process for this panel ended with exit code "
                                       "%1 and no result")
                                   .arg(exitCode)
                             : complaint;
        return result;
    }
    result.code = std::max(exitCode, reported.value("exitCode").toInt());
    result.message = reported.value("message").toString();
    for (const QJsonValue& difference : reported.value("differences").toArray()) {
        result.differences << difference.toString();
    }
    return result;
}

std::vector<PanelResult> RunPanelsApart(const std::vector<std::string>& arguments,
                                        const std::vector<CliPanel>& panels,
                                        const std::atomic<bool>& interrupted) {
    std::vector<PanelProcess> processes = StartAll(arguments, panels);
    bool forwarded = false;
    while (ReadPrinted(processes, 20)) {
        // A Ctrl+C from the terminal reaches every process of the group; a
        // signal sent to this process alone is passed on, to the same effect.
        if (interrupted.load() && !forwarded) {
            forwarded = true;
            for (const PanelProcess& process : processes) {
                if (process.pid > 0) {
                    ::kill(process.pid, SIGINT);
                }
            }
        }
    }
    std::vector<PanelResult> results;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        PanelProcess& process = processes[i];
        if (process.pid < 0) {
            results.push_back(
                {panels[i],
                 CliLinkFailure,
                 "the tool could not start a process for this panel: " + process.startError,
                 {}});
            continue;
        }
        results.push_back(ResultOfPanelProcess(panels[i], process.printed, process.complained,
                                               WaitForPanelProcess(process.pid)));
    }
    return results;
}
