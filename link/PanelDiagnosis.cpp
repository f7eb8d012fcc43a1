// SPDX-License-Identifier: Apache-2.0
#include "link/PanelDiagnosis.h"

#include "link/D2XXUnit_mod.h"
#include "link/PanelFilter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

QString Attribute(const QDir& device, const char* name) {
    QFile file(device.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromUtf8(file.read(256)).trimmed();
}

bool MayReadAndWrite(const QString& node) {
#if defined(Q_OS_UNIX)
    return ::access(QFile::encodeName(node).constData(), R_OK | W_OK) == 0;
#else
    return QFileInfo(node).isWritable();
#endif
}

// The driver bound to any interface of the device: "ftdi_sio" when the kernel
// made a serial port of it.
QString InterfaceDriver(const QDir& sysfs, const QString& device) {
    for (const QString& entry :
         sysfs.entryList({device + ":*"}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QFileInfo driver(sysfs.filePath(entry + "/driver"));
        if (driver.isSymLink()) {
            return QFileInfo(driver.symLinkTarget()).fileName();
        }
    }
    return QString();
}

QString Name(const AttachedChip& chip) {
    return chip.product + " (" + chip.serial + ")";
}

// The context of these texts in the translations.
class PanelDiagnosis {
    Q_DECLARE_TR_FUNCTIONS(PanelDiagnosis)
};

QString Advice(const AttachedChip& chip) {
    switch (chip.state) {
    case AttachedChip::State::HeldByKernelDriver:
        return PanelDiagnosis::tr(
                   "%1 is attached but the kernel's serial driver holds it: start the program "
                   "with --driver=libftdi, which takes the chip over, or unload the driver with "
                   "\"sudo rmmod ftdi_sio\" for FTDI's D2XX library.")
            .arg(Name(chip));
    case AttachedChip::State::NoPermission:
        return PanelDiagnosis::tr(
                   "%1 is attached but you may not open %2: install the program's udev rule (it "
                   "comes with the package) and plug the panel in again; without a desktop "
                   "session (a service, SSH) the user must be in the plugdev group.")
            .arg(Name(chip), chip.node);
    case AttachedChip::State::InUse:
        return PanelDiagnosis::tr("%1 is attached but another program has it open; close it there.")
            .arg(Name(chip));
    case AttachedChip::State::Usable:
        break;
    }
    return PanelDiagnosis::tr("%1 is attached and free.").arg(Name(chip));
}

} // namespace

std::vector<AttachedChip> FindAttachedChips(const QString& sysfsRoot, const QString& deviceRoot,
                                            const std::function<bool(const QString&)>& canOpen) {
    std::vector<AttachedChip> chips;
    const QDir sysfs(sysfsRoot);
    if (!sysfs.exists()) {
        return chips;
    }
    for (const QString& entry : sysfs.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir device(sysfs.filePath(entry));
        if (Attribute(device, "idVendor").toLower() != "0403" ||
            Attribute(device, "idProduct").toLower() != "6001") {
            continue;
        }
        AttachedChip chip;
        chip.product = Attribute(device, "product");
        chip.serial = Attribute(device, "serial");
        chip.isPanel = NamesPanel(chip.product.toStdString());
        chip.node = QString("%1/%2/%3")
                        .arg(deviceRoot)
                        .arg(Attribute(device, "busnum").toInt(), 3, 10, QChar('0'))
                        .arg(Attribute(device, "devnum").toInt(), 3, 10, QChar('0'));
        if (InterfaceDriver(sysfs, entry) == "ftdi_sio") {
            chip.state = AttachedChip::State::HeldByKernelDriver;
        } else if (!(canOpen ? canOpen(chip.node) : MayReadAndWrite(chip.node))) {
            chip.state = AttachedChip::State::NoPermission;
        }
        chips.push_back(chip);
    }
    return chips;
}

void MarkPanelsInUse(std::vector<AttachedChip>& chips, const std::vector<QString>& listedSerials) {
    for (AttachedChip& chip : chips) {
        const bool listed = std::find(listedSerials.begin(), listedSerials.end(), chip.serial) !=
                            listedSerials.end();
        if (!chip.isPanel) {
            continue;
        }
        if (listed) {
            chip.state = AttachedChip::State::Usable; // libftdi1 takes it from ftdi_sio
        } else if (chip.state == AttachedChip::State::Usable) {
            chip.state = AttachedChip::State::InUse;
        }
    }
}

QString EmptyListText(const std::vector<AttachedChip>& chips) {
    for (const AttachedChip& chip : chips) {
        if (chip.isPanel && chip.state != AttachedChip::State::Usable) {
            return Advice(chip);
        }
    }
    return PanelDiagnosis::tr("No QUVO-8261 panel attached.");
}

QString DiagnosisReport(const std::vector<QString>& libraryDevices,
                        const std::vector<AttachedChip>& chips) {
    QString report = "FTDI devices the driver library lists:\n";
    for (const QString& device : libraryDevices) {
        report += "  " + device + "\n";
    }
    if (libraryDevices.empty()) {
        report += "  none\n";
    }
    report += "FT232R chips the system sees:\n";
    for (const AttachedChip& chip : chips) {
        report += "  " + Name(chip) + " at " + chip.node +
                  (chip.isPanel ? QString() : QString(" - not a QUVO-8261 panel")) + "\n";
    }
    if (chips.empty()) {
        report += "  none\n";
    }
    for (const AttachedChip& chip : chips) {
        if (chip.isPanel) {
            report += Advice(chip) + "\n";
        }
    }
    return report;
}

LibraryDevices ListLibraryDevices() {
    LibraryDevices devices;
    if (EnumerateDevices() != FT_OK) {
        devices.lines.push_back("(the library could not list the devices)");
    }
    for (std::uint32_t i = 0; i < DeviceInfoCount; ++i) {
        const FT_DEVICE_LIST_INFO_NODE& node = DeviceInfoList[i];
        const QString serial = QString::fromStdString(SerialNumberOf(node));
        if ((node.Flags & FT_FLAGS_OPENED) != 0 && serial.isEmpty()) {
            devices.lines.push_back("a device opened by another program (or held by the kernel)");
            continue;
        }
        const bool usable = IsPanelDevice(node);
        devices.lines.push_back(QString("%1  %2  type %3  location 0x%4%5")
                                    .arg(QString::fromStdString(DescriptionOf(node)), serial)
                                    .arg(node.Type)
                                    .arg(node.LocId, 4, 16, QChar('0'))
                                    .arg(usable ? "  - usable panel" : ""));
        if (usable) {
            devices.usableSerials.push_back(serial);
        }
    }
    return devices;
}
