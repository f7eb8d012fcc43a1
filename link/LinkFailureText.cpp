// SPDX-License-Identifier: Apache-2.0
#include "link/LinkFailureText.h"

#include "link/WireProtocol.h"

#include <QCoreApplication>

namespace {

std::string Tr(const char* text) {
    return QCoreApplication::translate("LinkFailureText", text).toStdString();
}

} // namespace

std::string LinkFailureText(std::uint32_t linkResult, std::int32_t ioStatus, std::uint8_t errorByte,
                            std::uint8_t lastCommand, std::uint8_t lastReply) {
    // Library statuses are unsigned; one of 2^31 or more must not show negative.
    const std::string status = std::to_string(std::uint32_t(ioStatus));
    switch (linkResult) {
    case LinkOk:
        return std::string();
    case LinkWriteFailed:
        return Tr("USB Connection Failed") + "\r\n\r\n(" + Tr("write error") + " = " + status +
               ":" + std::to_string(lastCommand) + ")";
    case LinkReadFailed:
        return Tr("USB Connection Failed") + "\r\n\r\n(" + Tr("read error") + " = " + status + ":" +
               std::to_string(lastReply) + ")";
    case LinkBadHeader:
        return Tr("Invalid Device ID");
    case LinkDeviceError:
        return Tr("Device Error") + "\r\n\r\n(" + Tr("error code") + " = " +
               std::to_string(errorByte) + ":" + std::to_string(lastReply) + ")";
    default:
        return Tr("Invalid Device EID") + "\r\n\r\n(" + Tr("command code") + " = " +
               std::to_string(lastReply) + ")";
    }
}
