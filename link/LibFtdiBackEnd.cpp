// SPDX-License-Identifier: Apache-2.0
#include "link/LibFtdiBackEnd.h"

#include "link/Ft232rPackets.h"
#include "link/LinkLogging.h"

#include <ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int FtdiVendor = 0x0403;
constexpr int Ft232rProduct = 0x6001;
// One bulk transfer's worth: the chip ends it early with a short packet.
constexpr int ReadChunk = 4096;

// What one open port needs beyond libftdi's context: the receive queue that
// FTDI's library keeps for its callers, and the read time-out of FT_Read.
struct LibFtdiPort {
    ftdi_context* context = nullptr;
    std::deque<std::uint8_t> received;
    std::size_t reportedQueue = 0; // the queue size the last status call answered
    std::chrono::milliseconds readTimeout{0};
};

std::mutex HandlesMutex;
std::set<LibFtdiPort*> OpenPorts;
std::vector<FT_DEVICE_LIST_INFO_NODE> ListedDevices;

LibFtdiPort* PortOf(FT_HANDLE handle) {
    std::lock_guard lock(HandlesMutex);
    auto* port = static_cast<LibFtdiPort*>(handle);
    return OpenPorts.count(port) != 0 ? port : nullptr;
}

// Context for one enumeration or one port; freed with ftdi_free.
using FtdiContext = std::unique_ptr<ftdi_context, decltype(&ftdi_free)>;
// Each new context starts libusb's udev monitor. Where several processes start
// theirs at the same moment (the panels' processes of --all), enabling it can
// fail for a moment ("failed to enable the udev monitor"); a later try succeeds.
FtdiContext NewContext() {
    constexpr int Tries = 5;
    for (int attempt = 1;; ++attempt) {
        FtdiContext context(ftdi_new(), &ftdi_free);
        if (context || attempt == Tries) {
            return context;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2 * attempt));
    }
}

struct DeviceList {
    ftdi_device_list* first = nullptr;
    ~DeviceList() { ftdi_list_free(&first); }
};

std::uint32_t LocationOf(libusb_device* device) {
    std::uint8_t ports[8];
    const int depth = libusb_get_port_numbers(device, ports, sizeof ports);
    return LocationIdOf(libusb_get_bus_number(device),
                        std::vector<std::uint8_t>(ports, ports + std::max(depth, 0)));
}

ULONG TypeOf(const libusb_device_descriptor& descriptor) {
    switch (descriptor.bcdDevice) {
    case 0x0400:
        return 0; // BM
    case 0x0200:
        return 1; // AM
    case 0x0600:
        return FT_DEVICE_232R;
    default:
        return 3; // unknown
    }
}

void CopyString(char* target, std::size_t size, const unsigned char* source, int length) {
    std::memset(target, 0, size);
    if (length > 0) {
        std::memcpy(target, source, std::min<std::size_t>(static_cast<std::size_t>(length), size));
    }
}

// FTDI's library shows a device it cannot use (open in another program, or a
// node the user may not open) as "opened" with every other field empty.
FT_DEVICE_LIST_INFO_NODE OpenedElsewhere() {
    FT_DEVICE_LIST_INFO_NODE node{};
    node.Flags = FT_FLAGS_OPENED;
    return node;
}

FT_DEVICE_LIST_INFO_NODE DescribeDevice(libusb_device* device) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) {
        return OpenedElsewhere();
    }
    libusb_device_handle* handle = nullptr;
    if (libusb_open(device, &handle) != LIBUSB_SUCCESS) {
        return OpenedElsewhere();
    }
    // A chip the kernel's serial driver holds is usable: opening detaches the
    // driver. Without a kernel driver, a failed claim means another program has it.
    if (libusb_kernel_driver_active(handle, 0) != 1) {
        if (libusb_claim_interface(handle, 0) != LIBUSB_SUCCESS) {
            libusb_close(handle);
            return OpenedElsewhere();
        }
        libusb_release_interface(handle, 0);
    }
    FT_DEVICE_LIST_INFO_NODE node{};
    node.Type = TypeOf(descriptor);
    node.ID = (static_cast<ULONG>(descriptor.idVendor) << 16) | descriptor.idProduct;
    node.LocId = LocationOf(device);
    unsigned char text[64];
    // A string that cannot be read stays empty, as in FTDI's library.
    CopyString(node.SerialNumber, sizeof node.SerialNumber, text,
               libusb_get_string_descriptor_ascii(handle, descriptor.iSerialNumber, text,
                                                  sizeof node.SerialNumber));
    CopyString(node.Description, sizeof node.Description, text,
               libusb_get_string_descriptor_ascii(handle, descriptor.iProduct, text,
                                                  sizeof node.Description));
    libusb_close(handle);
    return node;
}

// The FT232R chips attached now, in the bus's order.
FT_STATUS FindChips(ftdi_context* context, DeviceList& list) {
    const int found = ftdi_usb_find_all(context, &list.first, FtdiVendor, Ft232rProduct);
    if (found < 0) {
        qCWarning(lcLink) << "libftdi enumeration failed:" << ftdi_get_error_string(context);
        return FT_OTHER_ERROR;
    }
    return FT_OK;
}

FT_STATUS FT_API LibCreateDeviceInfoList(DWORD* count) {
    if (count == nullptr) {
        return FT_INVALID_PARAMETER;
    }
    FtdiContext context = NewContext();
    if (!context) {
        return FT_OTHER_ERROR;
    }
    DeviceList list;
    if (const FT_STATUS status = FindChips(context.get(), list); status != FT_OK) {
        return status;
    }
    std::vector<FT_DEVICE_LIST_INFO_NODE> nodes;
    for (ftdi_device_list* entry = list.first; entry != nullptr; entry = entry->next) {
        nodes.push_back(DescribeDevice(entry->dev));
    }
    std::lock_guard lock(HandlesMutex);
    ListedDevices = std::move(nodes);
    *count = static_cast<DWORD>(ListedDevices.size());
    return FT_OK;
}

FT_STATUS FT_API LibGetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* count) {
    if (list == nullptr || count == nullptr) {
        return FT_INVALID_PARAMETER;
    }
    std::lock_guard lock(HandlesMutex);
    std::copy(ListedDevices.begin(), ListedDevices.end(), list);
    *count = static_cast<DWORD>(ListedDevices.size());
    return FT_OK;
}

FT_STATUS FT_API LibOpenEx(void* argument, DWORD flags, FT_HANDLE* handle) {
    if (handle == nullptr || flags != FT_OPEN_BY_LOCATION) {
        return FT_INVALID_PARAMETER;
    }
    *handle = nullptr;
    const auto location = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(argument));
    FtdiContext context = NewContext();
    if (!context) {
        return FT_INSUFFICIENT_RESOURCES;
    }
    FT_STATUS status = FT_DEVICE_NOT_FOUND;
    {
        DeviceList list;
        if (const FT_STATUS found = FindChips(context.get(), list); found != FT_OK) {
            return found;
        }
        for (ftdi_device_list* entry = list.first; entry != nullptr; entry = entry->next) {
            if (LocationOf(entry->dev) != location) {
                continue;
            }
            // Detaches the kernel's serial driver, claims the interface, resets.
            if (ftdi_usb_open_dev(context.get(), entry->dev) == 0) {
                status = FT_OK;
            } else {
                qCWarning(lcLink) << "libftdi open failed:" << ftdi_get_error_string(context.get());
                ftdi_usb_close(context.get());
                status = FT_DEVICE_NOT_OPENED;
            }
            break;
        }
    }
    if (status != FT_OK) {
        return status;
    }
    auto port = std::make_unique<LibFtdiPort>();
    port->context = context.release();
    std::lock_guard lock(HandlesMutex);
    *handle = port.get();
    OpenPorts.insert(port.release());
    return FT_OK;
}

FT_STATUS FT_API LibClose(FT_HANDLE handle) {
    LibFtdiPort* port = PortOf(handle);
    if (port == nullptr) {
        return FT_INVALID_HANDLE;
    }
    {
        std::lock_guard lock(HandlesMutex);
        OpenPorts.erase(port);
    }
    ftdi_usb_close(port->context);
    ftdi_free(port->context);
    delete port;
    return FT_OK;
}

// One bulk transfer into the receive queue: the chip answers within its latency
// timer, with data or with its two status bytes alone. libftdi's own read would
// wait for a further packet after one with data: a latency period per reply.
FT_STATUS FillReceiveQueue(LibFtdiPort& port) {
    ftdi_context& context = *port.context;
    unsigned char chunk[ReadChunk];
    int got = 0;
    const int result =
        libusb_bulk_transfer(context.usb_dev, static_cast<unsigned char>(context.out_ep), chunk,
                             sizeof chunk, &got, context.usb_read_timeout);
    if (result < 0) {
        return StatusOfLibusbError(result);
    }
    AppendPacketPayloads(chunk, static_cast<std::size_t>(got), context.max_packet_size,
                         port.received);
    return FT_OK;
}

FT_STATUS FT_API LibRead(FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* got) {
    LibFtdiPort* port = PortOf(handle);
    if (port == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if (buffer == nullptr || got == nullptr) {
        return FT_INVALID_PARAMETER;
    }
    *got = 0;
    const Clock::time_point deadline = Clock::now() + port->readTimeout;
    while (port->received.size() < toRead) {
        if (const FT_STATUS status = FillReceiveQueue(*port); status != FT_OK) {
            return status;
        }
        if (Clock::now() >= deadline) {
            break; // as FTDI's library: OK with what arrived in time
        }
    }
    const auto count = std::min<std::size_t>(toRead, port->received.size());
    std::copy_n(port->received.begin(), count, static_cast<std::uint8_t*>(buffer));
    port->received.erase(port->received.begin(), port->received.begin() + count);
    *got = static_cast<DWORD>(count);
    return FT_OK;
}

FT_STATUS FT_API LibWrite(FT_HANDLE handle, void* buffer, DWORD toWrite, DWORD* written) {
    LibFtdiPort* port = PortOf(handle);
    if (port == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if (buffer == nullptr || written == nullptr) {
        return FT_INVALID_PARAMETER;
    }
    *written = 0;
    const int sent = ftdi_write_data(port->context, static_cast<const unsigned char*>(buffer),
                                     static_cast<int>(toWrite));
    if (sent == LIBUSB_ERROR_TIMEOUT) {
        return FT_OK; // FTDI's library: OK, with fewer bytes written
    }
    if (sent < 0) {
        return StatusOfLibusbError(sent);
    }
    *written = static_cast<DWORD>(sent);
    return FT_OK;
}

// libftdi's set-up calls answer their own error numbers; past an invalid
// argument they all mean the chip did not take the request.
FT_STATUS SetUpResult(int result) {
    return result == 0 ? FT_OK : FT_IO_ERROR;
}

FT_STATUS FT_API LibResetDevice(FT_HANDLE handle) {
    LibFtdiPort* port = PortOf(handle);
    return port == nullptr ? FT_INVALID_HANDLE : SetUpResult(ftdi_usb_reset(port->context));
}

FT_STATUS FT_API LibSetBaudRate(FT_HANDLE handle, ULONG baud) {
    LibFtdiPort* port = PortOf(handle);
    if (port == nullptr) {
        return FT_INVALID_HANDLE;
    }
    const int result = ftdi_set_baudrate(port->context, static_cast<int>(baud));
    return result == -1 ? FT_INVALID_BAUD_RATE : SetUpResult(result);
}

FT_STATUS FT_API LibSetDataCharacteristics(FT_HANDLE handle, UCHAR wordLength, UCHAR stopBits,
                                           UCHAR parity) {
    LibFtdiPort* port = PortOf(handle);
    if (port == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if ((wordLength != 7 && wordLength != 8) || (stopBits != 0 && stopBits != 2) || parity > 4) {
        return FT_INVALID_PARAMETER;
    }
    static constexpr ftdi_parity_type Parities[] = {NONE, ODD, EVEN, MARK, SPACE};
    return SetUpResult(ftdi_set_line_property(port->context, wordLength == 8 ? BITS_8 : BITS_7,
                                              stopBits == 0 ? STOP_BIT_1 : STOP_BIT_2,
                                              Parities[parity]));
}

FT_STATUS FT_API LibSetFlowControl(FT_HANDLE handle, USHORT flow, UCHAR, UCHAR) {
    LibFtdiPort* port = PortOf(handle);
    if (port == nullptr) {
        return FT_INVALID_HANDLE;
    }
    int mode = 0;
    switch (flow) {
    case FT_FLOW_NONE:
        mode = SIO_DISABLE_FLOW_CTRL;
        break;
    case 0x0100:
        mode = SIO_RTS_CTS_HS;
        break;
    case 0x0200:
        mode = SIO_DTR_DSR_HS;
        break;
    default:
        return FT_NOT_SUPPORTED;
    }
    return SetUpResult(ftdi_setflowctrl(port->context, mode));
}

FT_STATUS FT_API LibSetTimeouts(FT_HANDLE handle, ULONG readMs, ULONG writeMs) {
    LibFtdiPort* port = PortOf(handle);
    if (port == nullptr) {
        return FT_INVALID_HANDLE;
    }
    port->readTimeout = std::chrono::milliseconds(readMs);
    // Per USB transfer: a chip that answers at all answers within its latency timer.
    port->context->usb_read_timeout = static_cast<int>(std::max<ULONG>(readMs, 1));
    port->context->usb_write_timeout = static_cast<int>(std::max<ULONG>(writeMs, 1));
    return FT_OK;
}

FT_STATUS FT_API LibPurge(FT_HANDLE handle, ULONG mask) {
    LibFtdiPort* port = PortOf(handle);
    if (port == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if ((mask & FT_PURGE_RX) != 0) {
        port->received.clear();
        if (ftdi_tciflush(port->context) != 0) {
            return FT_IO_ERROR;
        }
    }
    if ((mask & FT_PURGE_TX) != 0 && ftdi_tcoflush(port->context) != 0) {
        return FT_IO_ERROR;
    }
    return FT_OK;
}

FT_STATUS FT_API LibGetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) {
    LibFtdiPort* port = PortOf(handle);
    if (port == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if (rxBytes == nullptr) {
        return FT_INVALID_PARAMETER;
    }
    // Bytes the caller has not been told of yet are answered at once, as FTDI's
    // library does: a transfer would wait for the chip's next packet, a whole
    // latency period. Asked again with nothing read, the caller wants more.
    if (port->received.empty() || port->received.size() == port->reportedQueue) {
        if (const FT_STATUS status = FillReceiveQueue(*port); status != FT_OK) {
            return status;
        }
    }
    port->reportedQueue = port->received.size();
    *rxBytes = static_cast<DWORD>(port->received.size());
    return FT_OK;
}

FT_STATUS FT_API LibGetStatus(FT_HANDLE handle, DWORD* rxBytes, DWORD* txBytes, DWORD* eventWord) {
    if (txBytes == nullptr || eventWord == nullptr) {
        return FT_INVALID_PARAMETER;
    }
    const FT_STATUS status = LibGetQueueStatus(handle, rxBytes);
    if (status == FT_OK) {
        *txBytes = 0; // libftdi writes synchronously: nothing waits on the host
        *eventWord = 0;
    }
    return status;
}

FT_STATUS FT_API LibSetLatencyTimer(FT_HANDLE handle, UCHAR milliseconds) {
    LibFtdiPort* port = PortOf(handle);
    if (port == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if (milliseconds < 1) {
        return FT_INVALID_PARAMETER; // 0 is no timer the chip knows
    }
    return SetUpResult(ftdi_set_latency_timer(port->context, milliseconds));
}

FT_STATUS FT_API LibSetChars(FT_HANDLE handle, UCHAR eventChar, UCHAR eventCharEnabled,
                             UCHAR errorChar, UCHAR errorCharEnabled) {
    LibFtdiPort* port = PortOf(handle);
    if (port == nullptr) {
        return FT_INVALID_HANDLE;
    }
    const FT_STATUS status =
        SetUpResult(ftdi_set_event_char(port->context, eventChar, eventCharEnabled));
    return status != FT_OK
               ? status
               : SetUpResult(ftdi_set_error_char(port->context, errorChar, errorCharEnabled));
}

} // namespace

std::uint32_t LocationIdOf(std::uint8_t bus, const std::vector<std::uint8_t>& ports) {
    const bool packs =
        ports.size() <= 6 &&
        std::all_of(ports.begin(), ports.end(), [](std::uint8_t port) { return port < 16; });
    if (packs) {
        std::uint32_t location = static_cast<std::uint32_t>(bus) << 24;
        int shift = 20;
        for (std::uint8_t port : ports) {
            location |= static_cast<std::uint32_t>(port) << shift;
            shift -= 4;
        }
        return location;
    }
    std::uint32_t hash = 2166136261u; // FNV-1a over bus and path
    auto mix = [&hash](std::uint8_t byte) { hash = (hash ^ byte) * 16777619u; };
    mix(bus);
    std::for_each(ports.begin(), ports.end(), mix);
    return hash | 0x80000000u;
}

FT_STATUS StatusOfLibusbError(int libusbError) {
    switch (libusbError) {
    case LIBUSB_SUCCESS:
        return FT_OK;
    case LIBUSB_ERROR_NO_DEVICE: // unplugged
    case LIBUSB_ERROR_IO:
    case LIBUSB_ERROR_PIPE:
    case LIBUSB_ERROR_OVERFLOW:
    case LIBUSB_ERROR_TIMEOUT:
    case LIBUSB_ERROR_INTERRUPTED:
    case -666: // libftdi: the port has no USB device any more
        return FT_IO_ERROR;
    case LIBUSB_ERROR_ACCESS:
    case LIBUSB_ERROR_BUSY:
        return FT_DEVICE_NOT_OPENED;
    case LIBUSB_ERROR_NOT_FOUND:
        return FT_DEVICE_NOT_FOUND;
    case LIBUSB_ERROR_INVALID_PARAM:
        return FT_INVALID_PARAMETER;
    case LIBUSB_ERROR_NO_MEM:
        return FT_INSUFFICIENT_RESOURCES;
    case LIBUSB_ERROR_NOT_SUPPORTED:
        return FT_NOT_SUPPORTED;
    default:
        return FT_OTHER_ERROR;
    }
}

bool LibFtdiUsable(std::string& error) {
    FtdiContext context = NewContext();
    if (!context) {
        error = "libftdi1: libusb cannot reach the USB devices on this machine";
        return false;
    }
    return true;
}

FtdiApi LibFtdiFtdiApi() {
    FtdiApi api;
#define QUVO_LIBFTDI_CALL(name, need, parameters) api.name = Lib##name;
    QUVO_FTDI_CALLS(QUVO_LIBFTDI_CALL)
#undef QUVO_LIBFTDI_CALL
    return api;
}

std::string LibFtdiVersions() {
    const ftdi_version_info ftdi = ftdi_get_library_version();
    const libusb_version* usb = libusb_get_version();
    return std::string("libftdi1 ") + ftdi.version_str + ", libusb " + std::to_string(usb->major) +
           "." + std::to_string(usb->minor) + "." + std::to_string(usb->micro);
}
