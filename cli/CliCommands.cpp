// SPDX-License-Identifier: Apache-2.0
#include "cli/CliCommands.h"

#include "cli/Cli.h"
#include "cli/CliReport.h"
#include "cli/PanelProcesses.h"
#include "cli/PanelSession.h"
#include "cli/Profiles.h"
#include "cli/ToolPlatform.h"
#include "link/D2XXUnit_mod.h"
#include "link/MachineReport.h"
#include "link/PanelDiagnosis.h"
#include "link/PanelFilter.h"
#include "model/RegularFile.h"
#include "model/SettingsFiles.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <chrono>
#include <map>
#include <thread>

namespace {

// The work of a command on one opened panel; false on a link failure.
using PanelWork = std::function<bool(PanelSession&, const CliPanel&, PanelResult&)>;

std::vector<CliPanel> AttachedPanels() {
    // Without a device list there is no usable panel, whatever the cause.
    if (EnumerateDevices() != FT_OK) {
        throw CliFailure(CliNoPanel,
                         QCoreApplication::translate("TFormMain", "Cannot get USB Device List"));
    }
    std::vector<CliPanel> panels;
    for (const TGPIItem& item : ListedPanels()) {
        CliPanel panel{item.LocationId,
                       QString::fromStdString(item.SerialNumber),
                       QString::fromStdString(item.Description),
                       QString::fromStdString(SplitAtLastDot(item.SerialNumber).second),
                       {}};
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

QString InUseNote() {
    const int inUse = DevicesInUse();
    return inUse == 0 ? QString()
                      : " " + ToolTexts::tr("%1 FTDI device(s) are in use by another program, "
                                            "perhaps the QUVO-8261 Settings window.")
                                  .arg(inUse);
}

// The panels the system sees attached that are not listed (no access to their
// node, held by the kernel's driver or another program), each with its state.
std::vector<AttachedChip> UnusablePanels(const std::vector<CliPanel>& listed) {
    std::vector<QString> serials;
    for (const CliPanel& panel : listed) {
        serials.push_back(panel.serial);
    }
    std::vector<AttachedChip> chips = FindAttachedChips();
    MarkPanelsInUse(chips, serials);
    std::erase_if(chips, [](const AttachedChip& chip) {
        return !chip.isPanel || chip.state == AttachedChip::State::Usable;
    });
    return chips;
}

// Why the panels `serialPattern` matches (or any) are attached but not listed,
// or else the note on devices in use.
QString WhyNotListed(const std::vector<CliPanel>& listed, const QString& serialPattern) {
    std::vector<AttachedChip> chips = UnusablePanels(listed);
    std::erase_if(chips, [&](const AttachedChip& chip) {
        return !serialPattern.isEmpty() &&
               !SerialNameMatches(chip.serial.toStdString(), serialPattern.toStdString());
    });
    return chips.empty() ? InUseNote() : " " + EmptyListText(chips);
}

QString NoPanelText() {
    return ToolTexts::tr("No usable QUVO-8261 panel attached.");
}

void Refuse(bool refused, const char* why) {
    if (refused) {
        throw BadCommandLine(why);
    }
}

std::vector<CliPanel> ChosenPanels(const CliInvocation& invocation, bool allAllowed) {
    const std::vector<CliPanel> panels = AttachedPanels();
    if (invocation.all) {
        Refuse(!allAllowed, "--all goes with import, factory, apply and gpio off only");
    } else if (!invocation.panel.isEmpty()) {
        for (const CliPanel& panel : panels) {
            if (SerialNameMatches(panel.serial.toStdString(), invocation.panel.toStdString())) {
                return {panel};
            }
        }
        throw CliFailure(
            CliNoPanel,
            ToolTexts::tr("No usable panel with serial number %1.").arg(invocation.panel) +
                WhyNotListed(panels, invocation.panel));
    } else if (panels.size() > 1) {
        QStringList serials;
        for (const CliPanel& panel : panels) {
            serials << panel.serial;
        }
        throw BadCommandLine("several panels are attached (" + serials.join(", ").toStdString() +
                             "): choose one with --panel SERIAL or all with --all");
    }
    if (panels.empty()) {
        throw CliFailure(CliNoPanel, NoPanelText() + WhyNotListed(panels, {}));
    }
    return panels;
}

PanelResult RunOnPanel(const CliContext& context, const CliPanel& panel, const PanelWork& work) {
    PanelResult result{panel, CliDone, {}, {}};
    // Ctrl+C between panels: the panels not yet begun are left as they are.
    if (context.interrupted.load()) {
        result.code = CliLinkFailure;
        result.message = NotDoneText();
        return result;
    }
    PanelSession session(panel.location);
    if (!session.IsOpen()) {
        result.code = CliLinkFailure;
        result.message = QString::fromStdString(session.SetUpError());
    } else if (!work(session, panel, result)) {
        result.code = CliLinkFailure;
        result.message = QString::fromStdString(session.FailureText());
    }
    return result;
}

// Each panel's result line (or JSON), and the largest exit code of all.
int Report(const CliContext& context, const std::vector<PanelResult>& results) {
    const CliInvocation& invocation = context.invocation;
    int worst = CliDone;
    QJsonArray jsonResults;
    for (const PanelResult& result : results) {
        worst = std::max(worst, result.code);
        QString message = result.message;
        message.replace("\r\n\r\n", " ").replace("\r\n", " ");
        if (invocation.json) {
            jsonResults.append(
                QJsonObject{{"serial", result.panel.serial},
                            {"ok", result.code == CliDone},
                            {"exitCode", result.code},
                            {"message", message},
                            {"differences", QJsonArray::fromStringList(result.differences)}});
        } else if (invocation.command != "status" || result.code != CliDone) {
            QTextStream& stream = result.code == CliDone ? context.out : context.err;
            stream << result.panel.serial << ": " << message << "\n";
            for (const QString& difference : result.differences) {
                stream << "  " << difference << "\n";
            }
        }
    }
    QJsonObject document{{"command", invocation.command}, {"results", jsonResults}};
    if (invocation.command == "status" && worst != CliDone) {
        document.insert("ok", false);
        document.insert("exitCode", worst);
    }
    if (invocation.json && (invocation.command != "status" || worst != CliDone)) {
        context.out << QJsonDocument(document).toJson();
    }
    return worst;
}

// The options that give a panel's process of `--all` the back-end this one chose.
QStringList BackEndArguments(BackEnd backEnd, int virtualPanels) {
    switch (backEnd) {
    case BackEnd::VirtualPanels:
        return {QString("--simulate=%1").arg(virtualPanels)};
    case BackEnd::D2xx:
        return {"--driver=d2xx"};
    case BackEnd::LibFtdi:
        return {"--driver=libftdi"};
    case BackEnd::Automatic:
        break;
    }
    return {};
}

// A command for one panel only.
int RunOnPanels(CliContext& context, const PanelWork& work) {
    const std::vector<CliPanel> panels = ChosenPanels(context.invocation, false);
    std::vector<PanelResult> results;
    for (const CliPanel& panel : panels) {
        results.push_back(RunOnPanel(context, panel, work));
    }
    return Report(context, results);
}

void NeedOperands(const CliInvocation& invocation, qsizetype count, const char* why) {
    Refuse(invocation.operands.size() != count, why);
}

// A file the command needs, checked before any panel is touched.
template <typename Check>
auto FileChecked(Check check) {
    try {
        return check();
    } catch (const std::exception& error) {
        throw CliFailure(CliFileError, QString::fromStdString(error.what()));
    }
}

// Documents are indented as every command's are, but for --watch, whose
// documents are one per line (JSON Lines).
QJsonDocument::JsonFormat JsonLayout(const CliInvocation& invocation) {
    return invocation.watch ? QJsonDocument::Compact : QJsonDocument::Indented;
}

void PrintStatus(CliContext& context, const CliPanel& panel, const ConfigBlock& block,
                 const StatusBlock& status) {
    if (context.invocation.json) {
        context.out << QJsonDocument(
                           QJsonObject{{"panel", PanelJson(panel)},
                                       {"configuration", ConfigurationJson(block, panel.channels)},
                                       {"live", LiveJson(status, panel.channels)}})
                           .toJson(JsonLayout(context.invocation));
        // Under --watch every document is one line, the changes that follow too.
        if (context.invocation.watch) {
            context.out << "\n";
        }
    } else {
        context.out << panel.description << "  " << panel.serial << "\n";
        PrintConfiguration(context.out, block, panel.channels);
        PrintLive(context.out, status, panel.channels);
    }
    context.out.flush();
}

// Every change of the live state until Ctrl+C, or until nobody reads the output
// any more (`| head -1`).
bool WatchStatus(CliContext& context, PanelSession& session, const CliPanel& panel,
                 StatusBlock status) {
    StatusBlock shown = status;
    while (!context.interrupted.load() && !context.outputClosed() &&
           context.out.status() == QTextStream::Ok) {
        if (!session.PollStatus(status)) {
            return false;
        }
        if (status != shown) {
            shown = status;
            if (context.invocation.json) {
                context.out << QJsonDocument(LiveJson(status, panel.channels))
                                   .toJson(QJsonDocument::Compact)
                            << "\n";
            } else {
                PrintLive(context.out, status, panel.channels);
            }
            context.out.flush();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!context.invocation.json) {
        context.out << "watch ended\n";
    }
    return true;
}

int List(CliContext& context) {
    NeedOperands(context.invocation, 0, "list takes no operands");
    const std::vector<CliPanel> panels = AttachedPanels();
    // Panels the system sees attached but that cannot be used, with the reason.
    const std::vector<AttachedChip> unusable = UnusablePanels(panels);
    if (context.invocation.json) {
        QJsonArray list;
        for (const CliPanel& panel : panels) {
            list.append(PanelJson(panel));
        }
        QJsonArray reasons;
        for (const AttachedChip& chip : unusable) {
            reasons.append(QJsonObject{{"description", chip.product},
                                       {"serial", chip.serial},
                                       {"reason", EmptyListText({chip})}});
        }
        context.out << QJsonDocument(QJsonObject{{"panels", list},
                                                 {"inUse", DevicesInUse()},
                                                 {"unusable", reasons}})
                           .toJson();
        return panels.empty() ? CliNoPanel : CliDone;
    }
    for (const CliPanel& panel : panels) {
        context.out << panel.description << "  " << panel.serial << "  mask " << panel.mask
                    << " (channels " << ChannelList(panel.channels) << ")  location 0x"
                    << Hex(panel.location, 4) << "\n";
    }
    for (const AttachedChip& chip : unusable) {
        context.out << EmptyListText({chip}) << "\n";
    }
    if (panels.empty() && unusable.empty()) {
        context.out << NoPanelText() << InUseNote() << "\n";
    } else if (DevicesInUse() > 0) {
        context.out << InUseNote().trimmed() << "\n";
    }
    return panels.empty() ? CliNoPanel : CliDone;
}

int Status(CliContext& context) {
    NeedOperands(context.invocation, 0, "status takes no operands");
    return RunOnPanels(context, [&](PanelSession& session, const CliPanel& panel, PanelResult&) {
        ConfigBlock block{};
        StatusBlock status{};
        if (!session.ReadConfiguration(block, status)) {
            return false;
        }
        PrintStatus(context, panel, block, status);
        return !context.invocation.watch || WatchStatus(context, session, panel, status);
    });
}

int Export(CliContext& context) {
    NeedOperands(context.invocation, 1, "export needs one FILE.gpi");
    const std::string file = context.invocation.operandBytes[0];
    // A file that cannot take the export is refused before the panel is read.
    FileChecked([&] { return ResolveRegularFile(file, "write"); });
    return RunOnPanels(context, [&](PanelSession& session, const CliPanel&, PanelResult& result) {
        ConfigBlock block{};
        StatusBlock status{};
        if (!session.ReadConfiguration(block, status)) {
            return false;
        }
        try {
            WriteSettingsFile(file, block);
            result.message = ToolTexts::tr("exported to %1").arg(context.invocation.operands[0]);
        } catch (const std::exception& error) {
            result.code = CliFileError;
            result.message = QString::fromStdString(error.what());
        }
        return true;
    });
}

// Writes the block and reads it back. A read-back that differs fails where
// `verify` asks for it; otherwise the result says `done`.
bool WriteConfiguration(PanelSession& session, const ConfigBlock& block, bool verify,
                        const QString& done, PanelResult& result) {
    ConfigBlock readBack{};
    StatusBlock status{};
    if (!session.WriteConfiguration(block, readBack, status)) {
        return false;
    }
    const QStringList differences = Differences(block, readBack);
    if (verify && !differences.isEmpty()) {
        result.code = CliVerifyDifferences;
        result.message = ToolTexts::tr("the panel stores something else");
        result.differences = differences;
    } else {
        result.message = done;
    }
    return true;
}

// A profile applied: written only where the panel holds something else, so a
// panel that is right is left untouched (no flash write, no flicker).
bool ApplyProfile(const PanelTask& task, PanelSession& session, PanelResult& result) {
    ConfigBlock held{};
    StatusBlock status{};
    if (!session.ReadConfiguration(held, status)) {
        return false;
    }
    const QStringList differences = ComparedWithFile(held, task.block);
    if (differences.isEmpty()) {
        result.message = ToolTexts::tr("unchanged");
        return true;
    }
    if (task.dryRun) {
        result.message = ToolTexts::tr("differs from its profile");
        result.differences = differences;
        return true;
    }
    return WriteConfiguration(session, task.block, true, ToolTexts::tr("applied"), result);
}

// The work of a task of `--all` on one panel. Sending a configuration: with
// --verify a read-back that differs fails.
PanelWork WorkOf(const PanelTask& task) {
    if (task.kind == PanelTask::Kind::ApplyProfile) {
        return [task](PanelSession& session, const CliPanel&, PanelResult& result) {
            return ApplyProfile(task, session, result);
        };
    }
    if (task.kind == PanelTask::Kind::GpioOff) {
        return [](PanelSession& session, const CliPanel&, PanelResult& result) {
            StatusBlock status{};
            result.message = ToolTexts::tr("all GPIO outputs off");
            return session.GpioOff(status);
        };
    }
    return [task](PanelSession& session, const CliPanel&, PanelResult& result) {
        return WriteConfiguration(
            session, task.block, task.verify,
            task.verify ? ToolTexts::tr("sent and verified") : ToolTexts::tr("sent"), result);
    };
}

// Tasks that may go to many panels, one per panel: with `--all` and a back-end
// to hand on, each panel gets a process of its own; else one after another here.
std::vector<PanelResult> RunTasks(CliContext& context, const std::vector<CliPanel>& panels,
                                  const std::vector<PanelTask>& tasks) {
    const CliProcess& process = context.process;
    if (context.invocation.all && panels.size() > 1 && process.backEnd) {
        // Under --json the panels' processes word their results untranslated too.
        QStringList arguments = BackEndArguments(*process.backEnd, process.virtualPanels);
        if (context.invocation.json) {
            arguments << "--json";
        }
        return RunPanelsApart(context.invocation.command, tasks, panels, arguments,
                              context.interrupted);
    }
    std::vector<PanelResult> results;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        results.push_back(RunOnPanel(context, panels[i], WorkOf(tasks[i])));
    }
    return results;
}

// The same task for every chosen panel.
int RunTask(CliContext& context, const PanelTask& task) {
    const std::vector<CliPanel> panels = ChosenPanels(context.invocation, true);
    return Report(context, RunTasks(context, panels, std::vector<PanelTask>(panels.size(), task)));
}

int Send(CliContext& context, const ConfigBlock& block) {
    return RunTask(context, {PanelTask::Kind::SendConfiguration, block, context.invocation.verify});
}

int Import(CliContext& context) {
    NeedOperands(context.invocation, 1, "import needs one FILE.gpi");
    return Send(context,
                FileChecked([&] { return ReadSettingsFile(context.invocation.operandBytes[0]); }));
}

// Each chosen panel's profile: read and checked here, once, and applied where
// the panel differs. A panel without a profile is no failure.
int Apply(CliContext& context) {
    NeedOperands(context.invocation, 0, "apply takes no operands");
    const std::filesystem::path folder = ProfileFolder(context.invocation.profiles);
    const std::vector<CliPanel> panels = ChosenPanels(context.invocation, true);
    std::vector<PanelResult> results(panels.size());
    std::vector<CliPanel> withProfile;
    std::vector<PanelTask> tasks;
    std::vector<std::size_t> places;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        results[i].panel = panels[i];
        const std::optional<std::filesystem::path> profile = ProfileOf(folder, panels[i].serial);
        if (!profile) {
            results[i].message = ToolTexts::tr("no profile");
            continue;
        }
        try {
            tasks.push_back({PanelTask::Kind::ApplyProfile, ReadSettingsFile(*profile, true), false,
                             context.invocation.dryRun});
        } catch (const std::exception& error) {
            results[i].code = CliFileError;
            results[i].message = QString::fromStdString(error.what());
            continue;
        }
        withProfile.push_back(panels[i]);
        places.push_back(i);
    }
    const std::vector<PanelResult> applied = RunTasks(context, withProfile, tasks);
    for (std::size_t k = 0; k < applied.size(); ++k) {
        results[places[k]] = applied[k];
    }
    return Report(context, results);
}

// Why no panel is listed, as one report: on standard output or into --report's
// file. No usable panel is exit code 1, as for list.
int Diagnose(CliContext& context) {
    const CliInvocation& invocation = context.invocation;
    Refuse(!invocation.command.isEmpty(), "--diagnose takes no command");
    const MachineFacts facts = ReadMachineFacts(
        QString("quvo8261-cli ") + QUVO_VERSION,
        BackEndWords(invocation.backEnd, context.process.backEnd, context.process.d2xxNotLoaded));
    const QString report = MachineReport(facts);
    if (invocation.report.isEmpty()) {
        context.out << report;
    } else {
        FileChecked([&] { WriteRegularFile(invocation.reportBytes, report.toStdString()); });
        context.out << ToolTexts::tr("report written to %1").arg(invocation.report) << "\n";
    }
    return facts.library.usableSerials.empty() ? CliNoPanel : CliDone;
}

int Factory(CliContext& context) {
    NeedOperands(context.invocation, 0, "factory takes no operands");
    ConfigBlock block{};
    LoadFactoryValues(block);
    return Send(context, block);
}

int Gpio(CliContext& context) {
    const QStringList& operands = context.invocation.operands;
    if (operands == QStringList{"off"}) {
        return RunTask(context, {PanelTask::Kind::GpioOff, {}, false});
    }
    bool number = false;
    const int channel = operands.value(0).toInt(&number);
    const QString action = operands.value(1);
    Refuse(operands.size() != 2 || !number || channel < 1 || channel > ChannelCount ||
               (action != "press" && action != "release"),
           "gpio needs CHANNEL (1..16) and press or release, or off");
    const bool press = action == "press";
    return RunOnPanels(context, [&](PanelSession& session, const CliPanel&, PanelResult& result) {
        StatusBlock status{};
        result.message =
            (press ? ToolTexts::tr("channel %1 pressed") : ToolTexts::tr("channel %1 released"))
                .arg(channel);
        return session.SetGpio(std::uint8_t(channel), press ? 1 : 0, status);
    });
}

struct Command {
    int (*run)(CliContext&);
    bool takesVerify;
    bool takesWatch;
};

const std::map<QString, Command>& Commands() {
    static const std::map<QString, Command> commands{
        {"list", {List, false, false}},      {"status", {Status, false, true}},
        {"export", {Export, false, false}},  {"import", {Import, true, false}},
        {"factory", {Factory, true, false}}, {"gpio", {Gpio, false, false}},
        {"apply", {Apply, false, false}},
    };
    return commands;
}

// One panel's process of `--all`: the task handed over on standard input, on
// the panel named there, reported as one JSON document.
int RunPanelProcess(CliContext& context) {
    PanelHandOver handOver;
    try {
        handOver =
            ParseHandOver(context.process.readInput ? context.process.readInput() : QByteArray());
    } catch (const BadHandOver& error) {
        throw CliFailure(CliUsageError, QString("quvo8261-cli: ") + error.what());
    }
    CliInvocation invocation = context.invocation;
    invocation.command = handOver.command;
    invocation.json = true;
    CliContext panelContext{invocation,          context.out,          context.err,
                            context.interrupted, context.outputClosed, context.process};
    return Report(panelContext, {RunOnPanel(panelContext, handOver.panel, WorkOf(handOver.task))});
}

} // namespace

int RunCliCommand(CliContext& context) {
    const CliInvocation& invocation = context.invocation;
    if (invocation.panelProcess) {
        return RunPanelProcess(context);
    }
    Refuse(!invocation.report.isEmpty() && !invocation.diagnose, "--report goes with --diagnose");
    if (invocation.diagnose) {
        return Diagnose(context);
    }
    Refuse(invocation.command.isEmpty(), "no command; see --help");
    const auto found = Commands().find(invocation.command);
    if (found == Commands().end()) {
        throw BadCommandLine("unknown command " + invocation.command.toStdString());
    }
    Refuse(invocation.watch && !found->second.takesWatch, "--watch goes with status only");
    Refuse(invocation.verify && !found->second.takesVerify,
           "--verify goes with import and factory only");
    Refuse((invocation.dryRun || !invocation.profiles.isEmpty()) && invocation.command != "apply",
           "--dry-run and --profiles go with apply only");
    return found->second.run(context);
}
