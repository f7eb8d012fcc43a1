// SPDX-License-Identifier: Apache-2.0
#include "link/BackEndChoice.h"

#include "link/D2XXUnit_mod.h"
#include "link/D2xxLibrary.h"
#include "link/LibFtdiBackEnd.h"

namespace {

const QString DriverOption = "driver";
const QString SimulateOption = "simulate";

} // namespace

std::optional<BackEnd> BackEndNamed(std::string_view name) {
    if (name == "d2xx") {
        return BackEnd::D2xx;
    }
    if (name == "libftdi") {
        return BackEnd::LibFtdi;
    }
    if (name == "sim") {
        return BackEnd::VirtualPanels;
    }
    return std::nullopt;
}

UnknownDriver::UnknownDriver(const QString& name)
    : std::runtime_error(("unknown driver " + name + " (d2xx, libftdi or sim)").toStdString()) {}

NoBackEnd::NoBackEnd(const std::string& reasons)
    : std::runtime_error(reasons +
                         "Install FTDI's D2XX driver (or set QUVO_D2XX_LIBRARY to its file), "
                         "make the USB devices reachable for libftdi1, or start with --simulate.") {
}

void AddBackEndOptions(QCommandLineParser& parser) {
    parser.addOption(QCommandLineOption(DriverOption, "d2xx, libftdi or sim", "name"));
    parser.addOption(QCommandLineOption(SimulateOption, "the same as --driver=sim"));
}

BackEnd BackEndFromOptions(const QCommandLineParser& parser) {
    // The last of --driver and --simulate counts.
    BackEnd choice = BackEnd::Automatic;
    const QStringList drivers = parser.values(DriverOption);
    qsizetype nextDriver = 0;
    for (const QString& name : parser.optionNames()) {
        if (name == SimulateOption) {
            choice = BackEnd::VirtualPanels;
        } else if (name == DriverOption && nextDriver < drivers.size()) {
            const QString& value = drivers[nextDriver++];
            const std::optional<BackEnd> named = BackEndNamed(value.toStdString());
            if (!named) {
                throw UnknownDriver(value);
            }
            choice = *named;
        }
    }
    return choice;
}

InstalledBackEnd UseBackEnd(BackEnd choice, const std::function<FtdiApi()>& virtualPanels) {
    if (choice == BackEnd::VirtualPanels) {
        SetFtdiApi(virtualPanels());
        return {BackEnd::VirtualPanels, {}};
    }
    std::string reasons;
    if (choice != BackEnd::LibFtdi) {
        FtdiApi api;
        if (LoadD2xxLibrary(api, reasons)) {
            SetFtdiApi(api);
            return {BackEnd::D2xx, {}};
        }
        if (choice == BackEnd::D2xx) {
            throw NoBackEnd(reasons);
        }
    }
    std::string reason;
    if (!LibFtdiUsable(reason)) {
        throw NoBackEnd(reasons + reason + "\n");
    }
    SetFtdiApi(LibFtdiFtdiApi());
    return {BackEnd::LibFtdi, reasons};
}
