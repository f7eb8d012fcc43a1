// SPDX-License-Identifier: Apache-2.0
#include "link/LinkLogging.h"

Q_LOGGING_CATEGORY(lcLink, "quvo.link", QtWarningMsg)
Q_LOGGING_CATEGORY(lcWire, "quvo.wire", QtWarningMsg)
