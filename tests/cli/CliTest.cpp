// SPDX-License-Identifier: Apache-2.0
#include "cli/Cli.h"
#include "cli/PanelHandOver.h"
#include "cli/PanelProcesses.h"
#include "cli/Profiles.h"
#include "link/D2XXUnit_mod.h"
#include "link/MachineReport.h"
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

#include <climits>
#include <csignal>
#include <set>

#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

    // One description of a panel, laid out as list lays out its document.
    const QJsonObject described = Json()["panel"].toObject();
    EXPECT_TRUE(output.startsWith("{\n    \"")) << output.left(40).toStdString();
    EXPECT_EQ(Run({"list", "--json"}), CliDone);
    EXPECT_EQ(Json()["panels"].toArray()[0].toObject(), described);
    EXPECT_TRUE(output.startsWith("{\n    \"")) << output.left(40).toStdString();
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

// Profiles: a panel gets its own, by serial number or the part before its last
// dot, or default.gpi; it is written only where it differs, so a second run
// writes nothing.
TEST_F(Cli, ApplyWritesEachPanelItsProfileOnlyWhereItDiffers) {
    auto own = Add(0x01, "QV1.FFFF");
    auto shortName = Add(0x02, "QV2.FF00", "QUVO-8261-08");
    auto other = Add(0x03, "QV3.FFFF");
    const QString profiles = folder.filePath("panels");
    ASSERT_TRUE(QDir().mkpath(profiles));
    ConfigBlock first;
    LoadFactoryValues(first);
    first[RecordOffset(4) + RecordMODE] = ModePulse;
    ConfigBlock second = first;
    second[RecordOffset(2) + RecordGROUP] = 3;
    WriteSettingsFile(FilePath(profiles + "/QV1.FFFF.gpi"), first);
    WriteSettingsFile(FilePath(profiles + "/QV2.gpi"), second);
    for (const auto& panel : {own, shortName, other}) {
        panel->ClearReceivedFrames();
    }
    const QStringList apply{"apply", "--all", "--profiles", profiles};
    EXPECT_EQ(Run(apply + QStringList{"--dry-run"}), CliDone) << errors.toStdString();
    EXPECT_EQ(output, "QV1.FFFF: differs from its profile\n"
                      "  GPIO4 MODE: panel 0, file 2\n"
                      "QV2.FF00: differs from its profile\n"
                      "  GPIO2 GROUP: panel 0, file 3\n"
                      "  GPIO4 MODE: panel 0, file 2\n"
                      "QV3.FFFF: no profile\n");
    EXPECT_EQ(Codes(*own), (std::vector<std::uint8_t>{3})) << "a dry run only reads";
    EXPECT_TRUE(other->ReceivedFrames().empty()) << "a panel without a profile is not opened";

    EXPECT_EQ(Run(apply), CliDone) << errors.toStdString();
    EXPECT_EQ(output, "QV1.FFFF: applied\nQV2.FF00: applied\nQV3.FFFF: no profile\n");
    EXPECT_EQ(own->Configuration(), first);
    EXPECT_EQ(shortName->Configuration(), second);

    WriteSettingsFile(FilePath(profiles + "/default.gpi"), second);
    for (const auto& panel : {own, shortName, other}) {
        panel->ClearReceivedFrames();
    }
    EXPECT_EQ(Run(apply + QStringList{"--json"}), CliDone);
    const QJsonArray results = Json()["results"].toArray();
    ASSERT_EQ(results.size(), 3);
    EXPECT_EQ(results[0].toObject()["message"].toString(), "unchanged");
    EXPECT_EQ(results[1].toObject()["message"].toString(), "unchanged");
    EXPECT_EQ(results[2].toObject()["message"].toString(), "applied") << "default.gpi";
    EXPECT_EQ(Codes(*own), (std::vector<std::uint8_t>{3})) << "nothing written the second time";
    EXPECT_EQ(Codes(*shortName), (std::vector<std::uint8_t>{3}));
    EXPECT_EQ(Codes(*other), (std::vector<std::uint8_t>{3, 4, 3}));
    EXPECT_EQ(other->Configuration(), second);
}

// A profile that is missing for a panel is no failure; one that cannot be read
// or holds no settings is a file error naming it, and its panel is untouched.
TEST_F(Cli, ApplyNamesAProfileItCannotUseAndLeavesItsPanelAlone) {
    auto panel = Add(0x01, "QV1.FFFF");
    const QString profiles = folder.filePath("panels");
    ASSERT_TRUE(QDir().mkpath(profiles));
    const ConfigBlock before = panel->Configuration();
    EXPECT_EQ(Run({"apply", "--profiles", folder.filePath("nowhere")}), CliDone);
    EXPECT_EQ(output, "QV1.FFFF: no profile\n");

    const QString profile = profiles + "/QV1.FFFF.gpi";
    const auto expectRefused = [&](const char* what) {
        SCOPED_TRACE(what);
        panel->ClearReceivedFrames();
        EXPECT_EQ(Run({"apply", "--profiles", profiles, "--json"}), CliFileError);
        const QJsonObject result = Json()["results"].toArray()[0].toObject();
        EXPECT_TRUE(result["message"].toString().contains(profile)) << output.toStdString();
        EXPECT_TRUE(panel->ReceivedFrames().empty());
        EXPECT_EQ(panel->Configuration(), before);
    };
    QFile garbage(profile);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("these are no settings\n");
    garbage.close();
    expectRefused("a text file of something else");
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray("[COMMON]\0\1", 10));
    garbage.close();
    expectRefused("binary data");
    ASSERT_TRUE(QFile::remove(profile));
    ASSERT_TRUE(QDir().mkpath(profile));
    expectRefused("a folder");

    EXPECT_EQ(Run({"list", "--dry-run"}), CliUsageError);
    EXPECT_EQ(Run({"import", "x.gpi", "--profiles", profiles}), CliUsageError);

    // Held by the windows program at plug-in: said, for the service to log, and
    // the exit code its unit takes for no failure.
    VirtualBus::Instance().SetOpenElsewhere(0x01, true);
    EXPECT_EQ(Run({"apply", "--panel", "QV1", "--profiles", profiles}), CliNoPanel);
    EXPECT_TRUE(errors.contains("in use by another program")) << errors.toStdString();
}

// Why no panel is listed, as one file to attach: the panels, the machine's
// facts, and the exit code of list; a file that cannot take it is refused.
TEST_F(Cli, DiagnoseWritesOneReportToAttach) {
    const QString report = folder.filePath("report.txt");
    EXPECT_EQ(Run({"--diagnose", "--report", report}), CliNoPanel);
    Add(0x1121, "QV826100.FFFF");
    EXPECT_EQ(Run({"--diagnose", "--report", report}), CliDone) << errors.toStdString();
    EXPECT_EQ(output, "report written to " + report + "\n");
    QFile written(report);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    for (const char* fact :
         {"QUVO-8261 Settings diagnosis report", "libraries: Qt ", "libftdi1 ", "QV826100.FFFF",
          "back-end: ", "udev rule for the panels: ", "user: ", "groups: "}) {
        EXPECT_TRUE(text.contains(fact)) << fact << "\n" << text.toStdString();
    }
    const QString fifo = folder.filePath("fifo.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(Run({"--diagnose", "--report", fifo}), CliFileError);
    EXPECT_TRUE(errors.contains(fifo));
    EXPECT_EQ(Run({"list", "--report", report}), CliUsageError);
    EXPECT_EQ(Run({"list", "--diagnose"}), CliUsageError);
}

// The machine's facts as the report words them.
TEST(CliDiagnosisReport, NamesWhoMayUseEachChipAndWhetherTheRuleIsInstalled) {
    MachineFacts facts;
    facts.program = "quvo8261-cli 1.2";
    facts.user = "ana";
    facts.groups = QStringList{"ana", "plugdev"};
    facts.nodeAccess = {{"/dev/bus/usb/001/002", "root:plugdev rw-rw----"}};
    facts.recentMessages = QStringList{"2026-12-09 10:15:02.123 warning quvo.link: read failed"};
    const QString text = MachineReport(facts);
    EXPECT_TRUE(text.contains("  /dev/bus/usb/001/002  root:plugdev rw-rw----\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("udev rule for the panels: not installed\n"));
    EXPECT_TRUE(text.contains("user: ana; groups: ana plugdev\n"));
    EXPECT_TRUE(text.contains(":\n  2026-12-09 10:15:02.123 warning quvo.link: read failed\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("system's log:\n  (none)\n")) << text.toStdString();
    facts.udevRules = QStringList{"/usr/lib/udev/rules.d/70-quvo8261.rules"};
    EXPECT_TRUE(MachineReport(facts).contains(
        "udev rule for the panels: /usr/lib/udev/rules.d/70-quvo8261.rules\n"));
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
        EXPECT_TRUE(errors.startsWith("quvo8261-cli: ")) << errors.toStdString();
    }
    VirtualBus::Instance().RemoveAllDevices();
    Add(0x01, "A.FFFF");
    VirtualBus::Instance().SetOpenElsewhere(0x01, true);
    EXPECT_EQ(Run({"status"}), CliNoPanel);
    EXPECT_TRUE(errors.contains("in use by another program")) << errors.toStdString();
    // No device list at all (libftdi1 without USB): no usable panel either.
    VirtualBus::Instance().FailCall(ApiCall::CreateDeviceInfoList, FT_IO_ERROR);
    for (const QStringList& arguments :
         {QStringList{"list"}, QStringList{"status"}, QStringList{"gpio", "off", "--all"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(Run(arguments), CliNoPanel);
        EXPECT_EQ(errors, "quvo8261-cli: Cannot get USB Device List\n");
    }
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
    ASSERT_TRUE(tool.waitForFinished(30000)) << "the watch went on with nobody reading";
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_TRUE(tool.readAllStandardOutput().startsWith("QUVO-8261-"));

    tool.start(QUVO_CLI, {"--simulate", "--panel", "QV826100", "status", "--watch"});
    ASSERT_TRUE(tool.waitForReadyRead(30000));
    ::kill(pid_t(tool.processId()), SIGTERM);
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_TRUE(tool.readAllStandardOutput().contains("watch ended"));
}

TEST(CliProgram, WatchEndsCleanlyOnCtrlC) {
    QProcess tool;
    tool.start(QUVO_CLI, {"--simulate", "--panel", "QV826100", "status", "--watch"});
    ASSERT_TRUE(tool.waitForStarted());
    ASSERT_TRUE(tool.waitForReadyRead(30000));
    QThread::msleep(500);
    ::kill(pid_t(tool.processId()), SIGINT);
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_TRUE(tool.readAllStandardOutput().contains("watch ended"));
}

TEST(CliProgram, HelpAndVersionAnswerWithoutABackEnd) {
    for (const char* option : {"-h", "--help", "--version"}) {
        QProcess tool;
        tool.start(QUVO_CLI, {"--driver=d2xx", option});
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), CliDone) << option;
        EXPECT_FALSE(tool.readAllStandardOutput().isEmpty()) << option;
    }
}

TEST(CliProgram, UnknownDriverIsAUsageErrorNamingTheChoices) {
    QProcess tool;
    tool.start(QUVO_CLI, {"--driver=ftd2xx", "list"});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), CliUsageError);
    EXPECT_TRUE(tool.readAllStandardError().contains("d2xx, libftdi or sim"));
}

// What a panel's process of `--all` is handed: the panel and the task whole,
// and nothing it could take for another panel's or another file's.
TEST(CliPanelsApart, AHandOverArrivesWholeAndAnythingElseIsRefused) {
    ConfigBlock block;
    LoadFactoryValues(block);
    block[RecordOffset(9) + RecordMODE] = ModeFixed;
    const PanelHandOver sent{"import",
                             {0x1121, "QV826100.FF00", "QUVO-8261-08", "FF00", {1, 2, 8}},
                             {PanelTask::Kind::SendConfiguration, block, true}};
    const PanelHandOver arrived = ParseHandOver(HandOverBytes(sent));
    EXPECT_EQ(arrived.command, "import");
    EXPECT_EQ(arrived.panel.location, 0x1121u);
    EXPECT_EQ(arrived.panel.serial, "QV826100.FF00");
    EXPECT_EQ(arrived.panel.channels, (std::vector<int>{1, 2, 8}));
    EXPECT_EQ(arrived.task.kind, PanelTask::Kind::SendConfiguration);
    EXPECT_EQ(arrived.task.block, block);
    EXPECT_TRUE(arrived.task.verify);
    const PanelHandOver off =
        ParseHandOver(HandOverBytes({"gpio", sent.panel, {PanelTask::Kind::GpioOff, {}, false}}));
    EXPECT_EQ(off.task.kind, PanelTask::Kind::GpioOff);

    const QByteArray good = HandOverBytes(sent);
    const QByteArray hex =
        QByteArray(reinterpret_cast<const char*>(block.data()), qsizetype(block.size())).toHex();
    const std::pair<const char*, QByteArray> refused[] = {
        {"nothing", ""},
        {"cut short", good.left(good.size() / 2)},
        {"not an object", "[1,2]"},
        {"no panel", QByteArray(good).replace("\"location\":4385", "\"location\":-1")},
        {"a block cut short", QByteArray(good).replace(hex, hex.left(hex.size() - 2))},
        {"a block with a letter that is no digit",
         QByteArray(good).replace(hex, "zz" + hex.mid(2))},
        {"an unknown task", QByteArray(good).replace("send configuration", "erase")},
        {"a channel out of range", QByteArray(good).replace("[1,2,8]", "[1,2,17]")},
        {"too long", good + QByteArray(MostHandOverBytes, ' ')},
    };
    for (const auto& [what, bytes] : refused) {
        EXPECT_THROW(ParseHandOver(bytes), BadHandOver) << what;
    }
}

// A Ctrl+C before the panels' processes start: none is started, and every
// panel is reported as not begun.
TEST(CliPanelsApart, AfterCtrlCNoPanelsProcessIsStarted) {
    const std::atomic<bool> interrupted{true};
    const std::vector<CliPanel> panels{{0x1121, "QV826100.FFFF", "QUVO-8261-16", "FFFF", {}},
                                       {0x1122, "QV826101.FF00", "QUVO-8261-08", "FF00", {}}};
    const std::vector<PanelResult> results =
        RunPanelsApart("gpio", std::vector<PanelTask>(2, {PanelTask::Kind::GpioOff, {}, false}),
                       panels, {"--simulate=2"}, interrupted);
    ASSERT_EQ(results.size(), 2u);
    for (const PanelResult& result : results) {
        EXPECT_EQ(result.code, CliLinkFailure);
        EXPECT_EQ(result.message, "not done: interrupted");
    }
}

// A panel's result from what its process printed and how it ended.
TEST(CliPanelsApart, EachPanelsResultComesFromItsProcessOrHowItEnded) {
    const CliPanel panel{0x1121, "QV826100.FFFF", "QUVO-8261-16", "FFFF", {}};
    struct Case {
        const char* what;
        QByteArray output;
        QByteArray errors;
        bool crashed;
        int status; // the exit code, or the signal that ended it
        int code;
        QString message;
    };
    constexpr bool exited = false;
    constexpr bool signalled = true;
    const std::vector<Case> cases = {
        {"done", R"({"command":"import","results":[{"exitCode":0,"message":"sent and verified"}]})",
         "", exited, 0, CliDone, "sent and verified"},
        {"verify found differences",
         R"({"results":[{"exitCode":4,"message":"the panel stores something else",)"
         R"("differences":["GPIO3 DURATION: 3, 12"]}]})",
         "", exited, 4, CliVerifyDifferences, "the panel stores something else"},
        {"failure before the panel", R"({"ok":false,"exitCode":1,"message":"No usable panel"})", "",
         exited, 1, CliNoPanel, "No usable panel"},
        {"no JSON, a complaint", "", "quvo8261-cli: out of memory\n", exited, 3, CliLinkFailure,
         "quvo8261-cli: out of memory"},
        {"no JSON, exit code only", "{\"results\":", "", exited, 0, CliLinkFailure,
         "the tool's process for this panel ended with exit code 0 and no result"},
        {"the process's exit code is worse than its report",
         R"({"results":[{"exitCode":0,"message":"sent"}]})", "", exited, 5, CliFileError, "sent"},
        {"Ctrl+C before it began", "", "", signalled, SIGINT, CliLinkFailure,
         "not done: interrupted"},
        {"crashed", "", "", signalled, SIGSEGV, CliLinkFailure,
         QString("the tool's process for this panel ended by signal %1").arg(SIGSEGV)},
    };
    for (const Case& test : cases) {
        const PanelResult result =
            ResultOfPanelProcess(panel, test.output, test.errors, test.crashed, test.status);
        EXPECT_EQ(result.code, test.code) << test.what;
        EXPECT_EQ(result.message, test.message) << test.what;
        EXPECT_EQ(result.panel.serial, panel.serial) << test.what;
    }
    EXPECT_EQ(ResultOfPanelProcess(panel, cases[1].output, "", false, 4).differences,
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
    ASSERT_TRUE(tool.waitForFinished(30000));
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

// `--all` leaves no process behind: the panels' processes have all been
// waited for when the tool ends.
TEST(CliProgram, AllLeavesNoProcessBehind) {
    const QTemporaryDir folder;
    const QString file = FactorySettingsFile(folder);
    QProcess tool;
    tool.start(QUVO_CLI, {"--simulate=4", "--all", "import", file, "--verify"});
    ASSERT_TRUE(tool.waitForStarted());
    std::set<qint64> panels;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (const qint64 panel : Children(tool.processId())) {
                panels.insert(panel);
            }
            return tool.state() == QProcess::NotRunning;
        },
        std::chrono::seconds(30)));
    EXPECT_EQ(tool.exitCode(), CliDone);
    EXPECT_FALSE(panels.empty()) << "no panel's process was seen while it ran";
    for (const qint64 process : panels) {
        EXPECT_FALSE(QFile::exists(QString("/proc/%1").arg(process))) << process;
    }
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
            ASSERT_TRUE(WaitFor([&] { return !Children(tool.processId()).empty(); },
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

// The tool's exit code with some of its standard streams closed, as a service
// manager or a careless script may start it.
int ExitCodeWithClosed(const QString& closing, const QStringList& arguments) {
    QProcess shell;
    shell.start("bash", QStringList{"-c", "exec " + closing + "; exec \"$0\" \"$@\"", QUVO_CLI} +
                            arguments);
    return shell.waitForFinished(30000) ? shell.exitCode() : -1;
}

// Standard streams closed: nothing the tool opens takes their place, its report
// goes nowhere, and every panel is done.
TEST(CliProgram, ClosedStandardStreamsChangeNothingButWhereTheReportGoes) {
    const QTemporaryDir folder;
    const QString file = FactorySettingsFile(folder);
    for (const char* closing :
         {"<&-", ">&-", "2>&-", "<&- >&-", ">&- 2>&-", "<&- 2>&-", "<&- >&- 2>&-"}) {
        SCOPED_TRACE(closing);
        EXPECT_EQ(ExitCodeWithClosed(
                      closing, {"--simulate=4", "--all", "import", file, "--verify", "--json"}),
                  CliDone);
        EXPECT_EQ(ExitCodeWithClosed(closing, {"--simulate", "--panel", "QV826100", "export",
                                               folder.filePath("out.gpi")}),
                  CliDone);
    }
}

// The settings file is read once, by the tool: removed as soon as the tool has
// read it, every panel still gets what the tool read.
TEST(CliProgram, AllSendsEveryPanelTheFileAsTheToolReadIt) {
    const QTemporaryDir folder;
    const QString file = FactorySettingsFile(folder);
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(file).constData(), IN_CLOSE_NOWRITE), 0);
    QProcess tool;
    tool.start(QUVO_CLI, {"--simulate=6", "--all", "import", file, "--verify", "--json"});
    alignas(inotify_event) char event[sizeof(inotify_event) + NAME_MAX + 1];
    ASSERT_GT(::read(watch, event, sizeof event), 0);
    ASSERT_TRUE(QFile::remove(file));
    ::close(watch);
    ASSERT_TRUE(tool.waitForFinished(30000));
    const QByteArray output = tool.readAllStandardOutput();
    EXPECT_EQ(tool.exitCode(), CliDone) << output.toStdString();
    const QJsonArray results = QJsonDocument::fromJson(output).object().value("results").toArray();
    ASSERT_EQ(results.size(), 6);
    for (const QJsonValue& result : results) {
        EXPECT_EQ(result.toObject().value("message").toString(), "sent and verified");
    }
}

// A file-size limit (`ulimit -f`) is a file error the tool reports, not a signal
// that ends it, and leaves neither a temporary file nor a changed file behind.
TEST(CliProgram, AFileSizeLimitIsAReportedFileError) {
    const QTemporaryDir folder;
    const QString file = FactorySettingsFile(folder);
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray oldBytes = before.readAll();
    before.close();
    QProcess shell;
    shell.start("bash", {"-c", "ulimit -f 1; exec \"$0\" \"$@\"", QUVO_CLI, "--simulate", "--panel",
                         "QV826100", "export", file, "--json"});
    ASSERT_TRUE(shell.waitForFinished(30000));
    EXPECT_EQ(shell.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(shell.exitCode(), CliFileError);
    const QJsonObject result = QJsonDocument::fromJson(shell.readAllStandardOutput())
                                   .object()
                                   .value("results")
                                   .toArray()
                                   .first()
                                   .toObject();
    EXPECT_TRUE(result.value("message").toString().contains("File too large"))
        << result.value("message").toString().toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QFileInfo(file).fileName()});
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    EXPECT_EQ(before.readAll(), oldBytes);
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool UnderSanitizer = true; // its runtime needs threads or processes of its own
#else
constexpr bool UnderSanitizer = false;
#endif

// A system that refuses the tool a thread (`ulimit -u`): a failure in the
// tool's own words and exit code, one JSON document, no abort.
TEST(CliProgram, AThreadTheSystemRefusesIsAReportedFailure) {
    if (UnderSanitizer) {
        GTEST_SKIP() << "the sanitizer's runtime cannot start under a limit of one process";
    }
    int output[2];
    ASSERT_EQ(::pipe(output), 0);
    const pid_t tool = ::fork();
    ASSERT_GE(tool, 0);
    if (tool == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        // The limit counts the user's processes and holds for anyone but root.
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(120);
        }
        const rlimit one{1, 1};
        ::setrlimit(RLIMIT_NPROC, &one);
        ::execl(QUVO_CLI, QUVO_CLI, "--simulate", "--panel", "QV826100", "status", "--json",
                static_cast<char*>(nullptr));
        ::_exit(121);
    }
    ::close(output[1]);
    QFile reader;
    ASSERT_TRUE(reader.open(output[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    const QByteArray printed = reader.readAll();
    int status = 0;
    ASSERT_EQ(::waitpid(tool, &status, 0), tool);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), CliSystemRefused) << printed.toStdString();
    QJsonParseError parsed{};
    const QJsonObject document = QJsonDocument::fromJson(printed, &parsed).object();
    ASSERT_EQ(parsed.error, QJsonParseError::NoError) << printed.toStdString();
    EXPECT_EQ(document.value("exitCode").toInt(), CliSystemRefused);
    EXPECT_TRUE(document.value("message").toString().contains("thread"));
}

// A panel's process ends with the tool that started it, however the tool ends
// (here SIGKILL, which no handler sees), and inherits none of its descriptors.
TEST(CliProgram, APanelsProcessEndsWithTheToolAndInheritsOnlyItsStreams) {
    // The orphaned process comes to this one, which can then wait for it.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    QProcess starter;
    starter.start(QUVO_STARTER, {"sleep", "60"});
    ASSERT_TRUE(starter.waitForReadyRead(10000));
    const pid_t command = pid_t(starter.readLine().trimmed().toLongLong());
    ASSERT_GT(command, 0);
    ::kill(pid_t(starter.processId()), SIGKILL);
    ASSERT_TRUE(starter.waitForFinished(10000));
    int status = 0;
    const bool ended = WaitFor([&] { return ::waitpid(command, &status, WNOHANG) == command; },
                               std::chrono::seconds(30));
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
    if (!ended) {
        ::kill(command, SIGKILL);
        ::waitpid(command, nullptr, 0);
    }
    ASSERT_TRUE(ended) << "the process went on after the tool had died";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "asked as Ctrl+C asks";

    starter.start(QUVO_STARTER, {"ls", "/proc/self/fd"});
    ASSERT_TRUE(starter.waitForFinished(10000));
    QList<QByteArray> lines = starter.readAllStandardOutput().split('\n');
    ASSERT_GT(lines.size(), 1);
    lines.removeFirst(); // the process id
    EXPECT_FALSE(lines.contains("50")) << "the starter's own descriptor was inherited";
    EXPECT_TRUE(lines.contains("2"));
}

// A panel's profile by its serial number, the part before its last dot, or
// default.gpi, in that order; none where the folder holds none for it.
TEST(CliProfiles, APanelsProfileIsFoundByItsSerialNumberThenTheDefault) {
    const QTemporaryDir folder;
    const std::filesystem::path profiles = FilePath(folder.path());
    const auto touch = [&](const char* name) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    EXPECT_EQ(ProfileOf(profiles, "QV1.FFFF"), std::nullopt);
    EXPECT_EQ(ProfileOf(FilePath(folder.filePath("missing")), "QV1.FFFF"), std::nullopt);
    touch("default.gpi");
    touch("QV1.gpi");
    touch("QV2.FF00.gpi");
    touch("QV2.gpi");
    const std::pair<const char*, const char*> cases[] = {
        {"QV1.FFFF", "QV1.gpi"},     {"QV2.FF00", "QV2.FF00.gpi"}, {"QV2.FFFF", "QV2.gpi"},
        {"QV3.FFFF", "default.gpi"}, {"QV1", "QV1.gpi"},
    };
    for (const auto& [serial, profile] : cases) {
        EXPECT_EQ(ProfileOf(profiles, serial), profiles / profile) << serial;
    }
}

// `apply --all` through the panels' processes: each gets its own profile's
// block, and what differs is reported as the tool reports it here.
TEST(CliProgram, ApplyAllGivesEachPanelItsProfileSideBySide) {
    const QTemporaryDir folder;
    ConfigBlock block;
    LoadFactoryValues(block);
    block[RecordOffset(7) + RecordDURATION] = 30;
    WriteSettingsFile(FilePath(folder.filePath("QV826100.gpi")), block);
    WriteSettingsFile(FilePath(folder.filePath("QV826102.FFFF.gpi")), block);
    QProcess tool;
    for (const bool dryRun : {true, false}) {
        QStringList arguments{"--simulate=4", "--all",       "apply",
                              "--profiles",   folder.path(), "--json"};
        if (dryRun) {
            arguments << "--dry-run";
        }
        tool.start(QUVO_CLI, arguments);
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), CliDone) << tool.readAllStandardError().toStdString();
        const QJsonArray results =
            QJsonDocument::fromJson(tool.readAllStandardOutput()).object()["results"].toArray();
        ASSERT_EQ(results.size(), 4);
        const QString changed = dryRun ? "differs from its profile" : "applied";
        EXPECT_EQ(results[0].toObject()["message"].toString(), changed);
        EXPECT_EQ(results[1].toObject()["message"].toString(), "no profile");
        EXPECT_EQ(results[2].toObject()["message"].toString(), changed);
        EXPECT_EQ(results[3].toObject()["message"].toString(), "no profile");
        EXPECT_EQ(results[0].toObject()["differences"].toArray().contains(
                      QJsonValue(QString("GPIO7 DURATION: panel 3, file 30"))),
                  dryRun);
    }
}

// Virtual panels that keep what they store between runs, as real ones do: on a
// rack of sixteen, `apply --all` writes every panel once, and run again it
// finds them all right and writes nothing.
TEST(CliProgram, ApplyAllAgainOnPanelsThatKeepTheirSettingsWritesNothing) {
    const QTemporaryDir folder;
    const QString store = folder.filePath("store");
    ASSERT_TRUE(QDir().mkpath(store));
    ConfigBlock block;
    LoadFactoryValues(block);
    block[RecordOffset(9) + RecordMODE] = ModeFixed;
    WriteSettingsFile(FilePath(folder.filePath("default.gpi")), block);
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUVO_VIRTUAL_PANEL_STORE", store);
    tool.setProcessEnvironment(environment);
    for (const QString expected : {"applied", "unchanged"}) {
        tool.start(QUVO_CLI,
                   {"--simulate=16", "--all", "apply", "--profiles", folder.path(), "--json"});
        ASSERT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), CliDone) << tool.readAllStandardError().toStdString();
        const QJsonArray results =
            QJsonDocument::fromJson(tool.readAllStandardOutput()).object()["results"].toArray();
        ASSERT_EQ(results.size(), 16);
        for (const QJsonValue result : results) {
            EXPECT_EQ(result.toObject()["message"].toString(), expected)
                << result.toObject()["serial"].toString().toStdString();
        }
    }
    QFile stored(store + "/QV826115.FFFF.bin");
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(),
              QByteArray(reinterpret_cast<const char*>(block.data()), qsizetype(block.size())));
}

// Messages meant for people follow the locale as the windows do, for one panel
// and from the panels' processes of --all alike; JSON stays in English.
TEST(CliProgram, MessagesFollowTheLocaleAndJsonStaysEnglish) {
    const auto run = [](const QString& locale, const QStringList& arguments) {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("LANGUAGE");
        environment.insert("LC_ALL", locale);
        tool.setProcessEnvironment(environment);
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(QUVO_CLI, arguments);
        EXPECT_TRUE(tool.waitForFinished(30000));
        return QString::fromUtf8(tool.readAll());
    };
    const QStringList missing{"--simulate", "--panel", "QV9", "status"};
    EXPECT_EQ(run("de_DE.UTF-8", missing),
              "quvo8261-cli: Kein nutzbares Panel mit der Seriennummer QV9.\n");
    EXPECT_EQ(run("fr_FR.UTF-8", missing),
              "quvo8261-cli: Aucun panneau utilisable avec le numéro de série QV9.\n");
    EXPECT_EQ(run("C", missing), "quvo8261-cli: No usable panel with serial number QV9.\n");
    EXPECT_TRUE(run("fr_FR.UTF-8", missing + QStringList{"--json"})
                    .contains("\"message\": \"No usable panel with serial number QV9.\""));

    const QStringList off{"--simulate=3", "--all", "gpio", "off"};
    EXPECT_EQ(run("fr_FR.UTF-8", off).count(": toutes les sorties GPIO éteintes\n"), 3);
    EXPECT_EQ(run("fr_FR.UTF-8", off + QStringList{"--json"})
                  .count("\"message\": \"all GPIO outputs off\""),
              3);
}

} // namespace
