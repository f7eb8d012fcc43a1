// SPDX-License-Identifier: Apache-2.0
// quvo8261-cli: the panels from a terminal or a script.
#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "cli/PanelProcesses.h"
#include "cli/ToolPlatform.h"
#include "link/RecentMessages.h"
#include "link/Translations.h"

#include <QCoreApplication>
#include <QFile>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <thread>

namespace {

std::atomic<bool> Interrupted{false};
std::atomic<bool> OutputClosed{false};

extern "C" void OnInterrupt(int) {
    Interrupted.store(true);
}

// Ctrl+C and SIGTERM end the tool within the link's own time-outs: the work in
// hand finishes and the port is shut down. Should the tool still be waiting then
// (a write to a terminal that is stopped, a driver that hangs), it ends at once,
// and so do the panels' processes of `--all`. The same watcher notices a
// standard output that nobody reads any more.
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
            EndPanelProcessesNow();
            std::fputs("quvo8261-cli: interrupted\n", stderr);
            std::fflush(stderr);
            std::_Exit(130);
        }
    }
}

// Standard input up to a byte beyond the most a hand-over takes.
QByteArray ReadStandardInput() {
    QFile input;
    QByteArray bytes;
    if (input.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        while (bytes.size() <= MostHandOverBytes) {
            const QByteArray part = input.read(MostHandOverBytes + 1 - bytes.size());
            if (part.isEmpty()) {
                break;
            }
            bytes += part;
        }
    }
    return bytes;
}

int ToolMain(int argc, char** argv) {
    // File names are taken as the bytes the system gave, not as decoded text.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const QCoreApplication application(argc, argv);
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
    const auto fail = [&](int code, const QString& message) {
        err << "quvo8261-cli: " << message << "\n";
        if (invocation.json) {
            out << CliFailureDocument(invocation.command, code, message);
        }
        return code;
    };
    // Messages meant for people in the user's language; JSON stays English, for
    // the scripts that read it.
    const ProgramTranslations translations{invocation.json ? QLocale::c() : QLocale()};
    CliProcess process{std::nullopt, invocation.virtualPanels, {}, ReadStandardInput};
    try {
        const InstalledBackEnd installed =
            ChooseCliBackEnd(invocation.backEnd, invocation.virtualPanels);
        process.backEnd = installed.backEnd;
        process.d2xxNotLoaded = installed.d2xxNotLoaded;
    } catch (const NoBackEnd& error) {
        return fail(CliNoPanel, error.what());
    }
    try {
        std::thread(WatchSignalsAndOutput).detach();
    } catch (const std::system_error& error) {
        // A limit on processes (`ulimit -u`) also limits threads.
        return fail(CliSystemRefused, "the system refused a thread: " +
                                          QString::fromStdString(error.code().message()));
    }
    return RunCli(
        arguments, out, err, Interrupted, [] { return OutputClosed.load(); }, process);
}

} // namespace

int main(int argc, char** argv) {
    OpenClosedStandardStreams();
    IgnoreSignalsThatReportErrors();
    KeepRecentMessages();
    // From the first moment: a Ctrl+C before any panel is touched leaves every
    // panel as it is and says so.
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    return ToolMain(argc, argv);
}
