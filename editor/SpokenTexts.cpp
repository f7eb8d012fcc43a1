// SPDX-License-Identifier: Apache-2.0
#include "editor/SpokenTexts.h"

#include "editor/EditorLook.h"

#include <QCoreApplication>

#include <cmath>

namespace {

// The context of these texts in the translations.
class SpokenTexts {
    Q_DECLARE_TR_FUNCTIONS(SpokenTexts)
};

} // namespace

QString SpokenColourName(const ColourEntry& entry) {
    // Palette slots 1..12 as the colour menu shows them.
    static const char* const names[] = {
        "",
        QT_TRANSLATE_NOOP("SpokenTexts", "green"),
        QT_TRANSLATE_NOOP("SpokenTexts", "red"),
        QT_TRANSLATE_NOOP("SpokenTexts", "blue"),
        QT_TRANSLATE_NOOP("SpokenTexts", "lime"),
        QT_TRANSLATE_NOOP("SpokenTexts", "pink"),
        QT_TRANSLATE_NOOP("SpokenTexts", "cyan"),
        QT_TRANSLATE_NOOP("SpokenTexts", "yellow"),
        QT_TRANSLATE_NOOP("SpokenTexts", "orange"),
        QT_TRANSLATE_NOOP("SpokenTexts", "violet"),
        QT_TRANSLATE_NOOP("SpokenTexts", "white"),
        "",
        QT_TRANSLATE_NOOP("SpokenTexts", "off"),
    };
    if (entry.ScreenColor == 0) {
        return SpokenTexts::tr(names[OffSlot]);
    }
    if (entry.PaletteSlot >= 1 && entry.PaletteSlot <= OffSlot && entry.PaletteSlot != CustomSlot) {
        return SpokenTexts::tr(names[entry.PaletteSlot]);
    }
    const ScreenColour colour = entry.ScreenColor;
    return SpokenTexts::tr("custom colour %1")
        .arg(QString("#%1%2%3")
                 .arg(colour & 0xFF, 2, 16, QChar('0'))
                 .arg((colour >> 8) & 0xFF, 2, 16, QChar('0'))
                 .arg((colour >> 16) & 0xFF, 2, 16, QChar('0'))
                 .toUpper());
}

QString SpokenColourButton(int channel, int state, const ColourEntry& entry) {
    const QString stateName = StateName(state);
    if (entry.ScreenColor == 0) {
        return SpokenTexts::tr("Channel %1 colour, %2: off").arg(channel).arg(stateName);
    }
    const int percent = int(std::lround(entry.Brightness * 100.0 / 255.0));
    return SpokenTexts::tr("Channel %1 colour, %2: %3, %4 %")
        .arg(channel)
        .arg(stateName, SpokenColourName(entry))
        .arg(percent);
}

QString SpokenGpioButton(int channel, bool on) {
    return SpokenTexts::tr("Channel %1 GPIO output, %2").arg(channel).arg(SpokenOnOff(on));
}

QString SpokenLamp(int channel, bool input) {
    return input ? SpokenTexts::tr("Channel %1 GPI input").arg(channel)
                 : SpokenTexts::tr("Channel %1 GPIO output").arg(channel);
}

QString SpokenOnOff(bool on) {
    return on ? SpokenTexts::tr("on") : SpokenTexts::tr("off");
}

QString SpokenMemoryCell(int slot, int channel, bool slotEnabled, bool member) {
    if (channel == 0) {
        return slotEnabled ? SpokenTexts::tr("Slot %1: enabled").arg(slot)
                           : SpokenTexts::tr("Slot %1: disabled").arg(slot);
    }
    return slotEnabled && member
               ? SpokenTexts::tr("Slot %1, channel %2: member").arg(slot).arg(channel)
               : SpokenTexts::tr("Slot %1, channel %2: not a member").arg(slot).arg(channel);
}
