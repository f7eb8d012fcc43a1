// SPDX-License-Identifier: Apache-2.0
#include "cli/Cli.h"
#include "cli/PanelsApart.h"
#include "link/D2XXUnit_mod.h"
#include "model/SettingsFiles.h"
#include "sim/VirtualBus.h"
#include "tests/support/FactorySettingsFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/LinkReceiver.h"
#include "tests/support/VirtualBusTest.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

class Cli : public VirtualBusTest {
protected:
    std::shared_ptr<VirtualPanel> Add(std::uint32_t location, const std::string& serial,
                                      const std::string& description = "QUVO-8261-16") {
        return VirtualBus::Instance().AddDevice({location, serial, description});
    }
    // Runs the tool in this process; keeps what it printed.
    int Run(const QStringList& arguments) {
        std::vector<std::string> bytes;
        for (const QString& argument : arguments) {
            bytes.push_back(argument.toStdString());
        }
        return RunBytes(bytes);
    }
    int RunBytes(const std::vector<std::string>& arguments) {
        output.clear();
        errors.clear();
        QTextStream out(&output);
        QTextStream err(&errors);
        const std::atomic<bool> interrupted{false};
        const int code = RunCli(arguments, out, err, interrupted, [] { return false; });
        out.flush();
        err.flush();
        return code;
    }
    QJsonObject Json() const { return QJsonDocument::fromJson(output.toUtf8()).object(); }
    static std::vector<std::uint8_t> Codes(VirtualPanel& panel) {
        std::vector<std::uint8_t> codes;
        for (const auto& frame : panel.ReceivedFrames()) {
            codes.push_back(frame.bytes[3]);
        }
        return codes;
    }

    QString output;
    QString errors;
    QTemporaryDir folder;
};

TEST_F(Cli, ListsPanelsAsTextAndJson) {
    Add(0x1121, "QV826100.FFFF");
    Add(0x1122, "QV826101.A000", "QUVO-8261-08");
    Add(0x1123, "OTHER.FFFF", "Some other device");
    EXPECT_EQ(Run({"list"}), CliDone);
    EXPECT_EQ(output, "QUVO-8261-16  QV826100.FFFF  mask FFFF (channels 1-16)  location 0x1121\n"
                      "QUVO-8261-08  QV826101.A000  mask A000 (channels 1 3)  location 0x1122\n");
    EXPECT_EQ(Run({"list", "--json"}), CliDone);
    const QJsonArray panels = Json()["panels"].toArray();
    ASSERT_EQ(panels.size(), 2);
    EXPECT_EQ(panels[1].toObject()["serial"].toString(), "QV826101.A000");
    EXPECT_EQ(panels[1].toObject()["channels"].toArray(), (QJsonArray{1, 3}));
    EXPECT_EQ(panels[0].toObject()["location"].toInt(), 0x1121);
    EXPECT_EQ(Json()["inUse"].toInt(), 0);
}

TEST_F(Cli, StatusShowsConfigurationAndLiveState) {
    auto panel = Add(0x1121, "QV826100.FFFF");
    ConfigBlock block;
    LoadFactoryValues(block);
    block[RecordOffset(4) + RecordMODE] = ModePulse;
    block[RecordOffset(4) + RecordDURATION] = 12;
    block[RecordOffset(4) + RecordGROUP] = 3;
    panel->SetConfiguration(block);
    panel->SetGpi(2, true);
    panel->SetLockState(1);
    EXPECT_EQ(Run({"status"}), CliDone);
    EXPECT_TRUE(output.contains("      4 Pulse 3     1.2 s     #FFFFFF min     #00FF00 75%"))
        << output.toStdString();
    EXPECT_TRUE(output.contains("live: 2:GPI; F1 idle, F2 idle; key lock locked"))
        << output.toStdString();

    EXPECT_EQ(Run({"status", "--json"}), CliDone);
    const QJsonObject channel4 =
        Json()["configuration"].toObject()["channels"].toArray()[3].toObject();
    EXPECT_EQ(channel4["mode"].toString(), "Pulse");
    EXPECT_EQ(channel4["group"].toInt(), 3);
    EXPECT_DOUBLE_EQ(channel4["duration"].toDouble(), 1.2);
    const QJsonObject gpi = channel4["colours"].toArray()[2].toObject();
    EXPECT_EQ(gpi["state"].toString(), "GPI");
    EXPECT_EQ(gpi["colour"].toString(), "#FF0000");
    EXPECT_EQ(gpi["brightness"].toString(), "75%");
    const QJsonObject live = Json()["live"].toObject();
    EXPECT_TRUE(live["channels"].toArray()[1].toObject()["gpi"].toBool());
    EXPECT_TRUE(live["locked"].toBool());
}

TEST_F(Cli, ExportImportVerifyAndGpio) {
    auto panel = Add(0x1121, "QV826100.FFFF");
    const QString file = folder.filePath("rack.gpi");
    EXPECT_EQ(Run({"export", file}), CliDone);
    EXPECT_EQ(ReadSettingsFile(FilePath(file)), panel->Configuration())
        << "as \"to File...\" writes it";

    ConfigBlock changed = ReadSettingsFile(FilePath(file));
    changed[RecordOffset(9) + RecordMODE] = ModeFixed;
    WriteSettingsFile(FilePath(file), changed);
    panel->ClearReceivedFrames();
    EXPECT_EQ(Run({"import", file, "--verify"}), CliDone) << errors.toStdString();
    EXPECT_EQ(Codes(*panel), (std::vector<std::uint8_t>{4, 3}));
    EXPECT_EQ(panel->Configuration(), changed);
    EXPECT_EQ(output, "QV826100.FFFF: sent and verified\n");

    panel->ClearReceivedFrames();
    EXPECT_EQ(Run({"gpio", "5", "press"}), CliDone);
    EXPECT_EQ(Run({"gpio", "5", "release"}), CliDone);
    EXPECT_EQ(Run({"gpio", "off"}), CliDone);
    const auto frames = panel->ReceivedFrames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].bytes, (std::vector<std::uint8_t>{0xC7, 0xD0, 0xC9, 2, 5, 1, 0xC5}));
    EXPECT_EQ(frames[1].bytes, (std::vector<std::uint8_t>{0xC7, 0xD0, 0xC9, 2, 5, 0, 0xC5}));
    EXPECT_EQ(frames[2].bytes, (std::vector<std::uint8_t>{0xC7, 0xD0, 0xC9, 6, 0xC5}));

    EXPECT_EQ(Run({"factory", "--json"}), CliDone);
    ConfigBlock factory;
    LoadFactoryValues(factory);
    EXPECT_EQ(panel->Configuration(), factory);
    EXPECT_TRUE(Json()["results"].toArray()[0].toObject()["ok"].toBool());
}

TEST_F(Cli, AllPanelsOneAfterAnotherAndOneFailureStopsNoOther) {
    auto first = Add(0x01, "A.FFFF");
    auto second = Add(0x02, "B.FFFF");
    auto third = Add(0x03, "C.FFFF");
    second->SetFault({LineFault::NoAnswer});
    const QString file = folder.filePath("all.gpi");
    ConfigBlock block;
    LoadFactoryValues(block);
    block[ConfigSAVE] = 1;
    WriteSettingsFile(FilePath(file), block);
    EXPECT_EQ(Run({"import", file, "--all"}), CliLinkFailure);
    EXPECT_EQ(output, "A.FFFF: sent\nC.FFFF: sent\n");
    EXPECT_EQ(errors, "B.FFFF: USB Connection Failed (read error = 32:0)\n");
    EXPECT_EQ(first->Configuration(), block);
    EXPECT_EQ(third->Configuration(), block);
}

TEST_F(Cli, VerifyNamesEveryFieldThePanelStoredOtherwise) {
    auto panel = Add(0x1121, "QV826100.FFFF");
    panel->SetStorageFault([](ConfigBlock& stored) {
        stored[RecordOffset(3) + RecordDURATION] = 20;
        stored[ColourOffset(5, 1) + ColourRed] = 5;
    });
    EXPECT_EQ(Run({"factory", "--verify"}), CliVerifyDifferences);
    EXPECT_TRUE(errors.contains("GPIO3 DURATION (sent 3, read back 20)")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("GPIO5 COLOR1_R (sent 0, read back 5)")) << errors.toStdString();
}

TEST_F(Cli, UsageErrorsAndMissingPanelsSayWhyInOneLine) {
    Add(0x01, "A.FFFF");
    Add(0x02, "B.FFFF");
    const std::pair<QStringList, int> cases[] = {
        {{"bogus"}, CliUsageError},
        {{"gpio", "17", "press", "--panel", "A"}, CliUsageError},
        {{"gpio", "3", "push", "--panel", "A"}, CliUsageError},
        {{"status", "--panel", "NOPE"}, CliNoPanel},
        {{"status"}, CliUsageError},
        {{"status", "--all"}, CliUsageError},
        {{"import"}, CliUsageError},
        {{"list", "--frobnicate"}, CliUsageError},
        {{"list", "-q"}, CliUsageError},
        {{"status", "--panel"}, CliUsageError},
        {{"status", "--watch", "--verify", "--panel", "A"}, CliUsageError},
        {{"import", folder.filePath("missing.gpi"), "--all"}, CliFileError},
    };
    for (const auto& [arguments, code] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(Run(arguments), code);
        EXPECT_EQ(errors.count('\n'), 1) << errors.toStdString();
    }
    VirtualBus::Instance().RemoveAllDevices();
    Add(0x01, "A.FFFF");
    VirtualBus::Instance().SetOpenElsewhere(0x01, true);
    EXPECT_EQ(Run({"status"}), CliNoPanel);
    EXPECT_TRUE(errors.contains("in use by another program")) << errors.toStdString();
}

TEST_F(Cli, UnderJsonEveryOutcomeIsOneJsonDocument) {
    Add(0x01, "A.FFFF");
    Add(0x02, "B.FFFF");
    const std::pair<QStringList, int> cases[] = {
        {{"bogus"}, CliUsageError},
        {{"status", "--panel", "NOPE"}, CliNoPanel},
        {{"import", folder.filePath("missing.gpi"), "--all"}, CliFileError},
        {{"gpio", "off", "--all"}, CliDone},
    };
    for (const auto& [arguments, code] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(Run(arguments + QStringList{"--json"}), code);
        QJsonParseError parsed{};
        const QJsonDocument document = QJsonDocument::fromJson(output.toUtf8(), &parsed);
        ASSERT_EQ(parsed.error, QJsonParseError::NoError) << output.toStdString();
        if (code != CliDone) {
            EXPECT_FALSE(document.object()["ok"].toBool(true));
            EXPECT_EQ(document.object()["exitCode"].toInt(), code);
            EXPECT_FALSE(document.object()["message"].toString().isEmpty());
        }
    }
}

TEST_F(Cli, StatusShowsOnlyThePanelsChannelsAndNamesItsKeyFunctions) {
    auto panel = Add(0x01, "QV2.FF00", "QUVO-8261-08");
    ConfigBlock block;
    LoadFactoryValues(block);
    block[ConfigMODE17] = 1;
    block[ConfigMODE18] = 2;
    panel->SetConfiguration(block);
    EXPECT_EQ(Run({"status"}), CliDone);
    EXPECT_TRUE(output.contains("F1 function: UnLock, F2 function: MEM")) << output.toStdString();
    EXPECT_TRUE(output.contains("\n      8 Free")) << output.toStdString();
    EXPECT_FALSE(output.contains("\n      9 ")) << output.toStdString();
    EXPECT_EQ(Run({"status", "--json"}), CliDone);
    const QJsonObject configuration = Json()["configuration"].toObject();
    EXPECT_EQ(configuration["channels"].toArray().size(), 8);
    EXPECT_EQ(Json()["live"].toObject()["channels"].toArray().size(), 8);
    EXPECT_EQ(configuration["f1Name"].toString(), "UnLock");
    EXPECT_EQ(configuration["f2Name"].toString(), "MEM");
}

TEST_F(Cli, AFullDiskOrAFileThatIsNoRegularFileIsAFileErrorAndChangesNothing) {
    auto panel = Add(0x1121, "QV826100.FFFF");
    const QString file = folder.filePath("rack.gpi");
    ConfigBlock old;
    LoadFactoryValues(old);
    old[ConfigSAVE] = 1;
    WriteSettingsFile(FilePath(file), old);
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray oldBytes = before.readAll();
    before.close();
    {
        const FileSizeLimit limit(1000);
        EXPECT_EQ(Run({"export", file, "--json"}), CliFileError);
    }
    const QJsonObject result = Json()["results"].toArray()[0].toObject();
    EXPECT_FALSE(result["ok"].toBool(true));
    EXPECT_TRUE(result["message"].toString().contains(file)) << output.toStdString();
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    EXPECT_EQ(before.readAll(), oldBytes) << "the old file is byte-identical";

    // A FIFO would block for ever; it is refused before the panel is touched.
    const QString fifo = folder.filePath("fifo.gpi");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    panel->ClearReceivedFrames();
    for (const char* command : {"export", "import"}) {
        SCOPED_TRACE(command);
        EXPECT_EQ(Run({command, fifo}), CliFileError);
        EXPECT_TRUE(errors.contains(fifo)) << errors.toStdString();
    }
    EXPECT_EQ(Run({"export", "/dev/stdout"}), CliFileError);
    EXPECT_TRUE(panel->ReceivedFrames().empty());

    // A name that is not valid UTF-8 is the file the system named, not another.
    const std::string odd = QFile::encodeName(folder.path()).toStdString() + "/bad\xffname.gpi";
    EXPECT_EQ(RunBytes({"export", odd}), CliDone) << errors.toStdString();
    EXPECT_TRUE(std::filesystem::is_regular_file(odd));
    EXPECT_EQ(RunBytes({"import", odd}), CliDone) << errors.toStdString();

    // After "--" a name that starts with a dash is a file, not an option.
    const QString dashed = folder.filePath("-x.gpi");
    const QString workingFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    EXPECT_EQ(Run({"export", "--", "-x.gpi"}), CliDone) << errors.toStdString();
    EXPECT_EQ(Run({"import", "-x.gpi"}), CliUsageError);
    QDir::setCurrent(workingFolder);
    EXPECT_TRUE(QFileInfo(dashed).isFile());
}

TEST(CliProgram, WatchEndsCleanlyWhenNobodyReadsItsOutputOrOnSigterm) {
    QProcess tool;
    // The reader goes while nothing changes on the panel; the tool's own exit code.
    tool.start("bash", {"-c",
                        "set -o pipefail; \"$0\" --simulate --panel QV826100 status --watch | "
                        "head -1",
                        QUVO_CLI});
    ASSERT_TRUE(tool.waitForFinished(8000)) << "the watch went on with nobody reading";
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_TRUE(tool.readAllStandardOutput().startsWith("QUVO-8261-"));

    tool.start(QUVO_CLI, {"--simulate", "--panel", "QV826100", "status", "--watch"});
    ASSERT_TRUE(tool.waitForReadyRead(5000));
    ::kill(pid_t(tool.processId()), SIGTERM);
    ASSERT_TRUE(tool.waitForFinished(5000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_TRUE(tool.readAllStandardOutput().contains("watch ended"));
}

TEST(CliProgram, WatchEndsCleanlyOnCtrlC) {
    QProcess tool;
    tool.start(QUVO_CLI, {"--simulate", "--panel", "QV826100", "status", "--watch"});
    ASSERT_TRUE(tool.waitForStarted());
    ASSERT_TRUE(tool.waitForReadyRead(5000));
    QThread::msleep(500);
    ::kill(pid_t(tool.processId()), SIGINT);
    ASSERT_TRUE(tool.waitForFinished(5000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_TRUE(tool.readAllStandardOutput().contains("watch ended"));
}

TEST(CliProgram, HelpAndVersionAnswerWithoutABackEnd) {
    for (const char* option : {"-h", "--help", "--version"}) {
        QProcess tool;
        tool.start(QUVO_CLI, {"--driver=d2xx", option});
        ASSERT_TRUE(tool.waitForFinished(5000));
        EXPECT_EQ(tool.exitCode(), CliDone) << option;
        EXPECT_FALSE(tool.readAllStandardOutput().isEmpty()) << option;
    }
}

TEST(CliProgram, UnknownDriverIsAUsageErrorNamingTheChoices) {
    QProcess tool;
    tool.start(QUVO_CLI, {"--driver=ftd2xx", "list"});
    ASSERT_TRUE(tool.waitForFinished(5000));
    EXPECT_EQ(tool.exitCode(), CliUsageError);
    EXPECT_TRUE(tool.readAllStandardError().contains("d2xx, libftdi or sim"));
}

// What the process for one panel of `--all` is asked to do.
TEST(CliPanelsApart, EachPanelsProcessGetsTheCommandForItsPanelOnly) {
    struct Case {
        std::vector<std::string> given;
        std::vector<std::string> passed;
    };
    const std::vector<Case> cases = {
        {{"--all", "import", "rack.gpi", "--verify"},
         {"--panel", "P1", "--json", "import", "rack.gpi", "--verify"}},
        {{"--simulate=16", "--json", "--all", "--panel", "OTHER", "factory"},
         {"--panel", "P1", "--json", "--simulate=16", "factory"}},
        {{"--panel=OTHER", "--all", "gpio", "off"}, {"--panel", "P1", "--json", "gpio", "off"}},
        // After "--" everything is an operand, a file named --all too.
        {{"--all", "import", "--", "--all"}, {"--panel", "P1", "--json", "import", "--", "--all"}},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(OnePanelArguments(test.given, "P1"), test.passed) << test.given.front();
    }
}

// A panel's result from what its process printed and how it ended.
TEST(CliPanelsApart, EachPanelsResultComesFromItsProcessOrHowItEnded) {
    const CliPanel panel{0x1121, "QV826100.FFFF", "QUVO-8261-16", "FFFF", {}};
    const auto exited = [](int code) { return code << 8; }; // as waitpid reports an exit
    struct Case {
        const char* what;
        QByteArray output;
        QByteArray errors;
        int status;
        int code;
        QString message;
    };
    const std::vector<Case> cases = {
        {"done", R"({"command":"import","results":[{"exitCode":0,"message":"sent and verified"}]})",
         "", exited(0), CliDone, "sent and verified"},
        {"verify found differences",
         R"({"results":[{"exitCode":4,"message":"the panel stores something else",)"
         R"("differences":["GPIO3 DURATION: 3, 12"]}]})",
         "", exited(4), CliVerifyDifferences, "the panel stores something else"},
        {"failure before the panel", R"({"ok":false,"exitCode":1,"message":"No usable panel"})", "",
         exited(1), CliNoPanel, "No usable panel"},
        {"no JSON, a complaint", "", "quvo8261-cli: out of memory\n", exited(3), CliLinkFailure,
         "quvo8261-cli: out of memory"},
        {"no JSON, exit code only", "{\"results\":", "", exited(0), CliLinkFailure,
         "the tool's process for this panel ended with exit code 0 and no result"},
        {"the process's exit code is worse than its report",
         R"({"results":[{"exitCode":0,"message":"sent"}]})", "", exited(5), CliFileError, "sent"},
        {"Ctrl+C before it began", "", "", SIGINT, CliLinkFailure, "not done: interrupted"},
        {"crashed", "", "", SIGSEGV, CliLinkFailure,
         QString("the tool's process for this panel ended by signal %1").arg(SIGSEGV)},
    };
    for (const Case& test : cases) {
        const PanelResult result =
            ResultOfPanelProcess(panel, test.output, test.errors, test.status);
        EXPECT_EQ(result.code, test.code) << test.what;
        EXPECT_EQ(result.message, test.message) << test.what;
        EXPECT_EQ(result.panel.serial, panel.serial) << test.what;
    }
    EXPECT_EQ(ResultOfPanelProcess(panel, cases[1].output, "", exited(4)).differences,
              QStringList{"GPIO3 DURATION: 3, 12"});
}

// The tool itself on many virtual panels: one result per panel in the order of
// `list`, as text and as JSON, and the exit code.
TEST(CliProgram, AllWorksOnManyPanelsAndReportsThemInListOrder) {
    const QTemporaryDir folder;
    const QString file = FactorySettingsFile(folder);
    QProcess tool;
    tool.start(QUVO_CLI, {"--simulate=12", "--all", "import", file, "--verify", "--json"});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), CliDone) << tool.readAllStandardError().toStdString();
    const QJsonArray results =
        QJsonDocument::fromJson(tool.readAllStandardOutput()).object().value("results").toArray();
    ASSERT_EQ(results.size(), 12);
    for (int panel = 0; panel < 12; ++panel) {
        const QJsonObject result = results[panel].toObject();
        EXPECT_EQ(result.value("serial").toString().left(8),
                  QString("QV8261%1").arg(panel, 2, 10, QChar('0')));
        EXPECT_EQ(result.value("message").toString(), "sent and verified");
    }

    tool.start(QUVO_CLI, {"--simulate=3", "--all", "gpio", "off"});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), CliDone);
    EXPECT_EQ(tool.readAllStandardOutput(), "QV826100.FFFF: all GPIO outputs off\n"
                                            "QV826101.FF00: all GPIO outputs off\n"
                                            "QV826102.FFFF: all GPIO outputs off\n");
    tool.start(QUVO_CLI, {"--simulate=33", "list"});
    ASSERT_TRUE(tool.waitForFinished(5000));
    EXPECT_EQ(tool.exitCode(), CliUsageError);
}

// The processes the process has started.
std::vector<qint64> Children(qint64 pid) {
    QFile file(QString("/proc/%1/task/%1/children").arg(pid));
    std::vector<qint64> children;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& child : file.readAll().simplified().split(' ')) {
            if (!child.isEmpty()) {
                children.push_back(child.toLongLong());
            }
        }
    }
    return children;
}

// The processes of the tool's panels: the children of its launcher.
std::vector<qint64> PanelProcesses(qint64 tool) {
    std::vector<qint64> panels;
    for (const qint64 launcher : Children(tool)) {
        for (const qint64 panel : Children(launcher)) {
            panels.push_back(panel);
        }
    }
    return panels;
}

// The threads of a running process; 0 once it has gone.
int ThreadCount(qint64 pid) {
    QFile file(QString("/proc/%1/status").arg(pid));
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("Threads:")) {
            return line.mid(8).trimmed().toInt();
        }
    }
    return 0;
}

#if defined(__SANITIZE_THREAD__)
constexpr int SanitizerThreads = 1; // ThreadSanitizer's own, in every process
#else
constexpr int SanitizerThreads = 0;
#endif

// `--all` leaves no process behind: its launcher and the panels' processes
// have all been waited for when the tool ends. The launcher stays one thread
// while it forks, as a fork keeps only the thread that calls it.
TEST(CliProgram, AllLeavesNoProcessBehind) {
    const QTemporaryDir folder;
    const QString file = FactorySettingsFile(folder);
    QProcess tool;
    tool.start(QUVO_CLI, {"--simulate=4", "--all", "import", file, "--verify"});
    ASSERT_TRUE(tool.waitForStarted());
    std::set<qint64> launchers;
    std::set<qint64> panels;
    int mostLauncherThreads = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (const qint64 launcher : Children(tool.processId())) {
                launchers.insert(launcher);
                mostLauncherThreads = std::max(mostLauncherThreads, ThreadCount(launcher));
            }
            for (const qint64 panel : PanelProcesses(tool.processId())) {
                panels.insert(panel);
            }
            return tool.state() == QProcess::NotRunning;
        },
        std::chrono::seconds(30)));
    EXPECT_EQ(tool.exitCode(), CliDone);
    EXPECT_FALSE(panels.empty()) << "no panel's process was seen while it ran";
    for (const std::set<qint64>& processes : {launchers, panels}) {
        for (const qint64 process : processes) {
            EXPECT_FALSE(QFile::exists(QString("/proc/%1").arg(process))) << process;
        }
    }
    EXPECT_LE(mostLauncherThreads, 1 + SanitizerThreads);
}

// Ctrl+C during `--all`: every panel is either done or reported as not begun;
// none is left half-written and none fails otherwise.
TEST(CliProgram, CtrlCDuringAllLeavesNoPanelHalfWritten) {
    const QTemporaryDir folder;
    const QString file = FactorySettingsFile(folder);
    // At once (perhaps before the tool runs at all), and while the panels' own
    // processes work.
    for (const bool waitForPanels : {false, true}) {
        QProcess tool;
        tool.start(QUVO_CLI, {"--simulate=6", "--all", "import", file, "--verify", "--json"});
        ASSERT_TRUE(tool.waitForStarted());
        if (waitForPanels) {
            ASSERT_TRUE(WaitFor([&] { return !PanelProcesses(tool.processId()).empty(); },
                                std::chrono::seconds(10)));
        }
        ::kill(pid_t(tool.processId()), SIGINT);
        ASSERT_TRUE(tool.waitForFinished(10000));
        const QByteArray output = tool.readAllStandardOutput();
        if (!waitForPanels && tool.exitStatus() == QProcess::CrashExit) {
            EXPECT_TRUE(output.isEmpty()) << "ended by the signal before it began";
            continue;
        }
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
        const QJsonArray results =
            QJsonDocument::fromJson(output).object().value("results").toArray();
        ASSERT_EQ(results.size(), 6) << output.toStdString();
        int worst = CliDone;
        for (const QJsonValue& value : results) {
            const QString message = value.toObject().value("message").toString();
            EXPECT_TRUE(message == "sent and verified" || message == "not done: interrupted")
                << message.toStdString();
            worst = std::max(worst, value.toObject().value("exitCode").toInt());
        }
        EXPECT_EQ(tool.exitCode(), worst);
    }
}

} // namespace
