// SPDX-License-Identifier: Apache-2.0
// quvo8261-cli: the panels from a terminal or a script.
#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "cli/PanelProcessLauncher.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <optional>
#include <thread>

#include <poll.h>
#include <unistd.h>

namespace {

std::atomic<bool> Interrupted{false};
std::atomic<bool> OutputClosed{false};

void OnInterrupt(int) {
    Interrupted.store(true);
}

// Whether the reader of standard output has gone (a pipe into `head -1`).
bool StandardOutputClosed() {
    pollfd output{STDOUT_FILENO, 0, 0};
    return ::poll(&output, 1, 0) == 1 && (output.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
}

// Ctrl+C and SIGTERM end the tool within the link's own time-outs: the work in
// hand finishes and the port is shut down. Should the tool still be waiting then
// (a write to a terminal that is stopped, a driver that hangs), it ends at once.
// The same watcher notices a standard output that nobody reads any more.
void WatchSignalsAndOutput() {
    using Clock = std::chrono::steady_clock;
    constexpr auto Grace = std::chrono::seconds(5);
    Clock::time_point interruptedAt{};
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!OutputClosed.load() && StandardOutputClosed()) {
            OutputClosed.store(true);
        }
        if (!Interrupted.load()) {
            continue;
        }
        if (interruptedAt == Clock::time_point{}) {
            interruptedAt = Clock::now();
        } else if (Clock::now() - interruptedAt > Grace) {
            const char text[] = "quvo8261-cli: interrupted\n";
            [[maybe_unused]] const auto written = ::write(STDERR_FILENO, text, std::strlen(text));
            ::_exit(130);
        }
    }
}

// The tool on `arguments`, as started under the name `program`.
int ToolMain(const std::string& program, const std::vector<std::string>& arguments,
             bool panelsApart) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    int argc = int(argv.size()) - 1;
    // A panel's process has the one its launcher made.
    std::optional<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        application.emplace(argc, argv.data());
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    CliInvocation invocation;
    try {
        invocation = ParseCliArguments(arguments);
    } catch (const BadCommandLine&) {
        // RunCli words the usage error, as JSON too where asked for.
        const std::atomic<bool> notInterrupted{false};
        return RunCli(arguments, out, err, notInterrupted, [] { return false; });
    }
    if (invocation.help) {
        out << CliUsageText();
        return CliDone;
    }
    if (invocation.version) {
        out << "quvo8261-cli " << QUVO_VERSION << "\n";
        return CliDone;
    }
    try {
        ChooseCliBackEnd(invocation.backEnd, invocation.virtualPanels);
    } catch (const NoBackEnd& error) {
        err << "quvo8261-cli: " << error.what() << "\n";
        if (invocation.json) {
            out << CliFailureDocument(invocation.command, CliNoPanel, error.what());
        }
        return CliNoPanel;
    }
    std::thread(WatchSignalsAndOutput).detach();
    return RunCli(
        arguments, out, err, Interrupted, [] { return OutputClosed.load(); }, panelsApart);
}

// In the launcher of `--all`, once for all panels' processes: Qt's
// application object (which sets the locale from the environment) and the
// logging rules, which Qt reads from files at the first logging category.
void PreparePanelProcesses(const std::string& program) {
    static std::string name = program;
    static int argc = 1;
    static char* argv[] = {name.data(), nullptr};
    static const QCoreApplication application(argc, argv);
    const QLoggingCategory firstCategory("quvo.cli");
}

} // namespace

int main(int argc, char** argv) {
    // From the first moment: a Ctrl+C before any panel is touched leaves every
    // panel as it is and says so. A closed output is noticed and ends a watch
    // cleanly instead of killing the tool.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    // File names are taken as the bytes the system gave, not as decoded text.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string program = argv[0];
    // Each panel's process inherits these handlers from the launcher, and with
    // them a Ctrl+C pressed before it began.
    const bool panelsApart =
        AsksForAllPanels(arguments) &&
        StartPanelProcessLauncher([program] { PreparePanelProcesses(program); },
                                  [program](const std::vector<std::string>& panelArguments) {
                                      return ToolMain(program, panelArguments, false);
                                  });
    const int exitCode = ToolMain(program, arguments, panelsApart);
    StopPanelProcessLauncher();
    return exitCode;
}
