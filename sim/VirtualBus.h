// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/FtdiApi.h"
#include "sim/VirtualPanel.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Library calls the virtual bus logs and can be told to fail: the port module's
// calls, with a purge of the receive and of the transmit buffer told apart.
enum class ApiCall {
#define QUVO_API_CALL(name, need, parameters) name,
    QUVO_FTDI_CALLS(QUVO_API_CALL)
#undef QUVO_API_CALL
        PurgeTx,
    PurgeRx = Purge,
};

const char* ApiCallName(ApiCall call);

struct VirtualDeviceInfo {
    std::uint32_t locationId = 0;
    std::string serialNumber;
    std::string description;
    std::uint32_t type = FT_DEVICE_232R;
    bool openElsewhere = false; // held by another process
};

// The USB bus as the simulated FTDI library sees it: devices come and go at run
// time, each with a panel behind it. One bus per process, like the real one.
class VirtualBus {
public:
    static VirtualBus& Instance();

    std::shared_ptr<VirtualPanel> AddDevice(const VirtualDeviceInfo& info);
    void RemoveDevice(std::uint32_t locationId); // unplug, also while open
    // Plugs a panel (back) in, keeping what it stores.
    void PlugIn(const VirtualDeviceInfo& info, std::shared_ptr<VirtualPanel> panel);
    struct AttachedDevice {
        VirtualDeviceInfo info;
        std::shared_ptr<VirtualPanel> panel;
    };
    std::vector<AttachedDevice> Devices();
    void RemoveAllDevices();
    void SetOpenElsewhere(std::uint32_t locationId, bool openElsewhere);
    std::shared_ptr<VirtualPanel> Panel(std::uint32_t locationId);

    // Every later call of this kind returns `status` (0 clears it).
    void FailCall(ApiCall call, FT_STATUS status);
    void ClearFailures();
    std::vector<ApiCall> CallLog();
    void ClearCallLog();
    int OpenHandleCount();

    // Back-end entry points, in the library's terms.
    FT_STATUS CreateDeviceInfoList(DWORD* count);
    FT_STATUS GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* count);
    FT_STATUS OpenByLocation(std::uint32_t locationId, FT_HANDLE* handle);
    FT_STATUS Close(FT_HANDLE handle);
    FT_STATUS Read(FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* got);
    FT_STATUS Write(FT_HANDLE handle, const void* buffer, DWORD toWrite, DWORD* written);
    FT_STATUS Configure(ApiCall call, FT_HANDLE handle, std::uint32_t readTimeoutMs = 0);
    FT_STATUS SetLatencyTimer(FT_HANDLE handle, UCHAR milliseconds);
    FT_STATUS SetChars(FT_HANDLE handle, UCHAR eventChar, UCHAR eventCharEnabled);
    FT_STATUS Purge(FT_HANDLE handle, ULONG mask);
    FT_STATUS GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes);
    FT_STATUS GetStatus(FT_HANDLE handle, DWORD* rxBytes, DWORD* txBytes, DWORD* eventWord);

private:
    struct Device {
        VirtualDeviceInfo info;
        std::shared_ptr<VirtualPanel> panel;
        bool plugged = true;
        bool openHere = false;
    };
    struct OpenPort {
        std::shared_ptr<Device> device;
        std::uint32_t readTimeoutMs = 0;
    };

    // Logs the call and gives its injected failure, if any.
    FT_STATUS Enter(ApiCall call);
    // Enter, then the open port behind a handle, or the status to return for it.
    FT_STATUS EnterPort(ApiCall call, FT_HANDLE handle, OpenPort*& port);
    // The same under the bus lock, giving the panel for calls that wait outside it.
    FT_STATUS PanelBehind(ApiCall call, FT_HANDLE handle, std::shared_ptr<VirtualPanel>& panel);

    std::mutex mutex_;
    std::vector<std::shared_ptr<Device>> devices_;
    std::vector<std::shared_ptr<Device>> snapshot_;
    std::map<FT_HANDLE, std::unique_ptr<OpenPort>> handles_;
    std::map<ApiCall, FT_STATUS> failures_;
    std::vector<ApiCall> callLog_;
};

// The FTDI API table served by the virtual bus.
FtdiApi SimulatorFtdiApi();

// The panels `--simulate` starts with: all 16 channels, and channels 1..8.
inline constexpr int DefaultVirtualPanelCount = 2;
// The most `--simulate=N` attaches: two racks of sixteen.
inline constexpr int MostVirtualPanels = 32;

// The two default panels, then as many more 16-channel panels as `count` asks
// for (QV826102.FFFF, QV826103.FFFF, ...), each on a line that behaves as an
// FT232R's does. Where QUVO_VIRTUAL_PANEL_STORE names a folder, each keeps
// what it stores there between runs, as a real panel does (SERIAL.bin);
// otherwise each starts with the factory configuration.
void AddDefaultVirtualPanels(int count = DefaultVirtualPanelCount);

// The panel starts with the configuration in `file` where it holds one, and
// keeps each configuration written to it there; a file that cannot be read or
// written is logged and leaves the panel as it is.
void KeepStoredConfiguration(VirtualPanel& panel, const std::filesystem::path& file);

// `--simulate`: the virtual bus gets `count` panels, and the table returned
// leads to it; the back-end choice (UseBackEnd) installs it in the port module.
FtdiApi UseVirtualPanels(int count = DefaultVirtualPanelCount);
