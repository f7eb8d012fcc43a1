#include "Cli.h"

#include "BackEnds.h"
#include "D2XXUnit_mod.h"
#include "PanelDiagnosis.h"
#include "PanelFilter.h"
#include "PanelSession.h"
#include "SettingsFiles.h"
#include "UnitProcs.h"
#include "VirtualBus.h"
#include "model/RegularFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>
#include <optional>
#include <thread>
#include <vector>

namespace {

const char* const StateNames[4] = {"No signals", "GPIO", "GPI", "GPIO+GPI"};
const char* const ModeNames[3] = {"Free", "Fixed", "Pulse"};

struct Panel {
    std::uint32_t location = 0;
    QString serial;
    QString description;
    QString mask;
    std::vector<int> channels;
};

struct Options {
    QString command;
    QStringList operands;
    // The operands as the system gave them: file names need not be valid UTF-8.
    std::vector<std::string> operandBytes;
    QString panel;
    bool all = false;
    bool json = false;
    bool verify = false;
    bool watch = false;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a panel-by-panel command reports for one panel.
struct PanelResult {
    Panel panel;
    int code = CliDone;
    QString message;
    QStringList differences;
};

QString ChannelList(const std::vector<int>& channels) {
    // Runs of channels: 1-16, 1-8, 1 3 5.
    QStringList parts;
    for (std::size_t i = 0; i < channels.size();) {
        std::size_t j = i;
        while (j + 1 < channels.size() && channels[j + 1] == channels[j] + 1) {
            ++j;
        }
        parts << (j > i ? QString("%1-%2").arg(channels[i]).arg(channels[j])
                        : QString::number(channels[i]));
        i = j + 1;
    }
    return parts.isEmpty() ? QString("none") : parts.join(' ');
}

QString Hex(std::uint32_t value, int digits) {
    return QString("%1").arg(value, digits, 16, QChar('0')).toUpper();
}

QString ColourText(ScreenColor colour) {
    const std::uint32_t rgb = SwapRedBlue(colour);
    return "#" + Hex(rgb, 6);
}

// The attached panels that pass the device list's filter, and how many FTDI
// devices another program holds.
std::vector<Panel> AttachedPanels(int& inUse) {
    inUse = 0;
    std::vector<Panel> panels;
    if (EnumerateDevices() != FT_OK) {
        throw std::runtime_error("Cannot get USB Device List");
    }
    for (std::uint32_t i = 0; i < DeviceInfoCount; ++i) {
        const FT_DEVICE_LIST_INFO_NODE& node = DeviceInfoList[i];
        if ((node.Flags & FT_FLAGS_OPENED) != 0) {
            ++inUse;
        }
        if (!IsPanelDevice(node)) {
            continue;
        }
        Panel panel;
        panel.location = node.LocId;
        panel.serial = QString::fromStdString(SerialNumberOf(node));
        panel.description = QString::fromStdString(DescriptionOf(node));
        panel.mask = QString::fromStdString(SplitAtLastDot(SerialNumberOf(node)).second);
        const ChannelFlags present = ParseChannelMask(panel.mask.toStdString());
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            if (present[channel]) {
                panel.channels.push_back(channel);
            }
        }
        panels.push_back(panel);
    }
    return panels;
}

QString InUseNote(int inUse) {
    return inUse == 0 ? QString()
                      : QString(" %1 FTDI device(s) are in use by another program, perhaps the "
                                "QUVO-8261 Settings window.")
                            .arg(inUse);
}

std::vector<Panel> ChosenPanels(const Options& options, bool allowed, int& code, QString& why) {
    int inUse = 0;
    const std::vector<Panel> panels = AttachedPanels(inUse);
    if (options.all) {
        if (!allowed) {
            throw UsageError("--all goes with import, factory and gpio off only");
        }
        if (panels.empty()) {
            code = CliNoPanel;
            why = "No usable QUVO-8261 panel attached." + InUseNote(inUse);
        }
        return panels;
    }
    if (!options.panel.isEmpty()) {
        for (const Panel& panel : panels) {
            const QString before =
                QString::fromStdString(SplitAtLastDot(panel.serial.toStdString()).first);
            if (panel.serial == options.panel || before == options.panel) {
                return {panel};
            }
        }
        code = CliNoPanel;
        why = "No usable panel with serial number " + options.panel + "." + InUseNote(inUse);
        return {};
    }
    if (panels.size() > 1) {
        QStringList serials;
        for (const Panel& panel : panels) {
            serials << panel.serial;
        }
        throw UsageError("several panels are attached (" + serials.join(", ").toStdString() +
                         "): choose one with --panel SERIAL or all with --all");
    }
    if (panels.empty()) {
        code = CliNoPanel;
        why = "No usable QUVO-8261 panel attached." + InUseNote(inUse);
    }
    return panels;
}

QJsonObject PanelJson(const Panel& panel) {
    QJsonArray channels;
    for (const int channel : panel.channels) {
        channels.append(channel);
    }
    return {{"description", panel.description},
            {"serial", panel.serial},
            {"mask", panel.mask},
            {"channels", channels},
            {"location", qint64(panel.location)}};
}

QJsonObject LiveJson(const StatusBlock& status, const std::vector<int>& present) {
    QJsonArray channels;
    for (const int channel : present) {
        const std::uint8_t state = status[StatusStateOffset(channel)];
        channels.append(QJsonObject{
            {"channel", channel}, {"gpio", (state & 1) != 0}, {"gpi", (state & 2) != 0}});
    }
    return {{"channels", channels},
            {"f1", status[StatusSTATE17]},
            {"f2", status[StatusSTATE18]},
            {"locked", status[StatusLOCKSTATE] != 0}};
}

QJsonObject ConfigurationJson(const ConfigBlock& block, const std::vector<int>& present) {
    QJsonArray channels;
    for (const int channel : present) {
        const std::size_t record = RecordOffset(channel);
        QJsonArray colours;
        for (int state = 0; state < 4; ++state) {
            const ColourEntry entry = ColourEntryOf(block, channel, state);
            colours.append(QJsonObject{
                {"state", StateNames[state]},
                {"colour", ColourText(entry.ScreenColor)},
                {"brightness", QString::fromStdString(BrightnessText(entry.Brightness))},
                {"level", entry.Brightness}});
        }
        const int mode = block[record + RecordMODE];
        channels.append(
            QJsonObject{{"channel", channel},
                        {"mode", mode <= 2 ? QString(ModeNames[mode]) : QString::number(mode)},
                        {"group", block[record + RecordGROUP]},
                        {"duration", block[record + RecordDURATION] / 10.0},
                        {"colours", colours},
                        {"memorySlot", block[record + RecordISMEM] == 1}});
    }
    return {{"restoreOnPowerUp", block[ConfigSAVE] != 0},
            {"keyLockInstalled", block[ConfigLOCK] != 0},
            {"f1", block[ConfigMODE17]},
            {"f1Name", QString::fromStdString(KeyFunctionName(1, block[ConfigMODE17]))},
            {"f2", block[ConfigMODE18]},
            {"f2Name", QString::fromStdString(KeyFunctionName(2, block[ConfigMODE18]))},
            {"channels", channels}};
}

void PrintLive(QTextStream& out, const StatusBlock& status, const std::vector<int>& present) {
    QStringList active;
    for (const int channel : present) {
        const std::uint8_t state = status[StatusStateOffset(channel)];
        if ((state & 3) != 0) {
            active << QString("%1:%2").arg(channel).arg(StateNames[state & 3]);
        }
    }
    out << "live: " << (active.isEmpty() ? QString("no signals") : active.join(' ')) << "; F1 "
        << (status[StatusSTATE17] ? "pressed" : "idle") << ", F2 "
        << (status[StatusSTATE18] ? "pressed" : "idle") << "; key lock "
        << (status[StatusLOCKSTATE] ? "locked" : "unlocked") << "\n";
}

void PrintConfiguration(QTextStream& out, const ConfigBlock& block,
                        const std::vector<int>& present) {
    out << "restore on power up: " << (block[ConfigSAVE] ? "yes" : "no")
        << ", key lock installed: " << (block[ConfigLOCK] ? "yes" : "no")
        << ", F1 function: " << QString::fromStdString(KeyFunctionName(1, block[ConfigMODE17]))
        << ", F2 function: " << QString::fromStdString(KeyFunctionName(2, block[ConfigMODE18]))
        << "\n";
    out << "channel mode  group duration  no signals      GPIO            GPI             "
           "GPIO+GPI\n";
    for (const int channel : present) {
        const std::size_t record = RecordOffset(channel);
        const int mode = block[record + RecordMODE];
        const int group = block[record + RecordGROUP];
        QString line =
            QString("%1").arg(channel, 7) + " " +
            QString(mode <= 2 ? ModeNames[mode] : "?").leftJustified(5) + " " +
            QString(group == 0 ? "n/a" : QString::number(group)).leftJustified(5) + " " +
            QString("%1 s").arg(block[record + RecordDURATION] / 10.0, 0, 'f', 1).leftJustified(9);
        for (int state = 0; state < 4; ++state) {
            const ColourEntry entry = ColourEntryOf(block, channel, state);
            line += " " + (ColourText(entry.ScreenColor) + " " +
                           QString::fromStdString(BrightnessText(entry.Brightness)))
                              .leftJustified(15);
        }
        while (line.endsWith(' ')) {
            line.chop(1);
        }
        out << line << "\n";
    }
}

QStringList Differences(const ConfigBlock& sent, const ConfigBlock& readBack) {
    QStringList names;
    for (std::size_t i = 0; i < ConfigBlockSize; ++i) {
        if (sent[i] != readBack[i]) {
            names << QString("%1 (sent %2, read back %3)")
                         .arg(QString::fromStdString(ConfigFieldName(i)))
                         .arg(sent[i])
                         .arg(readBack[i]);
        }
    }
    return names;
}

Options Parse(const std::vector<std::string>& rawArguments) {
    Options options;
    for (const std::string& raw : rawArguments) {
        const QString argument = QFile::decodeName(QByteArray::fromStdString(raw));
        if (argument == "--all") {
            options.all = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument == "--verify") {
            options.verify = true;
        } else if (argument == "--watch") {
            options.watch = true;
        } else if (argument.startsWith("--panel=")) {
            options.panel = argument.mid(8);
        } else if (argument == "--simulate" || argument.startsWith("--driver=")) {
            continue; // the back-end is chosen before
        } else if (argument.startsWith("--")) {
            throw UsageError("unknown option " + argument.toStdString());
        } else if (options.command.isEmpty()) {
            options.command = argument;
        } else {
            options.operands << argument;
            options.operandBytes.push_back(raw);
        }
    }
    return options;
}

// --panel SERIAL as two arguments becomes --panel=SERIAL.
std::vector<std::string> JoinPanelOption(const std::vector<std::string>& arguments) {
    std::vector<std::string> joined;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--panel") {
            if (i + 1 >= arguments.size()) {
                throw UsageError("--panel needs a serial number");
            }
            joined.push_back("--panel=" + arguments[++i]);
        } else {
            joined.push_back(arguments[i]);
        }
    }
    return joined;
}

// Panels the system sees attached but that cannot be used, with the reason.
std::vector<AttachedChip> UnusablePanels(const std::vector<Panel>& usable) {
    std::vector<QString> serials;
    for (const Panel& panel : usable) {
        serials.push_back(panel.serial);
    }
    std::vector<AttachedChip> chips = FindAttachedChips();
    MarkPanelsInUse(chips, serials);
    std::erase_if(chips, [](const AttachedChip& chip) {
        return !chip.isPanel || chip.state == AttachedChip::State::Usable;
    });
    return chips;
}

int WorstOf(int a, int b) {
    return std::max(a, b);
}

} // namespace

QString CliFailureDocument(const QString& command, int code, const QString& message) {
    return QString::fromUtf8(QJsonDocument(QJsonObject{{"command", command},
                                                       {"ok", false},
                                                       {"exitCode", code},
                                                       {"message", message}})
                                 .toJson());
}

QString CliUsageText() {
    return QString(
        "Usage: quvo8261-cli [options] COMMAND\n"
        "\n"
        "Commands:\n"
        "  list                      the attached panels: description, serial number,\n"
        "                            channel mask and channels, location id\n"
        "  status [--watch]          a panel's configuration and live state; --watch prints\n"
        "                            every change until Ctrl+C\n"
        "  export FILE.gpi           writes the panel's configuration to a settings file\n"
        "  import FILE.gpi [--verify] sends a settings file to the panel (--all: every panel)\n"
        "  factory [--verify]        sends the factory configuration\n"
        "  gpio CHANNEL press|release  presses or releases a channel's GPIO output\n"
        "  gpio off                  switches every GPIO output off\n"
        "\n"
        "Options:\n"
        "  --panel SERIAL            the panel with this serial number, or the part before\n"
        "                            its last dot\n"
        "  --all                     every usable panel, one after another (import,\n"
        "                            factory, gpio off)\n"
        "  --verify                  compares the panel's read-back with what was sent\n"
        "  --json                    one JSON document per command (per change with --watch)\n"
        "  --driver=d2xx|libftdi|sim FTDI's own D2XX library, the open-source libftdi1\n"
        "                            (no download; detaches ftdi_sio itself) or the\n"
        "                            virtual panels; without it D2XX when its library\n"
        "                            loads, else libftdi1\n"
        "  --simulate                the two default virtual panels\n"
        "  --help, --version\n"
        "\n"
        "Without --panel or --all the one attached panel is used.\n"
        "\n"
        "Exit codes: 0 done; 1 no usable panel; 2 usage error; 3 link failure;\n"
        "4 --verify found differences; 5 file error.\n");
}

bool ChooseCliBackEnd(const QStringList& arguments, QString& error) {
    BackEnd choice = BackEnd::Automatic;
    for (const QString& argument : arguments) {
        if (argument == "--simulate") {
            choice = BackEnd::VirtualPanels;
        } else if (argument.startsWith("--driver=")) {
            const std::optional<BackEnd> named = BackEndNamed(argument.mid(9).toStdString());
            if (!named) {
                error = "unknown driver " + argument.mid(9) + " (d2xx, libftdi or sim)";
                return false;
            }
            choice = *named;
        }
    }
    std::string reason;
    if (!UseBackEnd(choice, reason)) {
        error = QString::fromStdString(reason) +
                "Install FTDI's D2XX driver (or set QUVO_D2XX_LIBRARY to its file), make the USB "
                "devices reachable for libftdi1, or use --simulate.";
        return false;
    }
    return true;
}

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err,
           const std::atomic<bool>& interrupted) {
    std::vector<std::string> bytes;
    for (const QString& argument : arguments) {
        bytes.push_back(QFile::encodeName(argument).toStdString());
    }
    return RunCli(bytes, out, err, interrupted, [] { return false; });
}

int RunCli(const std::vector<std::string>& arguments, QTextStream& out, QTextStream& err,
           const std::atomic<bool>& interrupted, const std::function<bool()>& outputClosed) {
    // Every outcome under --json is one JSON document, failures before any panel too.
    const bool json = std::find(arguments.begin(), arguments.end(), "--json") != arguments.end();
    QString command;
    const auto fail = [&](int code, const QString& message) {
        err << message << "\n";
        if (json) {
            out << CliFailureDocument(command, code, message);
        }
        return code;
    };
    try {
        const Options options = Parse(JoinPanelOption(arguments));
        if (options.command.isEmpty()) {
            throw UsageError("no command; see --help");
        }
        command = options.command;
        int code = CliDone;
        QString why;

        if (command == "list") {
            if (!options.operands.isEmpty()) {
                throw UsageError("list takes no operands");
            }
            int inUse = 0;
            const std::vector<Panel> panels = AttachedPanels(inUse);
            if (options.json) {
                QJsonArray list;
                for (const Panel& panel : panels) {
                    list.append(PanelJson(panel));
                }
                QJsonArray unusable;
                for (const AttachedChip& chip : UnusablePanels(panels)) {
                    unusable.append(QJsonObject{{"description", chip.product},
                                                {"serial", chip.serial},
                                                {"reason", EmptyListText({chip})}});
                }
                out << QJsonDocument(
                           QJsonObject{{"panels", list}, {"inUse", inUse}, {"unusable", unusable}})
                           .toJson();
            } else {
                for (const Panel& panel : panels) {
                    out << panel.description << "  " << panel.serial << "  mask " << panel.mask
                        << " (channels " << ChannelList(panel.channels) << ")  location 0x"
                        << Hex(panel.location, 4) << "\n";
                }
                const std::vector<AttachedChip> unusable = UnusablePanels(panels);
                for (const AttachedChip& chip : unusable) {
                    out << EmptyListText({chip}) << "\n";
                }
                if (panels.empty() && unusable.empty()) {
                    out << "No usable QUVO-8261 panel attached." << InUseNote(inUse) << "\n";
                } else if (inUse > 0) {
                    out << InUseNote(inUse).trimmed() << "\n";
                }
            }
            return panels.empty() ? CliNoPanel : CliDone;
        }

        // Checks of the operands before any panel is touched.
        int channel = 0;
        std::uint8_t gpioState = 0;
        ConfigBlock fileBlock{};
        if (command == "status" || command == "factory") {
            if (!options.operands.isEmpty()) {
                throw UsageError(command.toStdString() + " takes no operands");
            }
        } else if (command == "export" || command == "import") {
            if (options.operands.size() != 1) {
                throw UsageError(command.toStdString() + " needs one FILE.gpi");
            }
        } else if (command == "gpio") {
            if (options.operands == QStringList{"off"}) {
                channel = 0;
            } else {
                bool number = false;
                channel = options.operands.value(0).toInt(&number);
                const QString action = options.operands.value(1);
                if (options.operands.size() != 2 || !number || channel < 1 || channel > 16 ||
                    (action != "press" && action != "release")) {
                    throw UsageError("gpio needs CHANNEL (1..16) and press or release, or off");
                }
                gpioState = action == "press" ? 1 : 0;
            }
        } else {
            throw UsageError("unknown command " + command.toStdString());
        }
        if (options.watch && command != "status") {
            throw UsageError("--watch goes with status only");
        }
        if (options.verify && command != "import" && command != "factory") {
            throw UsageError("--verify goes with import and factory only");
        }
        try {
            if (command == "import") {
                fileBlock = ReadSettingsFile(options.operandBytes[0]);
            }
            // A file that cannot take the export is refused before the panel is read.
            if (command == "export") {
                ResolveRegularFile(options.operandBytes[0], "write");
            }
        } catch (const std::exception& error) {
            return fail(CliFileError, QString::fromStdString(error.what()));
        }
        if (command == "factory") {
            LoadFactoryValues(fileBlock);
        }

        const bool allAllowed =
            command == "import" || command == "factory" || (command == "gpio" && channel == 0);
        const std::vector<Panel> panels = ChosenPanels(options, allAllowed, code, why);
        if (panels.empty()) {
            return fail(code, why);
        }

        std::vector<PanelResult> results;
        for (const Panel& panel : panels) {
            PanelResult result;
            result.panel = panel;
            // Ctrl+C between panels: the panels not yet begun are left as they are.
            if (interrupted.load()) {
                result.code = CliLinkFailure;
                result.message = "not done: interrupted";
                results.push_back(result);
                continue;
            }
            PanelSession session(panel.location);
            if (!session.IsOpen()) {
                result.code = CliLinkFailure;
                result.message = QString::fromStdString(session.SetUpError());
                results.push_back(result);
                continue;
            }
            ConfigBlock block{};
            ConfigBlock readBack{};
            StatusBlock status{};
            bool ok = true;
            if (command == "status") {
                ok = session.ReadConfiguration(block, status);
                if (ok && options.json) {
                    out << QJsonDocument(QJsonObject{{"panel", PanelJson(panel)},
                                                     {"configuration",
                                                      ConfigurationJson(block, panel.channels)},
                                                     {"live", LiveJson(status, panel.channels)}})
                               .toJson(QJsonDocument::Compact)
                        << "\n";
                } else if (ok) {
                    out << panel.description << "  " << panel.serial << "\n";
                    PrintConfiguration(out, block, panel.channels);
                    PrintLive(out, status, panel.channels);
                }
                out.flush();
                StatusBlock shown = status;
                // Until Ctrl+C, or until nobody reads the output any more (`| head -1`).
                while (ok && options.watch && !interrupted.load() && !outputClosed() &&
                       out.status() == QTextStream::Ok) {
                    ok = session.PollStatus(status);
                    if (ok && status != shown) {
                        shown = status;
                        if (options.json) {
                            out << QJsonDocument(LiveJson(status, panel.channels))
                                       .toJson(QJsonDocument::Compact)
                                << "\n";
                        } else {
                            PrintLive(out, status, panel.channels);
                        }
                        out.flush();
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                if (ok && options.watch && !options.json) {
                    out << "watch ended\n";
                }
            } else if (command == "export") {
                ok = session.ReadConfiguration(block, status);
                if (ok) {
                    try {
                        WriteSettingsFile(options.operandBytes[0], block);
                        result.message = "exported to " + options.operands[0];
                    } catch (const std::exception& error) {
                        result.code = CliFileError;
                        result.message = QString::fromStdString(error.what());
                    }
                }
            } else if (command == "import" || command == "factory") {
                ok = session.WriteConfiguration(fileBlock, readBack, status);
                if (ok) {
                    result.differences = Differences(fileBlock, readBack);
                    if (options.verify && !result.differences.isEmpty()) {
                        result.code = CliVerifyDifferences;
                        result.message = "the panel stores something else";
                    } else {
                        result.message = options.verify ? "sent and verified" : "sent";
                        result.differences = options.verify ? result.differences : QStringList();
                    }
                }
            } else if (command == "gpio") {
                ok = channel == 0 ? session.GpioOff(status)
                                  : session.SetGpio(std::uint8_t(channel), gpioState, status);
                if (ok) {
                    result.message = channel == 0 ? "all GPIO outputs off"
                                                  : QString("channel %1 %2")
                                                        .arg(channel)
                                                        .arg(gpioState ? "pressed" : "released");
                }
            }
            if (!ok) {
                result.code = CliLinkFailure;
                result.message = QString::fromStdString(session.FailureText());
            }
            results.push_back(result);
        }

        int worst = CliDone;
        QJsonArray jsonResults;
        for (const PanelResult& result : results) {
            worst = WorstOf(worst, result.code);
            QString message = result.message;
            message.replace("\r\n\r\n", " ").replace("\r\n", " ");
            if (options.json) {
                jsonResults.append(
                    QJsonObject{{"serial", result.panel.serial},
                                {"ok", result.code == CliDone},
                                {"exitCode", result.code},
                                {"message", message},
                                {"differences", QJsonArray::fromStringList(result.differences)}});
            } else if (command != "status" || result.code != CliDone) {
                (result.code == CliDone ? out : err)
                    << result.panel.serial << ": " << message << "\n";
                for (const QString& difference : result.differences) {
                    (result.code == CliDone ? out : err) << "  " << difference << "\n";
                }
            }
        }
        if (options.json && command != "status") {
            out << QJsonDocument(QJsonObject{{"command", command}, {"results", jsonResults}})
                       .toJson();
        } else if (options.json && worst != CliDone) {
            out << QJsonDocument(QJsonObject{{"command", command},
                                             {"ok", false},
                                             {"exitCode", worst},
                                             {"results", jsonResults}})
                       .toJson();
        }
        return worst;
    } catch (const UsageError& error) {
        return fail(CliUsageError, QString("quvo8261-cli: ") + error.what());
    } catch (const std::exception& error) {
        return fail(CliLinkFailure, QString("quvo8261-cli: ") + error.what());
    }
}
