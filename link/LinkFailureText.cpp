// SPDX-License-Identifier: Apache-2.0
#include "link/LinkFailureText.h"

#include "link/WireProtocol.h"

std::string LinkFailureText(std::uint32_t linkResult, std::int32_t ioStatus, std::uint8_t errorByte,
                            std::uint8_t lastCommand, std::uint8_t lastReply) {
    // Library statuses are unsigned; one of 2^31 or more must not show negative.
    const std::string status = std::to_string(std::uint32_t(ioStatus));
    switch (linkResult) {
    case LinkOk:
        return std::string();
    case LinkWriteFailed:
        return "USB Connection Failed\r\n\r\n(write error = " + status + ":" +
               std::to_string(lastCommand) + ")";
    case LinkReadFailed:
        return "USB Connection Failed\r\n\r\n(read error = " + status + ":" +
               std::to_string(lastReply) + ")";
    case LinkBadHeader:
        return "Invalid Device ID";
    case LinkDeviceError:
        return "Device Error\r\n\r\n(error code = " + std::to_string(errorByte) + ":" +
               std::to_string(lastReply) + ")";
    default:
        return "Invalid Device EID\r\n\r\n(command code = " + std::to_string(lastReply) + ")";
    }
}
