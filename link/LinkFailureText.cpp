// SPDX-License-Identifier: Apache-2.0
#include "link/LinkFailureText.h"

#include "link/WireProtocol.h"

#include <QCoreApplication>

namespace {

// The context of these texts in the translations.
class LinkFailure {
    Q_DECLARE_TR_FUNCTIONS(LinkFailure)
};

} // namespace

std::string LinkFailureText(std::uint32_t linkResult, std::int32_t ioStatus, std::uint8_t errorByte,
                            std::uint8_t lastCommand, std::uint8_t lastReply) {
    // Library statuses are unsigned; one of 2^31 or more must not show negative.
    const std::string status = std::to_string(std::uint32_t(ioStatus));
    switch (linkResult) {
    case LinkOk:
        return std::string();
    case LinkWriteFailed:
        return LinkFailure::tr("USB Connection Failed").toStdString() + "\r\n\r\n(" +
               LinkFailure::tr("write error").toStdString() + " = " + status + ":" +
               std::to_string(lastCommand) + ")";
    case LinkReadFailed:
        return LinkFailure::tr("USB Connection Failed").toStdString() + "\r\n\r\n(" +
               LinkFailure::tr("read error").toStdString() + " = " + status + ":" +
               std::to_string(lastReply) + ")";
    case LinkBadHeader:
        return LinkFailure::tr("Invalid Device ID").toStdString();
    case LinkDeviceError:
        return LinkFailure::tr("Device Error").toStdString() + "\r\n\r\n(" +
               LinkFailure::tr("error code").toStdString() + " = " + std::to_string(errorByte) +
               ":" + std::to_string(lastReply) + ")";
    default:
        return LinkFailure::tr("Invalid Device EID").toStdString() + "\r\n\r\n(" +
               LinkFailure::tr("command code").toStdString() + " = " + std::to_string(lastReply) +
               ")";
    }
}
