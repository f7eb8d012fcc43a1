// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/UnitProcs.h"

#include <QString>

// The words a screen reader says for what the editor shows in colours and
// lamps. Signal states: 0 no signals, 1 GPIO, 2 GPI, 3 GPIO+GPI.

// A palette colour by its name ("red"), a custom one by its hex value.
QString SpokenColourName(const ColourEntry& entry);
// "Channel 3 colour, GPI: red, 75 %"; an unlit state says "off".
QString SpokenColourButton(int channel, int state, const ColourEntry& entry);
// "Channel 5 GPIO output, on".
QString SpokenGpioButton(int channel, bool on);
// "Channel 5 GPI input" and the like, for the lamps over and under a button.
QString SpokenLamp(int channel, bool input);
QString SpokenOnOff(bool on);
// "Slot 3, channel 5: member" / "Slot 3: enabled"; a channel of a disabled
// slot is not a member.
QString SpokenMemoryCell(int slot, int channel, bool slotEnabled, bool member);
