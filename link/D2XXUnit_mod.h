// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/FtdiApi.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// USB port access: the only code that calls the FTDI API. One port for the whole
// process. The GUI thread uses this state before the link thread starts and after
// it has been stopped; the link thread uses it in between (Port_Write,
// Port_GetQueueStatus, Port_Read, the buffers and LastIoStatus).

inline constexpr std::size_t PortBufferSize = 65536;

extern FT_HANDLE PortHandle;
extern bool ShowErrors;
extern std::int32_t LastIoStatus;
extern std::array<std::uint8_t, PortBufferSize> RxBuffer;
extern std::array<std::uint8_t, PortBufferSize> TxBuffer;
extern std::uint32_t PortBaudRate;
extern std::uint8_t PortWordLength;
extern std::uint8_t PortStopBits;
extern std::uint8_t PortParity;
extern std::uint16_t PortFlowControl;
extern std::uint8_t PortXonChar;
extern std::uint8_t PortXoffChar;
extern std::uint32_t RxQueueBytes;
extern std::uint32_t TxQueueBytes;
extern std::uint32_t PortEventStatus;
extern std::uint32_t DeviceInfoCount;
extern std::vector<FT_DEVICE_LIST_INFO_NODE> DeviceInfoList;

// The back-end every port call goes through.
void SetFtdiApi(const FtdiApi& api);

// Shows an error box (caption "Error", error icon, OK). The program installs its
// dialog facade here; without one, errors are not shown.
using PortErrorDialog = std::function<void(const std::string& text)>;
void SetPortErrorDialog(PortErrorDialog dialog);

// Puts the module state back to its values at program load (the back-end stays).
void ResetPortModule();

// The text appended to a call's label for a library status.
std::string PortStatusText(FT_STATUS status);
void Port_ReportError(const std::string& label, FT_STATUS status);

FT_STATUS Port_OpenByLocation(std::uint32_t locationId);
FT_STATUS Port_Close();
std::uint32_t Port_Read(std::uint32_t count);
std::uint32_t Port_Write(std::uint32_t count);
FT_STATUS Port_Reset();
FT_STATUS Port_SetBaudRate();
FT_STATUS Port_SetDataCharacteristics();
FT_STATUS Port_SetFlowControl();
FT_STATUS Port_SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs);
FT_STATUS Port_PurgeRx();
FT_STATUS Port_PurgeTx();
FT_STATUS Port_GetQueueStatus();
FT_STATUS Port_GetStatus();
// Not reported in a dialog: a chip that keeps its default timer still works.
FT_STATUS Port_SetLatencyTimer(std::uint8_t milliseconds);

// The chip hands what it holds to the host at once when this character arrives;
// 0 with `enabled` false switches that off. Not reported in a dialog either.
FT_STATUS Port_SetEventCharacter(std::uint8_t character, bool enabled);

// The latency timer the set-up gives the chip: a reply that does not fill a USB
// packet waits in the chip until the timer runs out (every 16 ms by default).
// The chip takes 1 ms, as Linux's own driver sets it; where a library holds to
// FTDI's documented 2..255 ms, the set-up asks for 2 ms instead.
inline constexpr std::uint8_t PortLatencyTimerMs = 1;
inline constexpr std::uint8_t PortDocumentedLatencyTimerMs = 2;
// Every reply of the panel ends with this trailer: as the chip's event
// character it hands each reply over as soon as its last byte has arrived.
inline constexpr std::uint8_t PortEventCharacter = 0xC5;
FT_STATUS DeviceList_Create();
FT_STATUS DeviceList_Get();

// Opens the device and sets the line up for the panel: true when the port is
// ready. On failure the port is closed again (unless it never opened).
bool PortSetUpSequence(std::uint32_t locationId);
// Purges (when the device still answers) and closes the port; never reports.
void PortShutDownSequence();
// DeviceList_Create and DeviceList_Get: 0, or the first failing status.
FT_STATUS EnumerateDevices();

// Bounded reads of the text fields of a device-information record.
std::string SerialNumberOf(const FT_DEVICE_LIST_INFO_NODE& node);
std::string DescriptionOf(const FT_DEVICE_LIST_INFO_NODE& node);
