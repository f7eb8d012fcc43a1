// SPDX-License-Identifier: Apache-2.0
// Time of `import --verify` through the command-line tool's code on virtual
// panels whose line behaves as an FT232R does: one panel, and --all over eight.
#include "cli/Cli.h"
#include "link/D2XXUnit_mod.h"
#include "model/SettingsFiles.h"
#include "sim/VirtualBus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double MedianMilliseconds(const QStringList& arguments, int runs) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QString output;
        QString errors;
        QTextStream out(&output);
        QTextStream err(&errors);
        const std::atomic<bool> interrupted{false};
        QElapsedTimer timer;
        timer.start();
        const int code = RunCli(arguments, out, err, interrupted);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (code != CliDone) {
            err.flush();
            std::printf("failed: %s\n", qPrintable(errors));
        }
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
    std::printf("import --verify, one panel: median %.1f ms\n",
                MedianMilliseconds({"import", file, "--verify", "--panel", "RACK0"}, 9));
    std::printf("import --verify --all, eight panels: median %.1f ms\n",
                MedianMilliseconds({"import", file, "--verify", "--all"}, 5));
    return 0;
}
