// SPDX-License-Identifier: Apache-2.0
#include "link/D2XXUnit_mod.h"

#include "link/LinkLogging.h"

#include <cstring>

// The port module's state and the value each part starts with, which a reset
// restores.
#define QUVO_PORT_STATE(STATE)                                                                     \
    STATE(FT_HANDLE, PortHandle, nullptr)                                                          \
    STATE(bool, ShowErrors, true)                                                                  \
    STATE(std::int32_t, LastIoStatus, 0)                                                           \
    STATE(std::uint32_t, PortBaudRate, 0)                                                          \
    STATE(std::uint8_t, PortWordLength, 0)                                                         \
    STATE(std::uint8_t, PortStopBits, 0)                                                           \
    STATE(std::uint8_t, PortParity, 0)                                                             \
    STATE(std::uint16_t, PortFlowControl, 0)                                                       \
    STATE(std::uint8_t, PortXonChar, 0x11)                                                         \
    STATE(std::uint8_t, PortXoffChar, 0x13)                                                        \
    STATE(std::uint32_t, RxQueueBytes, 0)                                                          \
    STATE(std::uint32_t, TxQueueBytes, 0)                                                          \
    STATE(std::uint32_t, PortEventStatus, 0)                                                       \
    STATE(std::uint32_t, DeviceInfoCount, 0)

#define QUVO_DEFINE_PORT_STATE(type, name, initial) type name = initial;
QUVO_PORT_STATE(QUVO_DEFINE_PORT_STATE)
#undef QUVO_DEFINE_PORT_STATE
std::array<std::uint8_t, PortBufferSize> RxBuffer{};
std::array<std::uint8_t, PortBufferSize> TxBuffer{};
std::vector<FT_DEVICE_LIST_INFO_NODE> DeviceInfoList;

namespace {

FtdiApi Api;
PortErrorDialog ErrorDialog;

FT_STATUS Checked(const char* label, FT_STATUS status) {
    Port_ReportError(label, status);
    return status;
}

} // namespace

void SetFtdiApi(const FtdiApi& api) {
    Api = api;
}

void SetPortErrorDialog(PortErrorDialog dialog) {
    ErrorDialog = std::move(dialog);
}

void ResetPortModule() {
#define QUVO_RESET_PORT_STATE(type, name, initial) name = initial;
    QUVO_PORT_STATE(QUVO_RESET_PORT_STATE)
#undef QUVO_RESET_PORT_STATE
    DeviceInfoList.clear();
}

std::string PortStatusText(FT_STATUS status) {
    static const char* const Texts[] = {
        "",
        " - Invalid handle...",
        " - Device not found...",
        " - Device not opened...",
        " - General IO error...",
        " - Insufficient resources...",
        " - Invalid parameter...",
        " - Invalid baud rate...",
        " Device not opened for erase...",
        " Device not opened for write...",
        " - Failed to write...",
        " - EEPROM read failed...",
        " - EEPROM write failed...",
        " - EEPROM erase failed...",
        " - EEPROM not present...",
        " - EEPROM not programmed...",
        " - Invalid arguments...",
        " - Other error ...",
    };
    if (status < std::size(Texts)) {
        return Texts[status];
    }
    return " - Unknown error " + std::to_string(status);
}

void Port_ReportError(const std::string& label, FT_STATUS status) {
    if (!ShowErrors || status == FT_OK || !ErrorDialog) {
        return;
    }
    ErrorDialog(label + PortStatusText(status));
}

FT_STATUS Port_OpenByLocation(std::uint32_t locationId) {
    // Opening by location passes the id itself in the pointer argument.
    void* location = reinterpret_cast<void*>(std::uintptr_t(locationId));
    return Checked("Open_USB_Device_By_Device_Location",
                   Api.OpenEx(location, FT_OPEN_BY_LOCATION, &PortHandle));
}

FT_STATUS Port_Close() {
    return Checked("FT_Close", Api.Close(PortHandle));
}

std::uint32_t Port_Read(std::uint32_t count) {
    DWORD got = 0;
    const FT_STATUS status = Api.Read(PortHandle, RxBuffer.data(), count, &got);
    LastIoStatus = std::int32_t(status);
    Port_ReportError("FT_Read", status);
    return got;
}

std::uint32_t Port_Write(std::uint32_t count) {
    DWORD written = 0;
    const FT_STATUS status = Api.Write(PortHandle, TxBuffer.data(), count, &written);
    LastIoStatus = std::int32_t(status);
    Port_ReportError("FT_Write", status);
    return written;
}

FT_STATUS Port_Reset() {
    return Checked("FT_ResetDevice", Api.ResetDevice(PortHandle));
}

FT_STATUS Port_SetBaudRate() {
    return Checked("FT_SetBaudRate", Api.SetBaudRate(PortHandle, PortBaudRate));
}

FT_STATUS Port_SetDataCharacteristics() {
    return Checked(
        "FT_SetDataCharacteristics",
        Api.SetDataCharacteristics(PortHandle, PortWordLength, PortStopBits, PortParity));
}

FT_STATUS Port_SetFlowControl() {
    return Checked("FT_SetFlowControl",
                   Api.SetFlowControl(PortHandle, PortFlowControl, PortXonChar, PortXoffChar));
}

FT_STATUS Port_SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs) {
    return Checked("FT_SetTimeouts", Api.SetTimeouts(PortHandle, readMs, writeMs));
}

FT_STATUS Port_PurgeRx() {
    return Checked("FT_Purge RX", Api.Purge(PortHandle, FT_PURGE_RX));
}

FT_STATUS Port_PurgeTx() {
    return Checked("FT_Purge TX", Api.Purge(PortHandle, FT_PURGE_TX));
}

FT_STATUS Port_GetQueueStatus() {
    return Checked("FT_GetQueueStatus", Api.GetQueueStatus(PortHandle, &RxQueueBytes));
}

FT_STATUS Port_GetStatus() {
    return Checked("FT_GetStatus",
                   Api.GetStatus(PortHandle, &RxQueueBytes, &TxQueueBytes, &PortEventStatus));
}

FT_STATUS Port_SetLatencyTimer(std::uint8_t milliseconds) {
    const FT_STATUS status = Api.SetLatencyTimer != nullptr
                                 ? Api.SetLatencyTimer(PortHandle, milliseconds)
                                 : FT_OTHER_ERROR;
    if (status != FT_OK) {
        qCInfo(lcLink) << "FT_SetLatencyTimer" << milliseconds << "failed with status" << status
                       << "- the panel answers more slowly";
    }
    return status;
}

FT_STATUS Port_SetEventCharacter(std::uint8_t character, bool enabled) {
    const FT_STATUS status = Api.SetChars != nullptr
                                 ? Api.SetChars(PortHandle, character, enabled ? 1 : 0, 0, 0)
                                 : FT_OTHER_ERROR;
    if (status != FT_OK) {
        qCInfo(lcLink) << "FT_SetChars" << character << "failed with status" << status
                       << "- replies wait for the latency timer";
    }
    return status;
}

FT_STATUS DeviceList_Create() {
    return Checked("FT_CreateDeviceInfoList", Api.CreateDeviceInfoList(&DeviceInfoCount));
}

FT_STATUS DeviceList_Get() {
    DeviceInfoList.assign(DeviceInfoCount, FT_DEVICE_LIST_INFO_NODE{});
    const FT_STATUS status = Api.GetDeviceInfoList(DeviceInfoList.data(), &DeviceInfoCount);
    // Never trust the library's count beyond the records we gave it room for.
    if (DeviceInfoCount > DeviceInfoList.size()) {
        DeviceInfoCount = std::uint32_t(DeviceInfoList.size());
    }
    return Checked("FT_GetDeviceInfoList", status);
}

namespace {

// The shortest timer the library takes.
void SetShortestLatencyTimer() {
    if (Port_SetLatencyTimer(PortLatencyTimerMs) != FT_OK) {
        Port_SetLatencyTimer(PortDocumentedLatencyTimerMs);
    }
}

} // namespace

bool PortSetUpSequence(std::uint32_t locationId) {
    ShowErrors = true;
    if (Port_OpenByLocation(locationId) != FT_OK) {
        return false;
    }
    Port_Reset(); // a failed reset is reported but the line set-up goes on
    PortBaudRate = 115200;
    PortWordLength = FT_BITS_8;
    PortStopBits = FT_STOP_BITS_1;
    PortParity = FT_PARITY_NONE;
    PortFlowControl = FT_FLOW_NONE;
    const bool ready = Port_SetBaudRate() == FT_OK && Port_SetDataCharacteristics() == FT_OK &&
                       Port_SetFlowControl() == FT_OK && Port_SetTimeouts(2000, 2000) == FT_OK &&
                       // Their failures only slow the link.
                       (SetShortestLatencyTimer(), true) &&
                       (Port_SetEventCharacter(PortEventCharacter, true), true) &&
                       Port_PurgeRx() == FT_OK && Port_PurgeTx() == FT_OK;
    if (!ready) {
        Port_Close();
        return false;
    }
    ShowErrors = false;
    return true;
}

void PortShutDownSequence() {
    if (Port_GetStatus() == FT_OK) {
        Port_PurgeRx();
        Port_PurgeTx();
    }
    Port_Close();
}

FT_STATUS EnumerateDevices() {
    const FT_STATUS created = DeviceList_Create();
    if (created != FT_OK) {
        return created;
    }
    return DeviceList_Get();
}

std::string SerialNumberOf(const FT_DEVICE_LIST_INFO_NODE& node) {
    return std::string(node.SerialNumber, strnlen(node.SerialNumber, sizeof node.SerialNumber));
}

std::string DescriptionOf(const FT_DEVICE_LIST_INFO_NODE& node) {
    return std::string(node.Description, strnlen(node.Description, sizeof node.Description));
}
