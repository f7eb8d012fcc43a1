// SPDX-License-Identifier: Apache-2.0
// Time of `import --verify` through the command-line tool on virtual panels
// whose line behaves as an FT232R's does: one after another in one process (as
// the tool did before `--all` went side by side), and the tool itself as a
// whole process on 1, 8 and 16 panels with `--all`; with the path of another
// build of the tool as argument, that one too, in the same run.
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

#include <sys/resource.h>

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

// CPU time of the ended processes this one has waited for, theirs included.
double ChildrenCpuMilliseconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto milliseconds = [](const timeval& time) {
        return double(time.tv_sec) * 1e3 + double(time.tv_usec) / 1e3;
    };
    return milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
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
bool RunTool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
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

    // Another build of the tool, as given, is timed beside this one in the same run.
    QStringList tools{QUVO_CLI};
    if (argc > 1) {
        tools << QString::fromLocal8Bit(argv[1]);
    }
    for (const QString& tool : tools) {
        std::printf("%s as a whole process, --all side by side, a process per panel:\n",
                    qPrintable(tool));
        constexpr int Runs = 7;
        // The tool on one panel without --all starts no other process: the baseline.
        const double one = MedianMilliseconds(Runs, [&] {
            return RunTool(tool,
                           {"--simulate=1", "--panel", "QV826100", "import", file, "--verify"});
        });
        std::printf("  one panel, no --all: median %.1f ms\n", one);
        double oneCpu = 0;
        double sixteenCpu = 0;
        for (const int panels : {1, 8, 16}) {
            const QStringList arguments{QString("--simulate=%1").arg(panels), "--all", "import",
                                        file, "--verify"};
            const double cpuBefore = ChildrenCpuMilliseconds();
            const double median =
                MedianMilliseconds(Runs, [&] { return RunTool(tool, arguments); });
            const double cpu = (ChildrenCpuMilliseconds() - cpuBefore) / Runs;
            if (panels == 1) {
                oneCpu = cpu;
            }
            sixteenCpu = cpu;
            std::printf(
                "  %2d panel(s): median %.1f ms (%.2f times one panel), CPU %.1f ms a run\n",
                panels, median, median / one, cpu);
        }
        std::printf("  each further panel's process costs %.1f ms of CPU (%d cores here)\n",
                    (sixteenCpu - oneCpu) / 15, QThread::idealThreadCount());
    }
    return 0;
}
