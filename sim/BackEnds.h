#pragma once

#include <string>

// Chooses the FTDI API table the port module uses, as the windows and the
// command-line tool both do: the two default virtual panels, or FTDI's D2XX
// library. False, with the reason in `error`, when the library cannot be loaded.
bool UseBackEnd(bool virtualPanels, std::string& error);
