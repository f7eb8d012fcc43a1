// SPDX-License-Identifier: Apache-2.0
#include "ui/ScreenColour.h"

QColor QColorFromScreen(ScreenColour colour) {
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

ScreenColour ScreenFromQColor(const QColor& colour) {
    return ScreenColour(colour.blue()) << 16 | ScreenColour(colour.green()) << 8 |
           ScreenColour(colour.red());
}
