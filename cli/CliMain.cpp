// quvo8261-cli: the panels from a terminal or a script.
#include "Cli.h"

#include <QCoreApplication>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

std::atomic<bool> Interrupted{false};

void OnInterrupt(int) {
    Interrupted.store(true);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (arguments.contains("--help")) {
        out << CliUsageText();
        return CliDone;
    }
    if (arguments.contains("--version")) {
        out << "quvo8261-cli " << QUVO_VERSION << "\n";
        return CliDone;
    }
    QString error;
    if (!ChooseCliBackEnd(arguments, error)) {
        err << "quvo8261-cli: " << error << "\n";
        return error.startsWith("unknown driver") ? CliUsageError : CliNoPanel;
    }
    // Ctrl+C ends a watch cleanly: the port is shut down before the tool ends.
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    return RunCli(arguments, out, err, Interrupted);
}
