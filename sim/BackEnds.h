#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where the port module's FTDI calls go.
enum class BackEnd {
    Automatic,     // FTDI's D2XX library when it loads, else libftdi1
    D2xx,          // FTDI's own library, downloaded from the chip maker
    LibFtdi,       // the open-source libftdi1 every distribution packages
    VirtualPanels, // the two default virtual panels
};

// The back-end a `--driver=` value names ("d2xx", "libftdi", "sim"); none for
// any other value.
std::optional<BackEnd> BackEndNamed(std::string_view name);

// The choice the windows and the command-line tool share. False, with every
// back-end tried and why it failed in `error`, when none can be used.
bool UseBackEnd(BackEnd choice, std::string& error);
