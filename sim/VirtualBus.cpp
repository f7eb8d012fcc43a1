// SPDX-License-Identifier: Apache-2.0
#include "sim/VirtualBus.h"

#include "model/RegularFile.h"

#include <QLoggingCategory>

#include <algorithm>
#include <cstdio>
#include <cstring>

Q_LOGGING_CATEGORY(lcSim, "quvo.sim", QtWarningMsg)

const char* ApiCallName(ApiCall call) {
    static const char* const Names[] = {
#define QUVO_CALL_NAME(name, need, parameters) "FT_" #name,
        QUVO_FTDI_CALLS(QUVO_CALL_NAME)
#undef QUVO_CALL_NAME
    };
    if (call == ApiCall::PurgeRx) {
        return "FT_Purge RX";
    }
    return call == ApiCall::PurgeTx ? "FT_Purge TX" : Names[static_cast<int>(call)];
}

VirtualBus& VirtualBus::Instance() {
    static VirtualBus bus;
    return bus;
}

std::shared_ptr<VirtualPanel> VirtualBus::AddDevice(const VirtualDeviceInfo& info) {
    auto panel = std::make_shared<VirtualPanel>();
    PlugIn(info, panel);
    return panel;
}

void VirtualBus::RemoveDevice(std::uint32_t locationId) {
    std::lock_guard lock(mutex_);
    for (auto& device : devices_) {
        if (device->info.locationId == locationId) {
            device->plugged = false;
        }
    }
    std::erase_if(devices_, [](const auto& device) { return !device->plugged; });
}

void VirtualBus::PlugIn(const VirtualDeviceInfo& info, std::shared_ptr<VirtualPanel> panel) {
    std::lock_guard lock(mutex_);
    auto device = std::make_shared<Device>();
    device->info = info;
    device->panel = std::move(panel);
    devices_.push_back(device);
}

std::vector<VirtualBus::AttachedDevice> VirtualBus::Devices() {
    std::lock_guard lock(mutex_);
    std::vector<AttachedDevice> attached;
    for (const auto& device : devices_) {
        attached.push_back({device->info, device->panel});
    }
    return attached;
}

void VirtualBus::RemoveAllDevices() {
    std::lock_guard lock(mutex_);
    for (auto& device : devices_) {
        device->plugged = false;
    }
    devices_.clear();
}

void VirtualBus::SetOpenElsewhere(std::uint32_t locationId, bool openElsewhere) {
    std::lock_guard lock(mutex_);
    for (auto& device : devices_) {
        if (device->info.locationId == locationId) {
            device->info.openElsewhere = openElsewhere;
        }
    }
}

std::shared_ptr<VirtualPanel> VirtualBus::Panel(std::uint32_t locationId) {
    std::lock_guard lock(mutex_);
    for (auto& device : devices_) {
        if (device->info.locationId == locationId) {
            return device->panel;
        }
    }
    return nullptr;
}

void VirtualBus::FailCall(ApiCall call, FT_STATUS status) {
    std::lock_guard lock(mutex_);
    if (status == FT_OK) {
        failures_.erase(call);
    } else {
        failures_[call] = status;
    }
}

void VirtualBus::ClearFailures() {
    std::lock_guard lock(mutex_);
    failures_.clear();
}

std::vector<ApiCall> VirtualBus::CallLog() {
    std::lock_guard lock(mutex_);
    return callLog_;
}

void VirtualBus::ClearCallLog() {
    std::lock_guard lock(mutex_);
    callLog_.clear();
}

int VirtualBus::OpenHandleCount() {
    std::lock_guard lock(mutex_);
    return int(handles_.size());
}

FT_STATUS VirtualBus::Enter(ApiCall call) {
    // Queue polls and reads come a thousand times a second; keep the log to set-up calls.
    if (call != ApiCall::GetQueueStatus && call != ApiCall::Read && call != ApiCall::Write) {
        callLog_.push_back(call);
    }
    const auto failure = failures_.find(call);
    return failure == failures_.end() ? FT_OK : failure->second;
}

FT_STATUS VirtualBus::EnterPort(ApiCall call, FT_HANDLE handle, OpenPort*& port) {
    if (const FT_STATUS failure = Enter(call); failure != FT_OK) {
        return failure;
    }
    const auto found = handles_.find(handle);
    if (found == handles_.end()) {
        return FT_INVALID_HANDLE;
    }
    port = found->second.get();
    return port->device->plugged ? FT_OK : FT_IO_ERROR;
}

FT_STATUS VirtualBus::CreateDeviceInfoList(DWORD* count) {
    std::lock_guard lock(mutex_);
    if (const FT_STATUS failure = Enter(ApiCall::CreateDeviceInfoList); failure != FT_OK) {
        return failure;
    }
    snapshot_ = devices_;
    *count = DWORD(snapshot_.size());
    return FT_OK;
}

FT_STATUS VirtualBus::GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* count) {
    std::lock_guard lock(mutex_);
    if (const FT_STATUS failure = Enter(ApiCall::GetDeviceInfoList); failure != FT_OK) {
        return failure;
    }
    for (std::size_t i = 0; i < snapshot_.size(); ++i) {
        const Device& device = *snapshot_[i];
        FT_DEVICE_LIST_INFO_NODE node{};
        const bool open = device.info.openElsewhere || device.openHere;
        node.Flags = open ? FT_FLAGS_OPENED : 0;
        // A device held by another process shows nothing but its flag.
        if (!device.info.openElsewhere) {
            node.Type = device.info.type;
            node.ID = 0x04036001;
            node.LocId = device.info.locationId;
            std::strncpy(node.SerialNumber, device.info.serialNumber.c_str(),
                         sizeof node.SerialNumber - 1);
            std::strncpy(node.Description, device.info.description.c_str(),
                         sizeof node.Description - 1);
        }
        list[i] = node;
    }
    *count = DWORD(snapshot_.size());
    return FT_OK;
}

FT_STATUS VirtualBus::OpenByLocation(std::uint32_t locationId, FT_HANDLE* handle) {
    std::lock_guard lock(mutex_);
    if (const FT_STATUS failure = Enter(ApiCall::OpenEx); failure != FT_OK) {
        return failure;
    }
    const auto found = std::find_if(devices_.begin(), devices_.end(), [&](const auto& device) {
        return device->info.locationId == locationId;
    });
    if (found == devices_.end()) {
        return FT_DEVICE_NOT_FOUND;
    }
    if ((*found)->openHere || (*found)->info.openElsewhere) {
        return FT_DEVICE_NOT_OPENED;
    }
    (*found)->openHere = true;
    qCDebug(lcSim) << "opened" << (*found)->info.description.c_str();
    auto port = std::make_unique<OpenPort>();
    port->device = *found;
    *handle = port.get();
    handles_.emplace(*handle, std::move(port));
    return FT_OK;
}

FT_STATUS VirtualBus::Close(FT_HANDLE handle) {
    std::lock_guard lock(mutex_);
    const FT_STATUS failure = Enter(ApiCall::Close);
    const auto found = handles_.find(handle);
    if (found == handles_.end()) {
        return FT_INVALID_HANDLE;
    }
    if (failure != FT_OK) {
        return failure;
    }
    found->second->device->openHere = false;
    qCDebug(lcSim) << "closed" << found->second->device->info.description.c_str();
    handles_.erase(found);
    return FT_OK;
}

FT_STATUS VirtualBus::Read(FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* got) {
    std::shared_ptr<VirtualPanel> panel;
    std::uint32_t timeout = 0;
    {
        std::lock_guard lock(mutex_);
        *got = 0;
        OpenPort* port = nullptr;
        if (FT_STATUS status = EnterPort(ApiCall::Read, handle, port); status != FT_OK) {
            return status;
        }
        panel = port->device->panel;
        timeout = port->readTimeoutMs;
    }
    // The wait for bytes happens outside the bus lock, as in the real library.
    *got =
        panel->Read(static_cast<std::uint8_t*>(buffer), toRead, std::chrono::milliseconds(timeout));
    return FT_OK;
}

FT_STATUS VirtualBus::Write(FT_HANDLE handle, const void* buffer, DWORD toWrite, DWORD* written) {
    std::lock_guard lock(mutex_);
    *written = 0;
    OpenPort* port = nullptr;
    if (FT_STATUS status = EnterPort(ApiCall::Write, handle, port); status != FT_OK) {
        return status;
    }
    *written = port->device->panel->Write(static_cast<const std::uint8_t*>(buffer), toWrite);
    return FT_OK;
}

FT_STATUS VirtualBus::Configure(ApiCall call, FT_HANDLE handle, std::uint32_t readTimeoutMs) {
    std::lock_guard lock(mutex_);
    OpenPort* port = nullptr;
    if (FT_STATUS status = EnterPort(call, handle, port); status != FT_OK) {
        return status;
    }
    if (call == ApiCall::SetTimeouts) {
        port->readTimeoutMs = readTimeoutMs;
    }
    if (call == ApiCall::ResetDevice) {
        port->device->panel->PurgeReceive();
        port->device->panel->PurgeTransmit();
    }
    return FT_OK;
}

FT_STATUS VirtualBus::SetLatencyTimer(FT_HANDLE handle, UCHAR milliseconds) {
    std::lock_guard lock(mutex_);
    OpenPort* port = nullptr;
    if (FT_STATUS status = EnterPort(ApiCall::SetLatencyTimer, handle, port); status != FT_OK) {
        return status;
    }
    return port->device->panel->SetLatencyTimer(milliseconds) ? FT_OK : FT_INVALID_PARAMETER;
}

FT_STATUS VirtualBus::SetChars(FT_HANDLE handle, UCHAR eventChar, UCHAR eventCharEnabled) {
    std::lock_guard lock(mutex_);
    OpenPort* port = nullptr;
    if (FT_STATUS status = EnterPort(ApiCall::SetChars, handle, port); status != FT_OK) {
        return status;
    }
    port->device->panel->SetEventCharacter(eventChar, eventCharEnabled != 0);
    return FT_OK;
}

FT_STATUS VirtualBus::Purge(FT_HANDLE handle, ULONG mask) {
    std::lock_guard lock(mutex_);
    OpenPort* port = nullptr;
    const ApiCall call = mask == FT_PURGE_TX ? ApiCall::PurgeTx : ApiCall::PurgeRx;
    if (FT_STATUS status = EnterPort(call, handle, port); status != FT_OK) {
        return status;
    }
    if (mask & FT_PURGE_RX) {
        port->device->panel->PurgeReceive();
    }
    if (mask & FT_PURGE_TX) {
        port->device->panel->PurgeTransmit();
    }
    return FT_OK;
}

FT_STATUS VirtualBus::PanelBehind(ApiCall call, FT_HANDLE handle,
                                  std::shared_ptr<VirtualPanel>& panel) {
    std::lock_guard lock(mutex_);
    OpenPort* port = nullptr;
    if (FT_STATUS status = EnterPort(call, handle, port); status != FT_OK) {
        return status;
    }
    panel = port->device->panel;
    return FT_OK;
}

FT_STATUS VirtualBus::GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) {
    std::shared_ptr<VirtualPanel> panel;
    if (FT_STATUS status = PanelBehind(ApiCall::GetQueueStatus, handle, panel); status != FT_OK) {
        return status;
    }
    *rxBytes = panel->QueuedBytes();
    return FT_OK;
}

FT_STATUS VirtualBus::GetStatus(FT_HANDLE handle, DWORD* rxBytes, DWORD* txBytes,
                                DWORD* eventWord) {
    std::shared_ptr<VirtualPanel> panel;
    if (FT_STATUS status = PanelBehind(ApiCall::GetStatus, handle, panel); status != FT_OK) {
        return status;
    }
    *rxBytes = panel->QueuedBytes();
    *txBytes = 0;
    *eventWord = 0;
    return FT_OK;
}

namespace {

VirtualBus& Bus() {
    return VirtualBus::Instance();
}

FT_STATUS FT_API SimCreateDeviceInfoList(DWORD* count) {
    return Bus().CreateDeviceInfoList(count);
}
FT_STATUS FT_API SimGetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* count) {
    return Bus().GetDeviceInfoList(list, count);
}
FT_STATUS FT_API SimOpenEx(void* argument, DWORD flags, FT_HANDLE* handle) {
    if (flags != FT_OPEN_BY_LOCATION) {
        return FT_INVALID_PARAMETER;
    }
    return Bus().OpenByLocation(std::uint32_t(reinterpret_cast<std::uintptr_t>(argument)), handle);
}
FT_STATUS FT_API SimClose(FT_HANDLE handle) {
    return Bus().Close(handle);
}
FT_STATUS FT_API SimRead(FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* got) {
    return Bus().Read(handle, buffer, toRead, got);
}
FT_STATUS FT_API SimWrite(FT_HANDLE handle, void* buffer, DWORD toWrite, DWORD* written) {
    return Bus().Write(handle, buffer, toWrite, written);
}
FT_STATUS FT_API SimResetDevice(FT_HANDLE handle) {
    return Bus().Configure(ApiCall::ResetDevice, handle);
}
FT_STATUS FT_API SimSetBaudRate(FT_HANDLE handle, ULONG baud) {
    return baud == 0 ? FT_STATUS(7) : Bus().Configure(ApiCall::SetBaudRate, handle);
}
FT_STATUS FT_API SimSetDataCharacteristics(FT_HANDLE handle, UCHAR, UCHAR, UCHAR) {
    return Bus().Configure(ApiCall::SetDataCharacteristics, handle);
}
FT_STATUS FT_API SimSetFlowControl(FT_HANDLE handle, USHORT, UCHAR, UCHAR) {
    return Bus().Configure(ApiCall::SetFlowControl, handle);
}
FT_STATUS FT_API SimSetTimeouts(FT_HANDLE handle, ULONG readMs, ULONG) {
    return Bus().Configure(ApiCall::SetTimeouts, handle, readMs);
}
FT_STATUS FT_API SimSetChars(FT_HANDLE handle, UCHAR eventChar, UCHAR eventCharEnabled, UCHAR,
                             UCHAR) {
    return Bus().SetChars(handle, eventChar, eventCharEnabled);
}
FT_STATUS FT_API SimSetLatencyTimer(FT_HANDLE handle, UCHAR milliseconds) {
    return Bus().SetLatencyTimer(handle, milliseconds);
}
FT_STATUS FT_API SimPurge(FT_HANDLE handle, ULONG mask) {
    return Bus().Purge(handle, mask);
}
FT_STATUS FT_API SimGetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) {
    return Bus().GetQueueStatus(handle, rxBytes);
}
FT_STATUS FT_API SimGetStatus(FT_HANDLE handle, DWORD* rxBytes, DWORD* txBytes, DWORD* eventWord) {
    return Bus().GetStatus(handle, rxBytes, txBytes, eventWord);
}

} // namespace

FtdiApi SimulatorFtdiApi() {
    FtdiApi api;
#define QUVO_SIM_CALL(name, need, parameters) api.name = Sim##name;
    QUVO_FTDI_CALLS(QUVO_SIM_CALL)
#undef QUVO_SIM_CALL
    return api;
}

void KeepStoredConfiguration(VirtualPanel& panel, const std::filesystem::path& file) {
    try {
        const std::optional<std::string> stored = ReadRegularFile(file, ConfigBlockSize);
        if (stored && stored->size() == ConfigBlockSize) {
            ConfigBlock block;
            std::copy(stored->begin(), stored->end(), block.begin());
            panel.SetConfiguration(block);
        } else if (stored) {
            qCWarning(lcSim) << "not a stored configuration:" << DisplayName(file);
        }
    } catch (const std::exception& error) {
        qCWarning(lcSim) << error.what();
    }
    panel.SetStorageKeeper([file](const ConfigBlock& block) {
        try {
            WriteRegularFile(file, std::string(block.begin(), block.end()));
        } catch (const std::exception& error) {
            qCWarning(lcSim) << error.what();
        }
    });
}

void AddDefaultVirtualPanels(int count) {
    VirtualBus& bus = VirtualBus::Instance();
    const QString store = qEnvironmentVariable("QUVO_VIRTUAL_PANEL_STORE");
    for (int panel = 0; panel < std::clamp(count, 1, MostVirtualPanels); ++panel) {
        const std::string serial = "QV8261" + std::string(panel < 10 ? "0" : "") +
                                   std::to_string(panel) + (panel == 1 ? ".FF00" : ".FFFF");
        const std::shared_ptr<VirtualPanel> added =
            bus.AddDevice({std::uint32_t(0x1121 + panel), serial,
                           panel == 1 ? "QUVO-8261-08" : "QUVO-8261-16", FT_DEVICE_232R, false});
        added->SetLineTiming(LineModel::Chip);
        if (!store.isEmpty()) {
            KeepStoredConfiguration(*added, FilePath(store) / (serial + ".bin"));
        }
    }
}

FtdiApi UseVirtualPanels(int count) {
    AddDefaultVirtualPanels(count);
    return SimulatorFtdiApi();
}
