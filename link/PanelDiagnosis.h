// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

#include <functional>
#include <vector>

// Why a panel that is plugged in is not listed: the system's own view of the
// USB devices (on Linux, sysfs and /dev/bus/usb), beside the driver library's.

struct AttachedChip {
    enum class State { Usable, HeldByKernelDriver, NoPermission, InUse };

    QString product; // the chip's product string, "QUVO-8261-16"
    QString serial;
    QString node;         // /dev/bus/usb/BBB/DDD
    bool isPanel = false; // 0403:6001 with "QUVO-8261-" in its product string
    State state = State::Usable;
};

// Every FTDI FT232R chip (0403:6001) under `sysfsRoot`, with its state. `canOpen`
// tells whether this user may read and write a device node. Nothing on systems
// without sysfs.
std::vector<AttachedChip>
FindAttachedChips(const QString& sysfsRoot = "/sys/bus/usb/devices",
                  const QString& deviceRoot = "/dev/bus/usb",
                  const std::function<bool(const QString& node)>& canOpen = {});

// The state of a panel the library does not list although the system sees it
// free: then another program holds it. A panel the library lists is usable,
// also one the kernel's serial driver holds (libftdi1 detaches the driver).
void MarkPanelsInUse(std::vector<AttachedChip>& chips, const std::vector<QString>& listedSerials);

// One or two lines for the empty device list: why no panel is listed and what
// to do; "No QUVO-8261 panel attached." when the system sees none either.
QString EmptyListText(const std::vector<AttachedChip>& chips);

// What the driver library lists: a line per device, and the serial numbers of
// the usable panels among them.
struct LibraryDevices {
    std::vector<QString> lines;
    std::vector<QString> usableSerials;
};
LibraryDevices ListLibraryDevices();

// The report of `--diagnose`: the library's devices, the system's chips, each
// panel's state and what to do.
QString DiagnosisReport(const std::vector<QString>& libraryDevices,
                        const std::vector<AttachedChip>& chips);
