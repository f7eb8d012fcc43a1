// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/FtdiApi.h"

#include <string>

// Loads FTDI's D2XX library: the path in QUVO_D2XX_LIBRARY if set, otherwise the
// platform's library name through the system's search. On success fills the table
// and returns true; otherwise `error` names every path tried and why it failed.
bool LoadD2xxLibrary(FtdiApi& api, std::string& error);
