// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/FtdiApi.h"

#include <cstdint>
#include <string>
#include <vector>

// The open-source back-end: fills the FTDI API table from libftdi1 (and its
// libusb), with the numbers and records FTDI's own library gives in the same
// situation, so that texts and behaviour do not depend on the back-end.
FtdiApi LibFtdiFtdiApi();

// Whether libusb can reach the USB devices here; otherwise `error` says why.
bool LibFtdiUsable(std::string& error);

// "libftdi1 1.5, libusb 1.0.26": the versions loaded, for a report.
std::string LibFtdiVersions();

// A stable location id from a device's USB bus and port path: the bus in the top
// byte, then one nibble a port, first port highest. A path that does not fit
// (a port above 15 or more than six ports) gets a hash of the path instead, with
// the top bit set so that it cannot equal a packed one.
std::uint32_t LocationIdOf(std::uint8_t bus, const std::vector<std::uint8_t>& ports);

// The D2XX status a user would get from FTDI's library where libusb reports
// `libusbError` (a negative LIBUSB_ERROR_ number).
FT_STATUS StatusOfLibusbError(int libusbError);
