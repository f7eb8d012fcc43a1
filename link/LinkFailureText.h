// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <cstdint>
#include <string>

// How a failed link is told to the user, from the link's result fields, with
// "\r\n" line breaks. Empty for LinkOk.
std::string LinkFailureText(std::uint32_t linkResult, std::int32_t ioStatus, std::uint8_t errorByte,
                            std::uint8_t lastCommand, std::uint8_t lastReply);
