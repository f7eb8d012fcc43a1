// SPDX-License-Identifier: Apache-2.0
#include "tests/support/PortFixture.h"

namespace {

using Port = PortFixture;

TEST_F(Port, StatusTextsIncludingTheOddOnes) {
    EXPECT_EQ(PortStatusText(1), " - Invalid handle...");
    EXPECT_EQ(PortStatusText(8), " Device not opened for erase...");
    EXPECT_EQ(PortStatusText(9), " Device not opened for write...");
    EXPECT_EQ(PortStatusText(17), " - Other error ...");
    EXPECT_EQ(PortStatusText(18), " - Unknown error 18");
    Port_ReportError("FT_Close", 8);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], "FT_Close Device not opened for erase...");
}

TEST_F(Port, NothingIsShownWithErrorsOffButTheStatusStillReturns) {
    ShowErrors = false;
    EXPECT_EQ(Port_OpenByLocation(0x9999), FT_DEVICE_NOT_FOUND);
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(Port, OpeningAGoneDeviceNamesTheCallAndLeavesNoPortOpen) {
    EXPECT_FALSE(PortSetUpSequence(0x9999));
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], "Open_USB_Device_By_Device_Location - Device not found...");
    EXPECT_EQ(VirtualBus::Instance().OpenHandleCount(), 0);
    EXPECT_TRUE(ShowErrors) << "the device list switches it off itself";
}

TEST_F(Port, SuccessfulSetUpConfiguresTheLineAndSilencesErrors) {
    AddPanel();
    ASSERT_TRUE(PortSetUpSequence(PanelLocation));
    EXPECT_TRUE(dialogs.empty());
    EXPECT_FALSE(ShowErrors);
    EXPECT_EQ(PortBaudRate, 115200u);
    EXPECT_EQ(PortWordLength, 8);
    EXPECT_EQ(PortStopBits, 0);
    EXPECT_EQ(PortParity, 0);
    EXPECT_EQ(PortFlowControl, 0);
    const std::vector<ApiCall> expected = {
        ApiCall::OpenEx,          ApiCall::ResetDevice,
        ApiCall::SetBaudRate,     ApiCall::SetDataCharacteristics,
        ApiCall::SetFlowControl,  ApiCall::SetTimeouts,
        ApiCall::SetLatencyTimer, ApiCall::SetChars,
        ApiCall::PurgeRx,         ApiCall::PurgeTx};
    EXPECT_EQ(VirtualBus::Instance().CallLog(), expected);
    EXPECT_EQ(VirtualBus::Instance().Panel(PanelLocation)->LatencyTimer(), PortLatencyTimerMs);
    EXPECT_EQ(VirtualBus::Instance().OpenHandleCount(), 1);
    PortShutDownSequence();
    EXPECT_EQ(VirtualBus::Instance().OpenHandleCount(), 0);
}

// A library that holds to FTDI's documented 2..255 ms gets 2 ms; the chip
// itself takes 1 ms.
FT_STATUS FT_API DocumentedRangeOnly(FT_HANDLE handle, UCHAR milliseconds) {
    return milliseconds < PortDocumentedLatencyTimerMs
               ? FT_INVALID_PARAMETER
               : SimulatorFtdiApi().SetLatencyTimer(handle, milliseconds);
}

TEST_F(Port, ALibraryThatRefusesOneMillisecondGetsTheDocumentedTimer) {
    AddPanel();
    ASSERT_TRUE(PortSetUpSequence(PanelLocation));
    EXPECT_EQ(VirtualBus::Instance().Panel(PanelLocation)->LatencyTimer(), 1);
    PortShutDownSequence();

    FtdiApi strict = SimulatorFtdiApi();
    strict.SetLatencyTimer = DocumentedRangeOnly;
    SetFtdiApi(strict);
    ASSERT_TRUE(PortSetUpSequence(PanelLocation));
    EXPECT_EQ(VirtualBus::Instance().Panel(PanelLocation)->LatencyTimer(), 2);
    PortShutDownSequence();
    SetFtdiApi(SimulatorFtdiApi());
}

// A failure at each set-up step in turn: which boxes appear, whether the port is
// closed, and that no later step is attempted. The latency timer and the event
// character only slow the link: their failures show nothing and the set-up goes on.
TEST_F(Port, FailureAtEachSetUpStep) {
    const ApiCall sequence[] = {ApiCall::OpenEx,          ApiCall::ResetDevice,
                                ApiCall::SetBaudRate,     ApiCall::SetDataCharacteristics,
                                ApiCall::SetFlowControl,  ApiCall::SetTimeouts,
                                ApiCall::SetLatencyTimer, ApiCall::SetChars,
                                ApiCall::PurgeRx,         ApiCall::PurgeTx};
    const char* labels[] = {"Open_USB_Device_By_Device_Location",
                            "FT_ResetDevice",
                            "FT_SetBaudRate",
                            "FT_SetDataCharacteristics",
                            "FT_SetFlowControl",
                            "FT_SetTimeouts",
                            nullptr,
                            nullptr,
                            "FT_Purge RX",
                            "FT_Purge TX"};
    const std::vector<ApiCall> all(std::begin(sequence), std::end(sequence));
    AddPanel();
    for (std::size_t failing = 0; failing < std::size(sequence); ++failing) {
        const ApiCall step = sequence[failing];
        SCOPED_TRACE(ApiCallName(step));
        dialogs.clear();
        VirtualBus::Instance().ClearCallLog();
        VirtualBus::Instance().ClearFailures();
        VirtualBus::Instance().FailCall(step, FT_IO_ERROR);

        const bool ready = PortSetUpSequence(PanelLocation);
        const auto calls = VirtualBus::Instance().CallLog();
        if (labels[failing] == nullptr) {
            EXPECT_TRUE(dialogs.empty());
        } else {
            ASSERT_EQ(dialogs.size(), 1u);
            EXPECT_EQ(dialogs[0], std::string(labels[failing]) + " - General IO error...");
        }

        if (step == ApiCall::SetLatencyTimer) {
            EXPECT_TRUE(ready);
            std::vector<ApiCall> expected = all;
            expected.insert(expected.begin() + std::ptrdiff_t(failing), step); // 1 ms, then 2 ms
            EXPECT_EQ(calls, expected);
            PortShutDownSequence();
        } else if (step == ApiCall::ResetDevice || step == ApiCall::SetChars) {
            EXPECT_TRUE(ready);
            EXPECT_EQ(calls, all);
            PortShutDownSequence();
        } else if (step == ApiCall::OpenEx) {
            EXPECT_FALSE(ready);
            EXPECT_EQ(calls, std::vector<ApiCall>{ApiCall::OpenEx});
        } else {
            EXPECT_FALSE(ready);
            std::vector<ApiCall> expected(all.begin(), all.begin() + std::ptrdiff_t(failing) + 1);
            expected.push_back(ApiCall::Close);
            EXPECT_EQ(calls, expected) << "steps up to the failing one, then close";
        }
        EXPECT_EQ(VirtualBus::Instance().OpenHandleCount(), 0);
    }
}

TEST_F(Port, TheLatencyTimerIsSetOnTheOpenedDeviceOnly) {
    auto opened = AddPanel();
    auto other = VirtualBus::Instance().AddDevice({0x7777, "QV9.FFFF", "QUVO-8261-16"});
    ASSERT_TRUE(PortSetUpSequence(PanelLocation));
    EXPECT_EQ(opened->LatencyTimer(), PortLatencyTimerMs);
    EXPECT_EQ(other->LatencyTimer(), VirtualPanel::DefaultLatencyTimerMs);
    PortShutDownSequence();
}

TEST_F(Port, ShutDownPurgesOnlyWhenTheStatusQuerySucceedsAndAlwaysCloses) {
    AddPanel();
    ASSERT_TRUE(PortSetUpSequence(PanelLocation));
    VirtualBus::Instance().ClearCallLog();
    PortShutDownSequence();
    EXPECT_EQ(VirtualBus::Instance().CallLog(), (std::vector{ApiCall::GetStatus, ApiCall::PurgeRx,
                                                             ApiCall::PurgeTx, ApiCall::Close}));

    ASSERT_TRUE(PortSetUpSequence(PanelLocation));
    VirtualBus::Instance().ClearCallLog();
    VirtualBus::Instance().FailCall(ApiCall::GetStatus, FT_IO_ERROR);
    PortShutDownSequence();
    EXPECT_EQ(VirtualBus::Instance().CallLog(), (std::vector{ApiCall::GetStatus, ApiCall::Close}));
    EXPECT_EQ(VirtualBus::Instance().OpenHandleCount(), 0);
    EXPECT_TRUE(dialogs.empty()) << "the shut-down never reports";
}

TEST_F(Port, EnumerationListsDevicesAndAnEmptyBus) {
    EXPECT_EQ(EnumerateDevices(), FT_OK);
    EXPECT_EQ(DeviceInfoCount, 0u);
    EXPECT_TRUE(DeviceInfoList.empty());

    AddPanel("QV1.FF00");
    VirtualBus::Instance().AddDevice({0x3000, "", "", FT_DEVICE_232R, true});
    ASSERT_EQ(EnumerateDevices(), FT_OK);
    ASSERT_EQ(DeviceInfoCount, 2u);
    EXPECT_EQ(DeviceInfoList[0].Flags & FT_FLAGS_OPENED, 0u);
    EXPECT_EQ(DeviceInfoList[0].Type, FT_DEVICE_232R);
    EXPECT_EQ(DeviceInfoList[0].LocId, PanelLocation);
    EXPECT_EQ(SerialNumberOf(DeviceInfoList[0]), "QV1.FF00");
    EXPECT_EQ(DescriptionOf(DeviceInfoList[0]), "QUVO-8261-16");
    EXPECT_EQ(DeviceInfoList[1].Flags, FT_FLAGS_OPENED);
    EXPECT_EQ(DescriptionOf(DeviceInfoList[1]), "");

    VirtualBus::Instance().FailCall(ApiCall::CreateDeviceInfoList, FT_OTHER_ERROR);
    EXPECT_EQ(EnumerateDevices(), FT_OTHER_ERROR);
}

TEST_F(Port, UnterminatedStringsAreReadWithinTheirFields) {
    FT_DEVICE_LIST_INFO_NODE node{};
    std::fill(std::begin(node.SerialNumber), std::end(node.SerialNumber), 'S');
    std::fill(std::begin(node.Description), std::end(node.Description), 'D');
    EXPECT_EQ(SerialNumberOf(node), std::string(16, 'S'));
    EXPECT_EQ(DescriptionOf(node), std::string(64, 'D'));
}

} // namespace
