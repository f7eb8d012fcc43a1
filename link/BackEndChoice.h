// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/FtdiApi.h"

#include <QCommandLineParser>

#include <functional>
#include <optional>
#include <stdexcept>
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

// A `--driver=` value that names no back-end: a usage error of either program.
class UnknownDriver : public std::runtime_error {
public:
    explicit UnknownDriver(const QString& name);
};

// No back-end can be used: every back-end tried and why it failed, then what to do.
class NoBackEnd : public std::runtime_error {
public:
    explicit NoBackEnd(const std::string& reasons);
};

// `--driver=d2xx|libftdi|sim` and `--simulate`, the options both programs take.
void AddBackEndOptions(QCommandLineParser& parser);
// The back-end the parsed options ask for. Throws UnknownDriver.
BackEnd BackEndFromOptions(const QCommandLineParser& parser);

// The back-end installed (never Automatic) and, where FTDI's library was tried
// and passed over for libftdi1, why it did not load.
struct InstalledBackEnd {
    BackEnd backEnd = BackEnd::LibFtdi;
    std::string d2xxNotLoaded;
};

// Installs the chosen back-end's FTDI table in the port module and tells which
// back-end that is; `virtualPanels` gives the table of the virtual panels, which
// live in a layer above this one. Throws NoBackEnd.
InstalledBackEnd UseBackEnd(BackEnd choice, const std::function<FtdiApi()>& virtualPanels);
