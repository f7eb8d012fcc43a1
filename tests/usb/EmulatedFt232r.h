// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "sim/VirtualPanel.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// An FT232R emulated at the USB device node, for the real driver libraries
// (libftdi1 with libusb, FTDI's D2XX): umockdev serves its sysfs entry and
// answers the usbdevfs requests on /dev/bus/usb/BBB/DDD as the chip does. Bulk
// OUT goes into the product's own virtual panel, whose line and chip model
// (line rate, 62-byte packets, latency timer) decide when reply bytes come back;
// bulk IN returns them in 64-byte packets, each starting with the two modem
// status bytes. The process must run under libumockdev-preload.so.0.

struct EmulatedChipSettings {
    std::string serialNumber = "QV826100.FFFF";
    std::string description = "QUVO-8261-16";
    int port = 1;                    // on bus 1; the device number is port + 1
    bool heldByKernelDriver = false; // ftdi_sio bound until a program detaches it
    bool claimedElsewhere = false;   // another program has claimed the interface
};

// A vendor request the chip received on endpoint 0.
struct VendorRequest {
    std::uint8_t request;
    std::uint16_t value;
    std::uint16_t index;
};

inline constexpr std::uint8_t VendorReset = 0;
inline constexpr std::uint8_t VendorSetFlowControl = 2;
inline constexpr std::uint8_t VendorSetBaudRate = 3;
inline constexpr std::uint8_t VendorSetData = 4;
inline constexpr std::uint8_t VendorSetLatencyTimer = 9;

class EmulatedFt232r;
struct ClientUrbs;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlData UMockdevIoctlData;

// A reference on umockdev's copy of client memory, dropped with the holder.
struct IoctlDataUnref {
    void operator()(UMockdevIoctlData* data) const;
};
using IoctlDataRef = std::unique_ptr<UMockdevIoctlData, IoctlDataUnref>;

// FTDI's D2XX library as the tests build it from npm, linked so that its own
// calls reach umockdev; false with the reason when it is not there or does not load.
bool UseEmulationD2xx(std::string& why);
// Its file, for a child process's QUVO_D2XX_LIBRARY.
const char* EmulationD2xxLibrary();

// The emulated USB bus: a umockdev test bed in this process (and in children
// started with the preload and its UMOCKDEV_DIR).
class EmulatedUsbBus {
public:
    EmulatedUsbBus();
    // Whether this process runs under umockdev's preload, so that the bus is
    // what the libraries see; otherwise `why`.
    bool Available(std::string& why) const;
    ~EmulatedUsbBus();
    EmulatedUsbBus(const EmulatedUsbBus&) = delete;
    EmulatedUsbBus& operator=(const EmulatedUsbBus&) = delete;

    EmulatedFt232r& AddChip(const EmulatedChipSettings& settings = {});
    // Unplugs the chip: it leaves sysfs, and its open node answers ENODEV.
    void Unplug(EmulatedFt232r& chip);
    // The test bed's root, for UMOCKDEV_DIR of child processes.
    std::string RootDirectory() const;

private:
    struct TestBed;
    std::unique_ptr<TestBed> testBed_;
    std::vector<std::unique_ptr<EmulatedFt232r>> chips_;
};

class EmulatedFt232r {
public:
    explicit EmulatedFt232r(const EmulatedChipSettings& settings);
    ~EmulatedFt232r();
    EmulatedFt232r(const EmulatedFt232r&) = delete;
    EmulatedFt232r& operator=(const EmulatedFt232r&) = delete;

    VirtualPanel& Panel() { return panel_; }
    std::vector<VendorRequest> VendorRequests();
    std::string SysfsPath() const;
    std::string DeviceNode() const; // /dev/bus/usb/001/DDD
    const EmulatedChipSettings& Settings() const { return settings_; }
    bool KernelDriverBound();
    // From within a request the chip is serving (a callback of its panel): from
    // the next request on the chip answers as an unplugged one does; an
    // EmulatedUsbBus::Unplug then completes the unplug.
    void CutOff() { unplugged_.store(true); }

    // The usbdevfs request handler, on umockdev's worker thread.
    struct Urbs;
    bool HandleIoctl(void* client);
    void MarkUnplugged();
    UMockdevIoctlBase* IoctlHandler();

private:
    // A submitted URB of the opener's that can be reaped now, or none; with the
    // mutex held.
    IoctlDataRef NextReapable(ClientUrbs& queues);

    std::mutex mutex_;
    EmulatedChipSettings settings_;
    VirtualPanel panel_;
    std::vector<VendorRequest> vendorRequests_;
    bool kernelDriverBound_;
    // Set by an unplug, or at once by CutOff from within a request.
    std::atomic<bool> unplugged_{false};
    std::unique_ptr<Urbs> urbs_;
};
