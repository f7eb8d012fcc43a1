// SPDX-License-Identifier: Apache-2.0
// Time of `import --verify` through the command-line tool on virtual panels
// whose line behaves as an FT232R's does: one after another in one process (as
// the tool did before `--all` went side by side), and the tool itself as a
// whole process on 1, 8 and 16 panels with `--all`.
#include "cli/Cli.h"
#include "link/D2XXUnit_mod.h"
#include "model/SettingsFiles.h"
#include "sim/VirtualBus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double MedianMilliseconds(int runs, const std::function<bool()>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!run()) {
            return -1;
        }
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// In this process, the panels one after another.
bool RunHere(const QStringList& arguments) {
    QString output;
    QString errors;
    QTextStream out(&output);
    QTextStream err(&errors);
    const std::atomic<bool> interrupted{false};
    if (RunCli(arguments, out, err, interrupted) != CliDone) {
        err.flush();
        std::printf("failed: %s\n", qPrintable(errors));
        return false;
    }
    return true;
}

// The tool as a user starts it.
bool RunTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QUVO_CLI, arguments);
    if (!tool.waitForFinished(60000) || tool.exitCode() != CliDone) {
        std::printf("failed: %s\n", tool.readAllStandardError().constData());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    SetFtdiApi(SimulatorFtdiApi());
    for (std::uint32_t i = 0; i < 8; ++i) {
        VirtualBus::Instance()
            .AddDevice({0x3000 + i, "RACK" + std::to_string(i) + ".FFFF", "QUVO-8261-16"})
            ->SetLineTiming(LineModel::Chip);
    }
    const QTemporaryDir folder;
    const QString file = folder.filePath("rack.gpi");
    ConfigBlock block;
    LoadFactoryValues(block);
    block[ConfigSAVE] = 1;
    WriteSettingsFile(FilePath(file), block);

    std::printf("one after another in one process (the former --all):\n");
    const double hereOne = MedianMilliseconds(9, [&] {
        return RunHere({"import", file, "--verify", "--panel", "RACK0"});
    });
    const double hereEight = MedianMilliseconds(5, [&] {
        return RunHere({"import", file, "--verify", "--all"});
    });
    std::printf("  one panel: median %.1f ms; eight panels: median %.1f ms (%.2f times one)\n",
                hereOne, hereEight, hereEight / hereOne);

    std::printf("the tool as a whole process, --all side by side, a process per panel:\n");
    double one = 0;
    for (const int panels : {1, 8, 16}) {
        const QStringList arguments{QString("--simulate=%1").arg(panels), "--all", "import", file,
                                    "--verify"};
        const double median = MedianMilliseconds(7, [&] { return RunTool(arguments); });
        if (panels == 1) {
            one = median;
        }
        std::printf("  %2d panel(s): median %.1f ms (%.2f times one panel)\n", panels, median,
                    median / one);
    }
    std::printf("each process costs its own start-up (about 14 ms of CPU on this machine, "
                "%d cores), which bounds --all where panels outnumber cores\n",
                QThread::idealThreadCount());
    return 0;
}
