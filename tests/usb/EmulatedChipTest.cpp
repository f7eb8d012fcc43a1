// SPDX-License-Identifier: Apache-2.0
// The real driver libraries (libftdi1, and FTDI's D2XX where npm could fetch it)
// end to end against an emulated FT232R carrying the virtual panel's firmware.
#include "tests/support/FactorySettingsFile.h"
#include "tests/support/LinkReceiver.h"
#include "tests/usb/EmulatedFt232r.h"

#include "cli/Cli.h"
#include "link/D2XXUnit_mod.h"
#include "link/LibFtdiBackEnd.h"
#include "link/LinkFailureText.h"
#include "link/OpenPanel.h"
#include "link/PanelFilter.h"
#include "link/UnitThread.h"
#include "link/WireProtocol.h"
#include "model/SettingsFiles.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <optional>

// Under the address sanitizer: FTDI's library keeps what it allocates at load.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libftd2xx\n";
}

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string PanelSerial = "QV826100.FFFF";

bool Saw(const std::vector<VendorRequest>& requests, std::uint8_t request, std::uint16_t value) {
    return std::any_of(requests.begin(), requests.end(), [&](const VendorRequest& seen) {
        return seen.request == request && seen.value == value;
    });
}

// The listed record with this serial number, or none.
const FT_DEVICE_LIST_INFO_NODE* Listed(const std::string& serial) {
    for (std::uint32_t i = 0; i < DeviceInfoCount; ++i) {
        if (SerialNumberOf(DeviceInfoList[i]) == serial) {
            return &DeviceInfoList[i];
        }
    }
    return nullptr;
}

// An emulated bus in a fresh port module; error boxes are recorded.
class EmulatedBus : public ::testing::Test {
protected:
    void SetUp() override {
        bus = std::make_unique<EmulatedUsbBus>();
        std::string why;
        if (!bus->Available(why)) {
            GTEST_SKIP() << "umockdev cannot run here: " << why;
        }
        ResetPortModule();
    }
    void TearDown() override {
        thread.reset();
        openPanel.reset();
    }
    // Opens the panel as the device list does; false with the port's words.
    ::testing::AssertionResult Open(std::uint32_t location) {
        openPanel.emplace(location, [this](const std::string& text) { dialogs.push_back(text); });
        if (openPanel->IsOpen()) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << (dialogs.empty() ? "" : dialogs.back());
    }

    // The panel's location as the library lists it.
    std::uint32_t ListedPanel() {
        EXPECT_EQ(EnumerateDevices(), FT_OK);
        const FT_DEVICE_LIST_INFO_NODE* node = Listed(PanelSerial);
        EXPECT_NE(node, nullptr) << "the emulated panel is not listed";
        return node != nullptr ? node->LocId : 0;
    }

    std::unique_ptr<EmulatedUsbBus> bus;
    EmulatedFt232r* chip = nullptr;
    std::vector<std::string> dialogs;
    std::optional<OpenPanel> openPanel;
    LinkReceiver receiver;
    std::unique_ptr<TDeviceThread> thread;
};

// The same scenarios through each real library.
class EmulatedChip : public EmulatedBus, public ::testing::WithParamInterface<std::string> {
protected:
    // Chooses the library under test once the chips are attached: FTDI's library
    // looks at the bus when it loads.
    void UseLibrary() {
        if (GetParam() == "libftdi") {
            SetFtdiApi(LibFtdiFtdiApi());
            return;
        }
        if (!QFile::exists(EmulationD2xxLibrary())) {
            GTEST_SKIP() << "FTDI's D2XX library was not built here (npm could not fetch it)";
        }
        std::string error;
        ASSERT_TRUE(UseEmulationD2xx(error)) << error;
    }

    // A panel attached, its port set up and the link reading its configuration.
    void OpenAndStartLink() {
        chip = &bus->AddChip();
        ASSERT_NO_FATAL_FAILURE(UseLibrary());
        if (IsSkipped()) {
            return;
        }
        const std::uint32_t location = ListedPanel();
        ASSERT_TRUE(Open(location));
        thread = std::make_unique<TDeviceThread>(&receiver);
        thread->Start();
        ASSERT_TRUE(WaitFor([&] { return !receiver.replies.empty(); }, 20000ms));
        ASSERT_EQ(receiver.replies[0], CmdReadConfig);
    }
};

TEST_P(EmulatedChip, ListsThePanelWithItsRecordAndFiltersOtherChips) {
    bus->AddChip();
    bus->AddChip({"A10K3J7Q", "FT232R USB UART", 2});
    ASSERT_NO_FATAL_FAILURE(UseLibrary());
    if (IsSkipped()) {
        return;
    }
    ASSERT_EQ(EnumerateDevices(), FT_OK);
    ASSERT_EQ(DeviceInfoCount, 2u);
    const FT_DEVICE_LIST_INFO_NODE* panel = Listed(PanelSerial);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Flags & FT_FLAGS_OPENED, 0u);
    EXPECT_EQ(panel->Type, FT_DEVICE_232R);
    EXPECT_EQ(panel->ID, 0x04036001u);
    EXPECT_EQ(DescriptionOf(*panel), "QUVO-8261-16");
    EXPECT_NE(panel->LocId, 0u);
    EXPECT_TRUE(IsPanelDevice(*panel));
    const FT_DEVICE_LIST_INFO_NODE* other = Listed("A10K3J7Q");
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other->LocId, panel->LocId);
    EXPECT_FALSE(IsPanelDevice(*other));
}

TEST_P(EmulatedChip, SetUpSequenceConfiguresTheChipAsThePanelNeeds) {
    chip = &bus->AddChip();
    ASSERT_NO_FATAL_FAILURE(UseLibrary());
    if (IsSkipped()) {
        return;
    }
    ASSERT_TRUE(Open(ListedPanel()));
    const std::vector<VendorRequest> requests = chip->VendorRequests();
    EXPECT_TRUE(Saw(requests, VendorSetBaudRate, 0x1A)) << "115200 baud is divisor 0x1A";
    EXPECT_TRUE(Saw(requests, VendorSetData, 0x0008)) << "8 data bits, no parity, 1 stop bit";
    EXPECT_TRUE(Saw(requests, VendorSetFlowControl, 0));
    const auto flow = std::find_if(requests.rbegin(), requests.rend(), [](const VendorRequest& r) {
        return r.request == VendorSetFlowControl;
    });
    ASSERT_NE(flow, requests.rend());
    EXPECT_EQ(flow->index & 0xFF00, 0) << "no flow control";
    EXPECT_TRUE(Saw(requests, VendorReset, 1) && Saw(requests, VendorReset, 2)) << "both purges";
    EXPECT_TRUE(Saw(requests, VendorSetLatencyTimer, PortLatencyTimerMs));
    EXPECT_EQ(chip->Panel().LatencyTimer(), PortLatencyTimerMs);
    EXPECT_TRUE(dialogs.empty());
}

TEST_P(EmulatedChip, LinkReadsPollsPressesAndWritesBackWhatItSent) {
    ASSERT_NO_FATAL_FAILURE(OpenAndStartLink());
    if (IsSkipped()) {
        return;
    }
    ASSERT_TRUE(WaitFor([&] { return chip->Panel().ReceivedFrameCount() > 5; }))
        << "the link does not poll";

    thread->PostSetGpio(5, 1);
    ASSERT_TRUE(WaitFor([&] {
        const auto frames = chip->Panel().ReceivedFrames();
        return std::any_of(frames.begin(), frames.end(), [](const auto& frame) {
            return frame.bytes[3] == CmdSetGpio && frame.bytes[4] == 5 && frame.bytes[5] == 1;
        });
    })) << "the GPIO press did not reach the panel";

    ConfigBlock block = chip->Panel().Configuration();
    block[RecordOffset(3) + RecordDURATION] = 42;
    block[ConfigMODE17] = 2;
    const std::size_t before = receiver.replies.size();
    thread->PostWriteConfig(block);
    ASSERT_TRUE(WaitFor([&] {
        return std::count(receiver.replies.begin() + before, receiver.replies.end(),
                          CmdReadConfig) > 0;
    })) << "no read-back after the write";
    const auto readBack =
        std::find(receiver.replies.begin() + before, receiver.replies.end(), CmdReadConfig);
    const std::vector<std::uint8_t>& payload =
        receiver.payloads[std::size_t(readBack - receiver.replies.begin())];
    ASSERT_EQ(payload.size(), ConfigReplySize);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), payload.begin() + StatusBlockSize))
        << "the read-back differs from what was written";
    EXPECT_EQ(chip->Panel().Configuration(), block);
    EXPECT_EQ(receiver.ended, 0);
}

// 0xC5 is the replies' trailer and the chip's event character: one inside a
// reply's payload makes the chip hand the reply over in pieces, which the link
// must read as one reply.
TEST_P(EmulatedChip, RepliesHoldingTheTrailerByteInTheirPayloadArriveWhole) {
    chip = &bus->AddChip();
    ConfigBlock block = chip->Panel().Configuration();
    block[RecordOffset(2) + RecordDURATION] = 0xC5;
    block[RecordOffset(9) + RecordDURATION] = 0xC5;
    chip->Panel().SetConfiguration(block);
    chip->Panel().SetLockState(0xC5);
    ASSERT_NO_FATAL_FAILURE(UseLibrary());
    if (IsSkipped()) {
        return;
    }
    ASSERT_TRUE(Open(ListedPanel()));
    thread = std::make_unique<TDeviceThread>(&receiver);
    thread->Start();
    ASSERT_TRUE(WaitFor([&] { return !receiver.replies.empty(); }, 20000ms));
    ASSERT_EQ(receiver.replies[0], CmdReadConfig);
    const std::vector<std::uint8_t>& configuration = receiver.payloads[0];
    ASSERT_EQ(configuration.size(), ConfigReplySize);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), configuration.begin() + StatusBlockSize));
    EXPECT_EQ(std::count(configuration.begin(), configuration.begin() + StatusBlockSize, 0xC5), 1)
        << "the lock state";

    // A status reply with the byte twice, once the key changes too.
    chip->Panel().SetKeyState(1, 0xC5);
    ASSERT_TRUE(WaitFor([&] {
        for (std::size_t i = 0; i < receiver.replies.size(); ++i) {
            const std::vector<std::uint8_t>& payload = receiver.payloads[i];
            if (receiver.replies[i] == CmdPollStatus &&
                std::count(payload.begin(), payload.end(), 0xC5) == 2) {
                return true;
            }
        }
        return false;
    })) << "no status reply with both bytes";
    EXPECT_EQ(receiver.ended, 0) << "a reply in pieces ended the link";
}

TEST_P(EmulatedChip, UnplugWhilePollingEndsTheLinkWithAnIoError) {
    ASSERT_NO_FATAL_FAILURE(OpenAndStartLink());
    if (IsSkipped()) {
        return;
    }
    bus->Unplug(*chip);
    ASSERT_TRUE(WaitFor([&] { return receiver.ended == 1; }, 20000ms));
    EXPECT_FALSE(thread->Outcome().StoppedOnRequest);
    EXPECT_TRUE(thread->Outcome().LinkResult == LinkWriteFailed ||
                thread->Outcome().LinkResult == LinkReadFailed)
        << thread->Outcome().LinkResult;
    EXPECT_EQ(thread->Outcome().IoStatus, static_cast<std::int32_t>(FT_IO_ERROR));
    const std::string text = LinkFailureText(
        thread->Outcome().LinkResult, thread->Outcome().IoStatus, thread->Outcome().ErrorByte,
        thread->Outcome().LastCommand, thread->Outcome().LastReply);
    EXPECT_EQ(text.rfind("USB Connection Failed", 0), 0u) << text;
}

TEST_P(EmulatedChip, SilentPanelEndsTheLinkAfterTheTwoSecondBudget) {
    ASSERT_NO_FATAL_FAILURE(OpenAndStartLink());
    if (IsSkipped()) {
        return;
    }
    chip->Panel().SetFault({LineFault::NoAnswer});
    const auto start = Clock::now();
    ASSERT_TRUE(WaitFor([&] { return receiver.ended == 1; }, 20000ms));
    EXPECT_GE(Clock::now() - start, 1900ms);
    EXPECT_EQ(thread->Outcome().LinkResult, LinkReadFailed);
    EXPECT_EQ(thread->Outcome().IoStatus, StatusReplyTimeout);
}

// The real program, started as a child that sees the same emulated bus: its
// device list and its diagnosis.
TEST_P(EmulatedChip, TheProgramListsTheEmulatedPanel) {
    bus->AddChip();
    if (GetParam() == "d2xx" && !QFile::exists(EmulationD2xxLibrary())) {
        GTEST_SKIP() << "FTDI's D2XX library was not built here (npm could not fetch it)";
    }
    QTemporaryDir runtime;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("UMOCKDEV_DIR", QString::fromStdString(bus->RootDirectory()));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QT_LOGGING_RULES", "quvo.app.info=true");
    environment.insert("QUVO_MESSAGES_TO_STDERR", "1");
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    environment.insert("QUVO_D2XX_LIBRARY", EmulationD2xxLibrary());
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QUVO_PROGRAM, {QString::fromStdString("--driver=" + GetParam())});
    ASSERT_TRUE(program.waitForStarted());
    QByteArray output;
    const bool listed = WaitFor(
        [&] {
            program.waitForReadyRead(50);
            output += program.readAll();
            return output.contains("device list entry QUVO-8261-16 QV826100.FFFF");
        },
        15000ms);
    program.terminate();
    program.waitForFinished(10000);
    EXPECT_TRUE(listed) << output.toStdString();

    QProcess diagnosis;
    diagnosis.setProcessEnvironment(environment);
    diagnosis.start(QUVO_PROGRAM, {QString::fromStdString("--driver=" + GetParam()), "--diagnose"});
    ASSERT_TRUE(diagnosis.waitForFinished(15000));
    const QByteArray report = diagnosis.readAllStandardOutput();
    EXPECT_EQ(diagnosis.exitCode(), 0) << report.toStdString();
    EXPECT_TRUE(report.contains("QUVO-8261-16  QV826100.FFFF  type 5")) << report.toStdString();
    EXPECT_TRUE(report.contains("1 usable panel(s).")) << report.toStdString();
}

// `apply` through the real library: a profile that differs is written and
// verified, a second run writes nothing, a dry run writes nothing, and a profile
// that holds no settings is named and leaves its panel alone.
TEST_P(EmulatedChip, ApplyWritesAProfileOnlyWhereThePanelDiffers) {
    chip = &bus->AddChip();
    if (GetParam() == "d2xx" && !QFile::exists(EmulationD2xxLibrary())) {
        GTEST_SKIP() << "FTDI's D2XX library was not built here (npm could not fetch it)";
    }
    const QTemporaryDir profiles;
    ConfigBlock profile;
    LoadFactoryValues(profile);
    profile[RecordOffset(6) + RecordMODE] = ModeFixed;
    WriteSettingsFile(FilePath(profiles.filePath("QV826100.gpi")), profile);
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("UMOCKDEV_DIR", QString::fromStdString(bus->RootDirectory()));
    environment.insert("QUVO_D2XX_LIBRARY", EmulationD2xxLibrary());
    tool.setProcessEnvironment(environment);
    // The message of the one panel's result, and the tool's exit code.
    QByteArray complaint;
    const auto apply = [&](const QStringList& more) {
        tool.start(QUVO_CLI,
                   QStringList{QString::fromStdString("--driver=" + GetParam()), "--panel",
                               "QV826100", "apply", "--profiles", profiles.path(), "--json"} +
                       more);
        EXPECT_TRUE(tool.waitForFinished(30000));
        complaint = tool.readAllStandardError();
        const QJsonObject result = QJsonDocument::fromJson(tool.readAllStandardOutput())
                                       .object()["results"]
                                       .toArray()
                                       .first()
                                       .toObject();
        return std::pair{result["message"].toString(), tool.exitCode()};
    };
    // umockdev's own channel to the emulated node can break on a loaded machine
    // (its preload then aborts the tool); that says nothing of the tool.
    const auto emulationBroke = [&] {
        return complaint.contains("libumockdev-preload: Error communicating with ioctl socket");
    };
    const auto writes = [&] {
        const auto frames = chip->Panel().ReceivedFrames();
        return std::count_if(frames.begin(), frames.end(),
                             [](const auto& frame) { return frame.bytes[3] == CmdWriteConfig; });
    };
    const auto dryRun = apply({"--dry-run"});
    if (emulationBroke()) {
        GTEST_SKIP() << "umockdev's emulation broke: " << complaint.toStdString();
    }
    EXPECT_EQ(dryRun, std::pair(QString("differs from its profile"), 0)) << complaint.toStdString();
    EXPECT_EQ(writes(), 0);
    const auto applied = apply({});
    if (emulationBroke()) {
        GTEST_SKIP() << "umockdev's emulation broke: " << complaint.toStdString();
    }
    EXPECT_EQ(applied, std::pair(QString("applied"), 0)) << complaint.toStdString();
    EXPECT_EQ(writes(), 1);
    EXPECT_EQ(chip->Panel().Configuration(), profile);
    const auto again = apply({});
    if (emulationBroke()) {
        GTEST_SKIP() << "umockdev's emulation broke: " << complaint.toStdString();
    }
    EXPECT_EQ(again, std::pair(QString("unchanged"), 0)) << complaint.toStdString();
    EXPECT_EQ(writes(), 1) << "a panel that is right is not written again";

    QFile garbage(profiles.filePath("QV826100.gpi"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("no settings in here\n");
    garbage.close();
    const auto [message, code] = apply({});
    if (emulationBroke()) {
        GTEST_SKIP() << "umockdev's emulation broke: " << complaint.toStdString();
    }
    EXPECT_EQ(code, CliFileError);
    EXPECT_TRUE(message.contains(garbage.fileName())) << message.toStdString();
    EXPECT_EQ(writes(), 1);
    EXPECT_EQ(chip->Panel().Configuration(), profile);
}

// The group and mode the packaged udev rule gives a panel's device node.
std::pair<QString, QString> RuleGroupAndMode() {
    QFile rule(QUVO_SOURCE_DIR "/packaging/70-quvo8261.rules");
    EXPECT_TRUE(rule.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(rule.readAll());
    return {QRegularExpression(R"x(GROUP="(\w+)")x").match(text).captured(1),
            QRegularExpression(R"x(MODE="([0-7]+)")x").match(text).captured(1)};
}

// The service's command line for this panel and profile folder, with the tool
// as built here.
QStringList UnitCommand(const QString& serial, const QString& profiles) {
    QFile unit(QUVO_SOURCE_DIR "/packaging/quvo8261-apply@.service");
    EXPECT_TRUE(unit.open(QIODevice::ReadOnly));
    const QRegularExpression execStart("^ExecStart=(.*)$", QRegularExpression::MultilineOption);
    QStringList words = execStart.match(QString::fromUtf8(unit.readAll()))
                            .captured(1)
                            .split(' ', Qt::SkipEmptyParts);
    words.replaceInStrings("%I", serial);
    words.replaceInStrings("/etc/quvo8261/panels", profiles);
    words.replaceInStrings("/usr/bin/quvo8261-cli", QUVO_CLI);
    return words;
}

// What the service runs, as a user without an account that is in the rule's
// group and no other (as systemd's dynamic user is), configures the panel; the
// same user outside that group cannot open it.
TEST_P(EmulatedChip, TheServiceConfiguresAPanelAsAUserOnlyInThePanelGroup) {
    chip = &bus->AddChip();
    if (GetParam() == "d2xx" && !QFile::exists(EmulationD2xxLibrary())) {
        GTEST_SKIP() << "FTDI's D2XX library was not built here (npm could not fetch it)";
    }
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (setpriv.isEmpty()) {
        GTEST_SKIP() << "setpriv (util-linux) is not installed";
    }
    // uid 61234 is in systemd's range for dynamic users.
    const QStringList asUser{"--reuid=61234", "--regid=61234"};
    if (QProcess::execute(setpriv, asUser + QStringList{"--clear-groups", "true"}) != 0) {
        GTEST_SKIP() << "this test cannot run a command as another user (it needs root)";
    }
    const auto [groupName, mode] = RuleGroupAndMode();
    QProcess getent;
    getent.start("getent", {"group", groupName});
    getent.waitForFinished(5000);
    const QString groupId = QString::fromUtf8(getent.readAllStandardOutput()).section(':', 2, 2);
    if (groupId.isEmpty()) {
        GTEST_SKIP() << "this system has no group " << groupName.toStdString();
    }
    // The node as udev leaves it: root's, with the rule's group and mode; the
    // test bed's folders open to all, as /dev and /sys are, and umockdev's
    // sockets behind the node too (only the node stands for the device).
    const QString root = QString::fromStdString(bus->RootDirectory());
    const QString node = root + QString::fromStdString(chip->DeviceNode());
    ASSERT_EQ(QProcess::execute("chmod", {"-R", "a+rX", root}), 0);
    ASSERT_EQ(QProcess::execute("chmod", {"-R", "a+w", root + "/ioctl"}), 0);
    ASSERT_EQ(QProcess::execute("chmod", {"1777", root}), 0);
    ASSERT_EQ(QProcess::execute("chgrp", {groupName, node}), 0);
    ASSERT_EQ(QProcess::execute("chmod", {mode, node}), 0);

    const QTemporaryDir profiles;
    const QString profileFile = profiles.filePath("QV826100.FFFF.gpi");
    ConfigBlock profile;
    LoadFactoryValues(profile);
    profile[RecordOffset(3) + RecordMODE] = ModeFixed;
    WriteSettingsFile(FilePath(profileFile), profile);
    ASSERT_EQ(QProcess::execute("chmod", {"-R", "a+rX", profiles.path()}), 0);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("UMOCKDEV_DIR", root);
    environment.insert("QUVO_D2XX_LIBRARY", EmulationD2xxLibrary());
    environment.insert("HOME", "/nonexistent");
    const QStringList command = UnitCommand("QV826100.FFFF", profiles.path());
    // The service's command as that user with these groups: its exit code, and
    // what it said.
    const auto runWith = [&](const QString& groups) {
        QProcess tool;
        tool.setProcessEnvironment(environment);
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(setpriv, asUser +
                                QStringList{groups, "--", command.first(),
                                            QString::fromStdString("--driver=" + GetParam())} +
                                command.mid(1));
        EXPECT_TRUE(tool.waitForFinished(30000));
        return std::pair{tool.exitCode(), QString::fromUtf8(tool.readAll())};
    };
    const auto broke = [](const QString& said) {
        return said.contains("libumockdev-preload: Error communicating with ioctl socket");
    };

    const auto [outsideCode, outsideSaid] = runWith("--clear-groups");
    if (broke(outsideSaid)) {
        GTEST_SKIP() << "umockdev's emulation broke: " << outsideSaid.toStdString();
    }
    EXPECT_EQ(outsideCode, CliNoPanel) << outsideSaid.toStdString();
    EXPECT_TRUE(outsideSaid.contains("you may not open /dev/bus/usb/001/002"))
        << outsideSaid.toStdString();
    EXPECT_NE(chip->Panel().Configuration(), profile);

    const auto [memberCode, memberSaid] = runWith("--groups=" + groupId);
    if (broke(memberSaid)) {
        GTEST_SKIP() << "umockdev's emulation broke: " << memberSaid.toStdString();
    }
    EXPECT_EQ(memberCode, 0) << memberSaid.toStdString();
    EXPECT_TRUE(memberSaid.contains("applied")) << memberSaid.toStdString();
    EXPECT_EQ(chip->Panel().Configuration(), profile);
}

INSTANTIATE_TEST_SUITE_P(RealLibraries, EmulatedChip, ::testing::Values("libftdi", "d2xx"),
                         [](const auto& library) { return library.param; });

// What only the open-source back-end does: a chip the kernel's serial driver
// holds is taken over; one another program claimed is listed as D2XX lists it.
using LibFtdiOnEmulatedChip = EmulatedBus;

TEST_F(LibFtdiOnEmulatedChip, ChipHeldByTheKernelDriverIsListedAndOpened) {
    EmulatedChipSettings settings;
    settings.heldByKernelDriver = true;
    EmulatedFt232r& held = bus->AddChip(settings);
    SetFtdiApi(LibFtdiFtdiApi());
    ASSERT_EQ(EnumerateDevices(), FT_OK);
    const FT_DEVICE_LIST_INFO_NODE* node = Listed(PanelSerial);
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(IsPanelDevice(*node));
    EXPECT_TRUE(held.KernelDriverBound()) << "listing must not detach the driver";
    ASSERT_TRUE(Open(node->LocId));
    EXPECT_FALSE(held.KernelDriverBound());
}

TEST_F(LibFtdiOnEmulatedChip, ChipClaimedByAnotherProgramIsListedAsOpenedAndNotOpened) {
    EmulatedChipSettings settings;
    settings.claimedElsewhere = true;
    bus->AddChip(settings);
    SetFtdiApi(LibFtdiFtdiApi());
    ASSERT_EQ(EnumerateDevices(), FT_OK);
    ASSERT_EQ(DeviceInfoCount, 1u);
    EXPECT_EQ(DeviceInfoList[0].Flags, FT_FLAGS_OPENED);
    EXPECT_EQ(SerialNumberOf(DeviceInfoList[0]), "");
    EXPECT_FALSE(IsPanelDevice(DeviceInfoList[0]));
    // Opening it anyway, or a place where nothing is plugged in, fails as with D2XX.
    EXPECT_EQ(Port_OpenByLocation(LocationIdOf(1, {1})), FT_DEVICE_NOT_OPENED);
    EXPECT_EQ(Port_OpenByLocation(LocationIdOf(1, {7})), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(PortHandle, nullptr);
}

// `--all` through the real library, each panel in a process of its own: a panel
// unplugged while its configuration is written fails alone; the others finish,
// the results keep the panels' order and the exit code is the worst of them.
TEST_F(LibFtdiOnEmulatedChip, AllPanelsSideBySideOneUnpluggedMidWay) {
    std::vector<EmulatedFt232r*> chips;
    for (int panel = 0; panel < 3; ++panel) {
        EmulatedChipSettings settings;
        settings.serialNumber = "RACK0" + std::to_string(panel) + ".FFFF";
        settings.port = panel + 1;
        chips.push_back(&bus->AddChip(settings));
    }
    // The configuration is stored and the chip gone before the read-back, however
    // slowly this test comes to unplug it.
    std::atomic<bool> written{false};
    EmulatedFt232r* cut = chips[1];
    chips[1]->Panel().SetStorageFault([&written, cut](ConfigBlock&) {
        cut->CutOff();
        written.store(true);
    });
    const QTemporaryDir folder;
    const QString file = FactorySettingsFile(folder);

    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("UMOCKDEV_DIR", QString::fromStdString(bus->RootDirectory()));
    tool.setProcessEnvironment(environment);
    tool.start(QUVO_CLI, {"--driver=libftdi", "list", "--json"});
    ASSERT_TRUE(tool.waitForFinished(20000));
    QStringList listed;
    for (const QJsonValue& panel :
         QJsonDocument::fromJson(tool.readAllStandardOutput()).object().value("panels").toArray()) {
        listed << panel.toObject().value("serial").toString();
    }
    ASSERT_EQ(listed.size(), 3);

    tool.start(QUVO_CLI, {"--driver=libftdi", "--all", "import", file, "--verify", "--json"});
    ASSERT_TRUE(tool.waitForStarted());
    ASSERT_TRUE(WaitFor([&] { return written.load(); }, 15000ms));
    bus->Unplug(*chips[1]);
    ASSERT_TRUE(tool.waitForFinished(20000));
    const QByteArray output = tool.readAllStandardOutput();
    const QJsonArray results = QJsonDocument::fromJson(output).object().value("results").toArray();
    ASSERT_EQ(results.size(), 3) << output.toStdString();
    for (int panel = 0; panel < 3; ++panel) {
        const QJsonObject result = results[panel].toObject();
        EXPECT_EQ(result.value("serial").toString(), listed[panel]) << "in the order of list";
        EXPECT_EQ(result.value("exitCode").toInt(),
                  listed[panel] == "RACK01.FFFF" ? CliLinkFailure : CliDone)
            << result.value("message").toString().toStdString();
    }
    EXPECT_EQ(tool.exitCode(), CliLinkFailure);
    ConfigBlock factory;
    LoadFactoryValues(factory);
    EXPECT_EQ(chips[0]->Panel().Configuration(), factory);
    EXPECT_EQ(chips[2]->Panel().Configuration(), factory);
}

} // namespace
