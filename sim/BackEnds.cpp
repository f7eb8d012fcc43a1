#include "BackEnds.h"

#include "D2XXUnit_mod.h"
#include "D2xxLibrary.h"
#include "LibFtdiBackEnd.h"
#include "VirtualBus.h"

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

bool UseBackEnd(BackEnd choice, std::string& error) {
    error.clear();
    if (choice == BackEnd::VirtualPanels) {
        SetFtdiApi(SimulatorFtdiApi());
        AddDefaultVirtualPanels();
        return true;
    }
    if (choice != BackEnd::LibFtdi) {
        FtdiApi api;
        if (LoadD2xxLibrary(api, error)) {
            SetFtdiApi(api);
            return true;
        }
        if (choice == BackEnd::D2xx) {
            return false;
        }
    }
    std::string reason;
    if (!LibFtdiUsable(reason)) {
        error += reason + "\n";
        return false;
    }
    error.clear();
    SetFtdiApi(LibFtdiFtdiApi());
    return true;
}
