// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/UnitProcs.h"

#include <QCoreApplication>

// Colours and names the editor's parts share.
inline constexpr ScreenColour WindowColour = 0x00808080;
inline constexpr const char* StateNames[4] = {
    QT_TRANSLATE_NOOP("EditorLook", "No signals"), QT_TRANSLATE_NOOP("EditorLook", "GPIO"),
    QT_TRANSLATE_NOOP("EditorLook", "GPI"), QT_TRANSLATE_NOOP("EditorLook", "GPIO+GPI")};
// A signal state's name in the user's language.
inline QString StateName(int state) {
    return QCoreApplication::translate("EditorLook", StateNames[state]);
}
