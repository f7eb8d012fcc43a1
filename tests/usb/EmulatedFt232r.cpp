// SPDX-License-Identifier: Apache-2.0
#include "tests/usb/EmulatedFt232r.h"

#include "link/D2XXUnit_mod.h"
#include "link/D2xxLibrary.h"
#include "link/ThreadHandOff.h"

#include <umockdev.h>

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <stdexcept>
#include <thread>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr std::uint8_t EndpointIn = 0x81;
constexpr std::uint8_t EndpointOut = 0x02;
constexpr int PacketSize = 64;
// Modem status of an idle FT232R: CTS and DSR set, then an empty line status.
constexpr std::array<std::uint8_t, 2> ModemStatus = {0x01, 0x60};
// libusb polls a plain node without end: an empty reap waits this long first.
constexpr auto EmptyReapHold = 2ms;
// The chip sends its status bytes alone whenever the latency timer runs out with
// nothing to send. Each packet costs umockdev several socket round trips: at
// 2 ms they starve FTDI's library's own requests (its purge then retries for
// seconds), so status-only packets come at most this often. Data packets keep
// the chip's timing.
constexpr auto ShortestStatusInterval = 4ms;

// Device descriptor (USB 2.0, class from the interface, 8-byte EP0, 0403:6001,
// bcdDevice 6.00 = R series, strings 1..3) and configuration descriptor (one
// vendor interface, bulk IN 0x81 and bulk OUT 0x02 of 64 bytes, 90 mA).
const std::vector<std::uint8_t> DeviceDescriptor = {0x12, 0x01, 0x00, 0x02, 0x00, 0x00,
                                                    0x00, 0x08, 0x03, 0x04, 0x01, 0x60,
                                                    0x00, 0x06, 0x01, 0x02, 0x03, 0x01};
const std::vector<std::uint8_t> ConfigurationDescriptor = {
    0x09, 0x02, 0x20, 0x00, 0x01, 0x01, 0x00, 0xA0, 0x2D, 0x09, 0x04, 0x00, 0x00, 0x02, 0xFF, 0xFF,
    0xFF, 0x02, 0x07, 0x05, 0x81, 0x02, 0x40, 0x00, 0x00, 0x07, 0x05, 0x02, 0x02, 0x40, 0x00, 0x00};

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char digits[3];
    for (std::uint8_t byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += digits;
    }
    return text;
}

std::vector<std::uint8_t> StringDescriptor(const std::string& text) {
    std::vector<std::uint8_t> descriptor = {static_cast<std::uint8_t>(2 + 2 * text.size()), 0x03};
    for (char c : text) {
        descriptor.push_back(static_cast<std::uint8_t>(c));
        descriptor.push_back(0);
    }
    return descriptor;
}

// The client memory a pointer at `offset` of `data` points to; none when it
// cannot be read.
IoctlDataRef Resolve(UMockdevIoctlData* data, std::size_t offset, std::size_t size) {
    GError* error = nullptr;
    IoctlDataRef resolved(umockdev_ioctl_data_resolve(data, offset, size, &error));
    if (error != nullptr) {
        g_error_free(error);
        return nullptr;
    }
    return resolved;
}

template <typename Struct>
Struct* As(const IoctlDataRef& data) {
    return reinterpret_cast<Struct*>(data->data);
}

// Throws what umockdev reports when `done` is false.
void Check(bool done, GError* error, const std::string& what) {
    if (!done) {
        const std::string message = error != nullptr ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error(what + ": " + message);
    }
}

gboolean OnHandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer chip) {
    return static_cast<EmulatedFt232r*>(chip)->HandleIoctl(client) ? TRUE : FALSE;
}

} // namespace

void IoctlDataUnref::operator()(UMockdevIoctlData* data) const {
    g_object_unref(data);
}

// One opener's submitted URBs: those done and waiting to be reaped, and bulk IN
// ones waiting for the chip. Each process that opens the node has its own, as
// with the kernel: one never reaps another's.
struct ClientUrbs {
    std::deque<IoctlDataRef> done;
    std::deque<IoctlDataRef> waitingIn;
    Clock::time_point lastInPacket = Clock::now();
    bool justReaped = false;
};

struct EmulatedFt232r::Urbs {
    std::map<const void*, ClientUrbs> clients;
    UMockdevIoctlBase* handler = nullptr;

    ~Urbs() {
        if (handler != nullptr) {
            g_object_unref(handler);
        }
    }
};

EmulatedFt232r::EmulatedFt232r(const EmulatedChipSettings& settings)
    : settings_(settings), kernelDriverBound_(settings.heldByKernelDriver),
      urbs_(std::make_unique<Urbs>()) {
    panel_.SetLineTiming(LineModel::Chip);
    urbs_->handler = UMOCKDEV_IOCTL_BASE(g_object_new(UMOCKDEV_TYPE_IOCTL_BASE, nullptr));
    g_signal_connect(urbs_->handler, "handle-ioctl", G_CALLBACK(OnHandleIoctl), this);
}

EmulatedFt232r::~EmulatedFt232r() {
    // Under the lock the worker thread last held: the sanitizer then sees the order.
    std::lock_guard lock(mutex_);
    urbs_.reset();
}

std::string EmulatedFt232r::SysfsPath() const {
    return "/devices/pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(settings_.port);
}

std::string EmulatedFt232r::DeviceNode() const {
    char node[32];
    std::snprintf(node, sizeof node, "/dev/bus/usb/001/%03d", settings_.port + 1);
    return node;
}

std::vector<VendorRequest> EmulatedFt232r::VendorRequests() {
    std::lock_guard lock(mutex_);
    return vendorRequests_;
}

bool EmulatedFt232r::KernelDriverBound() {
    std::lock_guard lock(mutex_);
    return kernelDriverBound_;
}

void EmulatedFt232r::MarkUnplugged() {
    std::lock_guard lock(mutex_);
    unplugged_ = true;
    // As the kernel does: requests still waiting end with ESHUTDOWN and can be
    // reaped; every other request on the node fails with ENODEV.
    for (auto& [client, queues] : urbs_->clients) {
        for (IoctlDataRef& urb : queues.waitingIn) {
            As<usbdevfs_urb>(urb)->status = -ESHUTDOWN;
            As<usbdevfs_urb>(urb)->actual_length = 0;
            queues.done.push_back(std::move(urb));
        }
        queues.waitingIn.clear();
    }
}

namespace {

// Answers a control transfer as the chip does; false for a stall.
bool AnswerControl(usbdevfs_urb& urb, EmulatedFt232r& chip, VirtualPanel& panel,
                   std::vector<VendorRequest>& vendorRequests) {
    if (urb.buffer_length < 8) {
        return false;
    }
    auto* setup = static_cast<std::uint8_t*>(urb.buffer);
    const std::uint8_t requestType = setup[0];
    const std::uint8_t request = setup[1];
    const auto value = static_cast<std::uint16_t>(setup[2] | (setup[3] << 8));
    const auto index = static_cast<std::uint16_t>(setup[4] | (setup[5] << 8));
    const auto length = static_cast<std::uint16_t>(setup[6] | (setup[7] << 8));
    std::uint8_t* data = setup + 8;
    const bool toHost = (requestType & 0x80) != 0;
    std::vector<std::uint8_t> answer;

    if ((requestType & 0x60) == 0x00) { // standard requests
        if (request == 6) {             // GET_DESCRIPTOR
            const int type = value >> 8;
            const int stringIndex = value & 0xFF;
            if (type == 1) {
                answer = DeviceDescriptor;
            } else if (type == 2) {
                answer = ConfigurationDescriptor;
            } else if (type == 3 && stringIndex == 0) {
                answer = {0x04, 0x03, 0x09, 0x04}; // English (US)
            } else if (type == 3 && stringIndex == 1) {
                answer = StringDescriptor("FTDI");
            } else if (type == 3 && stringIndex == 2) {
                answer = StringDescriptor(chip.Settings().description);
            } else if (type == 3 && stringIndex == 3) {
                answer = StringDescriptor(chip.Settings().serialNumber);
            } else {
                return false;
            }
        } else if (request == 0) { // GET_STATUS
            answer = {0, 0};
        } else if (request == 8) { // GET_CONFIGURATION
            answer = {1};
        } else if (request != 9) { // anything but SET_CONFIGURATION
            return false;
        }
    } else if ((requestType & 0x60) == 0x40) { // FTDI vendor requests
        vendorRequests.push_back({request, value, index});
        switch (request) {
        case VendorReset:
            // libftdi 1.5's names: 1 clears what waits for the line, 2 what waits
            // for the host; 0 resets both.
            if (value == 0 || value == 2) {
                panel.PurgeReceive();
            }
            if (value == 0 || value == 1) {
                panel.PurgeTransmit();
            }
            break;
        case 5: // poll modem status
            answer = {ModemStatus[0], ModemStatus[1]};
            break;
        case VendorSetLatencyTimer:
            panel.SetLatencyTimer(static_cast<std::uint8_t>(value & 0xFF));
            break;
        case 6: // SIO_SET_EVENT_CHAR: the character, with bit 8 set when enabled
            panel.SetEventCharacter(static_cast<std::uint8_t>(value & 0xFF), (value & 0x100) != 0);
            break;
        case 0x0A: // get latency timer
            answer = {panel.LatencyTimer()};
            break;
        case 0x0C: // read pins
            answer = {0xFF};
            break;
        case 0x90: // read EEPROM word: a blank EEPROM
            answer = {0xFF, 0xFF};
            break;
        default: // modem control, flow, baud, data format, error character
            break;
        }
    } else {
        return false;
    }
    if (toHost) {
        const std::size_t room = std::min<std::size_t>(length, urb.buffer_length - 8);
        const std::size_t count = std::min(room, answer.size());
        std::memcpy(data, answer.data(), count);
        urb.actual_length = static_cast<int>(count);
    } else {
        urb.actual_length = length;
    }
    return true;
}

} // namespace

bool EmulatedFt232r::HandleIoctl(void* clientPointer) {
    // The chip reached this thread through umockdev, which the thread sanitizer
    // cannot see into.
    HandOffAcquire(this);
    auto* client = static_cast<UMockdevIoctlClient*>(clientPointer);
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* argument = umockdev_ioctl_client_get_arg(client);
    auto finish = [client](long result, int error) {
        umockdev_ioctl_client_complete(client, result, error);
        return true;
    };
    std::unique_lock lock(mutex_);
    ClientUrbs& queues = urbs_->clients[client];
    const bool reap = request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY;
    if (unplugged_ && !(reap && !queues.done.empty())) {
        return finish(-1, ENODEV);
    }

    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        const IoctlDataRef capabilities = Resolve(argument, 0, sizeof(std::uint32_t));
        if (!capabilities) {
            return finish(-1, EFAULT);
        }
        *As<std::uint32_t>(capabilities) =
            USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
            USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
        return finish(0, 0);
    }
    case USBDEVFS_CLAIMINTERFACE:
        return settings_.claimedElsewhere || kernelDriverBound_ ? finish(-1, EBUSY) : finish(0, 0);
    case USBDEVFS_GETDRIVER: {
        const IoctlDataRef query = Resolve(argument, 0, sizeof(usbdevfs_getdriver));
        if (!query) {
            return finish(-1, EFAULT);
        }
        const char* name = kernelDriverBound_           ? "ftdi_sio"
                           : settings_.claimedElsewhere ? "usbfs"
                                                        : nullptr;
        if (name == nullptr) {
            return finish(-1, ENODATA);
        }
        auto* driver = As<usbdevfs_getdriver>(query);
        std::snprintf(driver->driver, sizeof driver->driver, "%s", name);
        return finish(0, 0);
    }
    case USBDEVFS_IOCTL: {
        const IoctlDataRef command = Resolve(argument, 0, sizeof(usbdevfs_ioctl));
        if (!command) {
            return finish(-1, EFAULT);
        }
        const int code = As<usbdevfs_ioctl>(command)->ioctl_code;
        if (code == static_cast<int>(USBDEVFS_DISCONNECT)) {
            if (!kernelDriverBound_) {
                return finish(-1, ENODATA);
            }
            kernelDriverBound_ = false;
            return finish(0, 0);
        }
        return code == static_cast<int>(USBDEVFS_CONNECT) ? finish(0, 0) : finish(-1, ENOTTY);
    }
    case USBDEVFS_SUBMITURB: {
        IoctlDataRef urbData = Resolve(argument, 0, sizeof(usbdevfs_urb));
        if (!urbData) {
            return finish(-1, EFAULT);
        }
        usbdevfs_urb* urb = As<usbdevfs_urb>(urbData);
        // The URB's data keeps its buffer; `urb->buffer` then points to the copy.
        if (urb->buffer_length > 0 && !Resolve(urbData.get(), offsetof(usbdevfs_urb, buffer),
                                               static_cast<std::size_t>(urb->buffer_length))) {
            return finish(-1, EFAULT);
        }
        urb->status = 0;
        urb->actual_length = 0;
        if (urb->type == USBDEVFS_URB_TYPE_CONTROL) {
            if (!AnswerControl(*urb, *this, panel_, vendorRequests_)) {
                urb->status = -EPIPE;
            }
            queues.done.push_back(std::move(urbData));
        } else if (urb->type == USBDEVFS_URB_TYPE_BULK && urb->endpoint == EndpointOut) {
            urb->actual_length =
                static_cast<int>(panel_.Write(static_cast<std::uint8_t*>(urb->buffer),
                                              static_cast<std::uint32_t>(urb->buffer_length)));
            queues.done.push_back(std::move(urbData));
        } else if (urb->type == USBDEVFS_URB_TYPE_BULK && urb->endpoint == EndpointIn) {
            queues.waitingIn.push_back(std::move(urbData));
        } else {
            return finish(-1, EINVAL);
        }
        return finish(0, 0);
    }
    case USBDEVFS_DISCARDURB: {
        const gulong address = *reinterpret_cast<gulong*>(argument->data);
        for (auto it = queues.waitingIn.begin(); it != queues.waitingIn.end(); ++it) {
            if ((*it)->client_addr == address) {
                As<usbdevfs_urb>(*it)->status = -ENOENT;
                As<usbdevfs_urb>(*it)->actual_length = 0;
                queues.done.push_back(std::move(*it));
                queues.waitingIn.erase(it);
                return finish(0, 0);
            }
        }
        return finish(-1, EINVAL);
    }
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY: {
        const IoctlDataRef target = Resolve(argument, 0, sizeof(void*));
        if (!target) {
            return finish(-1, EFAULT);
        }
        // libusb reaps until EAGAIN after each completion: that reap is answered
        // at once, the next one (after its poll) waits for the chip.
        const Clock::time_point giveUp =
            Clock::now() + (queues.justReaped ? Clock::duration::zero() : EmptyReapHold);
        IoctlDataRef reaped = NextReapable(queues);
        while (!reaped && !unplugged_ && Clock::now() < giveUp) {
            lock.unlock();
            std::this_thread::sleep_for(100us);
            lock.lock();
            reaped = NextReapable(queues);
        }
        queues.justReaped = reaped != nullptr;
        if (!reaped) {
            return finish(-1, unplugged_ ? ENODEV : EAGAIN);
        }
        // The target keeps its own reference until the client has the URB back.
        umockdev_ioctl_data_set_ptr(target.get(), 0, reaped.get());
        return finish(0, 0);
    }
    case USBDEVFS_CONNECTINFO: {
        const IoctlDataRef info = Resolve(argument, 0, sizeof(usbdevfs_connectinfo));
        if (!info) {
            return finish(-1, EFAULT);
        }
        As<usbdevfs_connectinfo>(info)->devnum = static_cast<unsigned>(settings_.port + 1);
        As<usbdevfs_connectinfo>(info)->slow = 0;
        return finish(0, 0);
    }
    case USBDEVFS_RELEASEINTERFACE:
    case USBDEVFS_SETINTERFACE:
    case USBDEVFS_SETCONFIGURATION:
    case USBDEVFS_CLEAR_HALT:
    case USBDEVFS_RESET:
    case USBDEVFS_RESETEP:
        return finish(0, 0);
    default:
        return finish(-1, ENOTTY);
    }
}

IoctlDataRef EmulatedFt232r::NextReapable(ClientUrbs& queues) {
    if (!queues.done.empty()) {
        IoctlDataRef urb = std::move(queues.done.front());
        queues.done.pop_front();
        return urb;
    }
    if (queues.waitingIn.empty()) {
        return nullptr;
    }
    // The chip answers an IN request with what its buffer passed on, or with its
    // status bytes alone once the latency timer has run out.
    const Clock::time_point now = Clock::now();
    const std::uint32_t queued = panel_.QueuedBytes();
    const auto statusInterval = std::max<std::chrono::milliseconds>(
        std::chrono::milliseconds(panel_.LatencyTimer()), ShortestStatusInterval);
    if (queued == 0 && now - queues.lastInPacket < statusInterval) {
        return nullptr;
    }
    IoctlDataRef urbData = std::move(queues.waitingIn.front());
    queues.waitingIn.pop_front();
    usbdevfs_urb* urb = As<usbdevfs_urb>(urbData);
    const int packets = std::max(1, urb->buffer_length / PacketSize);
    const std::uint32_t room = static_cast<std::uint32_t>(packets) * VirtualPanel::PacketPayload;
    std::vector<std::uint8_t> payload(std::min(queued, room));
    payload.resize(panel_.Read(payload.data(), static_cast<std::uint32_t>(payload.size()), 0ms));
    auto* out = static_cast<std::uint8_t*>(urb->buffer);
    std::size_t written = 0;
    std::size_t taken = 0;
    do {
        out[written++] = ModemStatus[0];
        out[written++] = ModemStatus[1];
        const std::size_t chunk =
            std::min<std::size_t>(VirtualPanel::PacketPayload, payload.size() - taken);
        std::copy_n(payload.begin() + std::ptrdiff_t(taken), chunk, out + written);
        written += chunk;
        taken += chunk;
    } while (taken < payload.size());
    urb->actual_length = static_cast<int>(written);
    urb->status = 0;
    queues.lastInPacket = now;
    return urbData;
}

struct EmulatedUsbBus::TestBed {
    UMockdevTestbed* bed = umockdev_testbed_new();
    ~TestBed() { g_object_unref(bed); }
};

bool EmulatedUsbBus::Available(std::string& why) const {
    if (umockdev_in_mock_environment()) {
        return true;
    }
    why = "not running under libumockdev-preload.so.0 (umockdev-wrapper)";
    return false;
}

EmulatedUsbBus::EmulatedUsbBus() : testBed_(std::make_unique<TestBed>()) {}

EmulatedUsbBus::~EmulatedUsbBus() {
    // The test bed's worker thread calls into the chips: it goes first.
    testBed_.reset();
    chips_.clear();
}

std::string EmulatedUsbBus::RootDirectory() const {
    gchar* root = umockdev_testbed_get_root_dir(testBed_->bed);
    std::string path(root);
    g_free(root);
    return path;
}

EmulatedFt232r& EmulatedUsbBus::AddChip(const EmulatedChipSettings& settings) {
    auto chip = std::make_unique<EmulatedFt232r>(settings);
    HandOffRelease(chip.get());
    const std::string node = chip->DeviceNode();
    const std::string device = std::to_string(settings.port + 1);
    const std::string description = "P: " + chip->SysfsPath() +
                                    "\nN: " + node.substr(std::strlen("/dev/")) +
                                    "\nE: DEVNAME=" + node +
                                    "\nE: DEVTYPE=usb_device"
                                    "\nE: DRIVER=usb"
                                    "\nE: PRODUCT=403/6001/600"
                                    "\nE: SUBSYSTEM=usb"
                                    "\nE: BUSNUM=001"
                                    "\nE: DEVNUM=" +
                                    node.substr(node.size() - 3) +
                                    "\nA: idVendor=0403"
                                    "\nA: idProduct=6001"
                                    "\nA: bcdDevice=0600"
                                    "\nA: manufacturer=FTDI"
                                    "\nA: product=" +
                                    settings.description + "\nA: serial=" + settings.serialNumber +
                                    "\nA: busnum=1"
                                    "\nA: devnum=" +
                                    device + "\nA: devpath=" + std::to_string(settings.port) +
                                    "\nA: speed=12"
                                    "\nA: bConfigurationValue=1"
                                    "\nA: bNumConfigurations=1"
                                    "\nH: descriptors=" +
                                    Hex(DeviceDescriptor) + Hex(ConfigurationDescriptor) + "\n";
    GError* error = nullptr;
    Check(umockdev_testbed_add_from_string(testBed_->bed, description.c_str(), &error), error,
          "umockdev could not add the chip");
    Check(umockdev_testbed_attach_ioctl(testBed_->bed, node.c_str(), chip->IoctlHandler(), &error),
          error, "umockdev could not serve " + node);
    chips_.push_back(std::move(chip));
    return *chips_.back();
}

void EmulatedUsbBus::Unplug(EmulatedFt232r& chip) {
    chip.MarkUnplugged();
    umockdev_testbed_remove_device(testBed_->bed, ("/sys" + chip.SysfsPath()).c_str());
}

UMockdevIoctlBase* EmulatedFt232r::IoctlHandler() {
    return urbs_->handler;
}

const char* EmulationD2xxLibrary() {
    return QUVO_EMULATION_D2XX_LIBRARY;
}

bool UseEmulationD2xx(std::string& why) {
    if (access(EmulationD2xxLibrary(), R_OK) != 0) {
        why = "FTDI's D2XX library was not built here (npm could not fetch it)";
        return false;
    }
    setenv("QUVO_D2XX_LIBRARY", EmulationD2xxLibrary(), 1);
    FtdiApi api;
    if (!LoadD2xxLibrary(api, why)) {
        return false;
    }
    SetFtdiApi(api);
    return true;
}
