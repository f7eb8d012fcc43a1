#include "BackEnds.h"

#include "D2XXUnit_mod.h"
#include "D2xxLibrary.h"
#include "VirtualBus.h"

bool UseBackEnd(bool virtualPanels, std::string& error) {
    if (virtualPanels) {
        SetFtdiApi(SimulatorFtdiApi());
        AddDefaultVirtualPanels();
        return true;
    }
    FtdiApi api;
    if (!LoadD2xxLibrary(api, error)) {
        return false;
    }
    SetFtdiApi(api);
    return true;
}
