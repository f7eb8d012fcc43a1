// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/UnitProcs.h"

#include <QColor>

// The one place where a screen colour 0x00BBGGRR becomes a QColor.
QColor QColorFromScreen(ScreenColour colour);
ScreenColour ScreenFromQColor(const QColor& colour);
