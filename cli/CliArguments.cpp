// SPDX-License-Identifier: Apache-2.0
#include "cli/CliArguments.h"

#include "cli/PanelProcesses.h"
#include "sim/VirtualBus.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstring>

namespace {

// The bytes of an argument as the characters 0..255, so that parsing keeps any
// file name exactly and Latin1 gives the bytes back.
QString Lossless(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

std::string BytesOf(const QString& lossless) {
    return lossless.toLatin1().toStdString();
}

QString Decoded(const QString& lossless) {
    return QFile::decodeName(lossless.toLatin1());
}

// `--simulate=N` becomes `--simulate`, which the parser knows as a switch, and
// its count is returned; options after "--" are operands and stay as they are.
int TakeVirtualPanelCount(QStringList& text) {
    int count = DefaultVirtualPanelCount;
    for (QString& argument : text) {
        if (argument == "--") {
            break;
        }
        if (argument.startsWith("--simulate=")) {
            bool number = false;
            count = argument.mid(int(std::strlen("--simulate="))).toInt(&number);
            if (!number || count < 1 || count > MostVirtualPanels) {
                throw BadCommandLine("--simulate=N takes a number of virtual panels from 1 to " +
                                     std::to_string(MostVirtualPanels));
            }
            argument = "--simulate";
        }
    }
    return count;
}

} // namespace

CliInvocation ParseCliArguments(const std::vector<std::string>& arguments) {
    QCommandLineParser parser;
    AddBackEndOptions(parser);
    const QCommandLineOption panel("panel", "the panel", "serial");
    parser.addOption(panel);
    const QCommandLineOption profiles("profiles", "the profile folder", "folder");
    parser.addOption(profiles);
    const QCommandLineOption report("report", "the report file", "file");
    parser.addOption(report);
    for (const char* flag : {"all", "json", "verify", "watch", "version", "dry-run", "diagnose"}) {
        parser.addOption(QCommandLineOption(flag));
    }
    parser.addOption(QCommandLineOption(QStringList{"h", "help"}));
    QCommandLineOption panelProcess(PanelProcessOption);
    panelProcess.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(panelProcess);
    QStringList text{QString()};
    for (const std::string& argument : arguments) {
        text << Lossless(argument);
    }
    const int virtualPanels = TakeVirtualPanelCount(text);
    if (!parser.parse(text)) {
        throw BadCommandLine(Decoded(parser.errorText()).toStdString());
    }
    CliInvocation invocation;
    try {
        invocation.backEnd = BackEndFromOptions(parser);
    } catch (const UnknownDriver& error) {
        throw BadCommandLine(error.what());
    }
    invocation.virtualPanels = virtualPanels;
    invocation.panel = Decoded(parser.value(panel));
    invocation.profiles = Decoded(parser.value(profiles));
    invocation.dryRun = parser.isSet("dry-run");
    invocation.diagnose = parser.isSet("diagnose");
    invocation.report = Decoded(parser.value(report));
    invocation.reportBytes = BytesOf(parser.value(report));
    invocation.all = parser.isSet("all");
    invocation.json = parser.isSet("json");
    invocation.verify = parser.isSet("verify");
    invocation.watch = parser.isSet("watch");
    invocation.help = parser.isSet("help");
    invocation.version = parser.isSet("version");
    invocation.panelProcess = parser.isSet(panelProcess);
    QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty()) {
        invocation.command = Decoded(positional.takeFirst());
    }
    for (const QString& operand : positional) {
        invocation.operands << Decoded(operand);
        invocation.operandBytes.push_back(BytesOf(operand));
    }
    return invocation;
}

QString CliUsageText() {
    return QString(
        "Usage: quvo8261-cli [options] COMMAND\n"
        "\n"
        "Commands:\n"
        "  list                        the attached panels: description, serial number,\n"
        "                              channel mask and channels, location id\n"
        "  status [--watch]            a panel's configuration and live state; --watch\n"
        "                              prints every change until Ctrl+C\n"
        "  export FILE.gpi             writes the panel's configuration to a settings\n"
        "                              file\n"
        "  import FILE.gpi [--verify]  sends a settings file to the panel (--all: every\n"
        "                              panel)\n"
        "  factory [--verify]          sends the factory configuration\n"
        "  gpio CHANNEL press|release  presses or releases a channel's GPIO output\n"
        "  gpio off                    switches every GPIO output off\n"
        "  --diagnose [--report FILE]  why no panel is listed: a plain-text report of\n"
        "                              the versions, the back-end and why, the FTDI\n"
        "                              chips with their device nodes' owners and\n"
        "                              permissions, the udev rule, the user's groups and\n"
        "                              the last messages (the tool's and the service's)\n"
        "  apply [--dry-run]           gives each panel its profile, writing only where\n"
        "                              the panel differs: applied, unchanged or no\n"
        "                              profile; --dry-run lists the differences and\n"
        "                              writes nothing\n"
        "\n"
        "Options:\n"
        "  --panel SERIAL              the panel with this serial number, or the part\n"
        "                              before its last dot\n"
        "  --all                       every usable panel, side by side, each in a\n"
        "                              process of its own (import, factory, apply,\n"
        "                              gpio off)\n"
        "  --profiles FOLDER           apply's profiles: SERIAL.gpi, the part of SERIAL\n"
        "                              before its last dot .gpi, else default.gpi;\n"
        "                              without it $XDG_CONFIG_HOME/QUVO-8261 Settings/\n"
        "                              panels (the system service: /etc/quvo8261/panels)\n"
        "  --verify                    compares the panel's read-back with what was sent\n"
        "  --json                      one JSON document per command (per change with\n"
        "                              --watch)\n"
        "  --driver=d2xx|libftdi|sim   FTDI's own D2XX library, the open-source libftdi1\n"
        "                              (no download; detaches ftdi_sio itself) or the\n"
        "                              virtual panels; without it D2XX when its library\n"
        "                              loads, else libftdi1\n"
        "  --simulate[=N]              N virtual panels instead of hardware (two without\n"
        "                              N, at most 32)\n"
        "  -h, --help                  shows this text\n"
        "  --version                   shows the tool's version\n"
        "  --                          what follows is no option (a file named -x.gpi)\n"
        "\n"
        "Without --panel or --all the one attached panel is used.\n"
        "\n"
        "Exit codes: 0 done; 1 no usable panel; 2 usage error; 3 link failure;\n"
        "4 --verify found differences; 5 file error; 6 the system refused a thread.\n");
}
