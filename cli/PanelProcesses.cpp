// SPDX-License-Identifier: Apache-2.0
#include "cli/PanelProcesses.h"

#include "cli/Cli.h"
#include "cli/ToolPlatform.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <memory>
#include <mutex>

namespace {

// The panels' processes that have not ended yet, for the tool's last moments,
// which come on another thread.
std::mutex RunningGuard;
std::vector<qint64> Running;

void Started(qint64 processId) {
    const std::lock_guard lock(RunningGuard);
    Running.push_back(processId);
}

void Ended(qint64 processId) {
    const std::lock_guard lock(RunningGuard);
    std::erase(Running, processId);
}

QString OneLine(const QByteArray& text) {
    return QString::fromLocal8Bit(text).simplified();
}

// A panel's process and how it came to its end.
struct PanelProcess {
    std::unique_ptr<QProcess> process;
    qint64 processId = 0;
    bool ended = false;
    QString startError;
};

} // namespace

PanelResult ResultOfPanelProcess(const CliPanel& panel, const QByteArray& output,
                                 const QByteArray& errors, bool crashed, int exitCode) {
    PanelResult result{panel, CliDone, {}, {}};
    if (crashed) {
        result.code = CliLinkFailure;
        result.message =
            exitCode == SIGINT || exitCode == SIGTERM
                ? NotDoneText()
                : QString("the tool's process for this panel ended by signal %1").arg(exitCode);
        return result;
    }
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

std::vector<PanelResult> RunPanelsApart(const QString& command, const std::vector<PanelTask>& tasks,
                                        const std::vector<CliPanel>& panels,
                                        const QStringList& backEndArguments,
                                        const std::atomic<bool>& interrupted) {
    QEventLoop loop;
    std::vector<PanelProcess> processes(panels.size());
    std::size_t running = 0;
    const auto end = [&](PanelProcess& panel) {
        if (!panel.ended) {
            panel.ended = true;
            Ended(panel.processId);
            if (--running == 0) {
                loop.quit();
            }
        }
    };
    for (std::size_t i = 0; i < panels.size(); ++i) {
        PanelProcess& panel = processes[i];
        // After a Ctrl+C no panel is begun.
        if (interrupted.load()) {
            panel.ended = true;
            continue;
        }
        panel.process = std::make_unique<QProcess>();
        QProcess& process = *panel.process;
        EndWithTheTool(process);
        process.setProgram(QCoreApplication::applicationFilePath());
        process.setArguments(backEndArguments + QStringList{QString("--") + PanelProcessOption});
        QObject::connect(&process, &QProcess::finished, &loop, [&end, &panel] { end(panel); });
        QObject::connect(&process, &QProcess::errorOccurred, &loop,
                         [&end, &panel](QProcess::ProcessError error) {
                             if (error == QProcess::FailedToStart) {
                                 panel.startError = panel.process->errorString();
                                 end(panel);
                             }
                         });
        ++running;
        process.start();
        panel.processId = process.processId();
        if (panel.processId > 0) {
            Started(panel.processId);
        }
        process.write(HandOverBytes({command, panels[i], tasks[i]}));
        process.closeWriteChannel();
    }
    // A Ctrl+C from the terminal reaches every process of the group; a signal
    // sent to this process alone is passed on, to the same effect.
    bool passedOn = false;
    const auto passOn = [&] {
        if (interrupted.load() && !passedOn) {
            passedOn = true;
            for (PanelProcess& panel : processes) {
                if (!panel.ended) {
                    panel.process->terminate();
                }
            }
        }
    };
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, passOn);
    watch.start(20);
    passOn();
    if (running > 0) {
        loop.exec();
    }

    std::vector<PanelResult> results;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const PanelProcess& panel = processes[i];
        if (!panel.process) {
            results.push_back({panels[i], CliLinkFailure, NotDoneText(), {}});
            continue;
        }
        if (!panel.startError.isEmpty()) {
            results.push_back(
                {panels[i],
                 CliLinkFailure,
                 "the tool could not start a process for this panel: " + panel.startError,
                 {}});
            continue;
        }
        QProcess& process = *panel.process;
        results.push_back(ResultOfPanelProcess(
            panels[i], process.readAllStandardOutput(), process.readAllStandardError(),
            process.exitStatus() == QProcess::CrashExit, process.exitCode()));
    }
    return results;
}

void EndPanelProcessesNow() {
    const std::lock_guard lock(RunningGuard);
    for (const qint64 processId : Running) {
        EndProcessNow(processId);
    }
    Running.clear();
}
