// SPDX-License-Identifier: Apache-2.0
#include "editor/ComparedValues.h"

#include "model/SettingsFiles.h"
#include "model/UnitProcs.h"
#include "ui/ControlText.h"

#include <QCoreApplication>

#include <iterator>

namespace {

class ComparedValues {
    Q_DECLARE_TR_FUNCTIONS(ComparedValues)
};

// The editor's own words for what it shows.
QString EditorWord(const char* text) {
    return DisplayText(QCoreApplication::translate("TFormEdit", text)).simplified();
}

QString OnOff(int value) {
    return QCoreApplication::translate("SpokenTexts", value != 0 ? "on" : "off");
}

QString FunctionName(std::size_t offset, int value) {
    static const char* const f1[] = {"None", "UnLock"};
    static const char* const f2[] = {"None", "GPIO\r\n OFF", "MEM"};
    if (offset == ConfigMODE17 && value < int(std::size(f1))) {
        return EditorWord(f1[value]);
    }
    if (offset == ConfigMODE18 && value < int(std::size(f2))) {
        return EditorWord(f2[value]);
    }
    return QString::number(value);
}

// A byte's value as the editor shows it; offsets inside a record are the
// record's fields.
QString Shown(std::size_t offset, int value) {
    if (offset == ConfigSAVE || offset == ConfigLOCK) {
        return OnOff(value);
    }
    if (offset == ConfigMODE17 || offset == ConfigMODE18) {
        return FunctionName(offset, value);
    }
    switch (offset % ChannelRecordSize) {
    case RecordGROUP:
        return value == 0 ? EditorWord("n/a") : QString::number(value);
    case RecordMODE: {
        const char* const modes[] = {"Free", "Fixed", "Pulse"};
        return value <= 2 ? EditorWord(modes[value]) : QString::number(value);
    }
    case RecordDURATION:
        return QString::number(value / 10.0, 'f', 1) + " s";
    case RecordISMEM:
        return OnOff(value);
    default:
        return QString::number(value);
    }
}

QString ColourShown(const ConfigBlock& block, int channel, int state) {
    const ColourEntry entry = ColourEntryOf(block, channel, state);
    const ScreenColour colour = entry.ScreenColor; // red in the low byte
    const QString hex = QString("%1%2%3")
                            .arg(colour & 0xFF, 2, 16, QChar('0'))
                            .arg((colour >> 8) & 0xFF, 2, 16, QChar('0'))
                            .arg((colour >> 16) & 0xFF, 2, 16, QChar('0'))
                            .toUpper();
    return "#" + hex + " " +
           QCoreApplication::translate("UnitProcs", BrightnessText(entry.Brightness).c_str());
}

QString Line(const QString& field, const QString& panel, const QString& file) {
    return QCoreApplication::translate("TFormEdit", "%1: panel %2, file %3")
        .arg(field, panel, file);
}

} // namespace

QStringList ComparedLines(const ConfigBlock& panel, const ConfigBlock& file,
                          const std::map<std::size_t, long long>& outOfRange) {
    QStringList lines;
    std::size_t offset = 0;
    while (offset < ConfigBlockSize) {
        const std::size_t inRecord = offset % ChannelRecordSize;
        const bool record = offset < ChannelRecordSize * ChannelCount;
        // A colour field's four bytes are one colour.
        if (record && inRecord >= RecordCOLOR0 && inRecord < RecordMEM0) {
            const int channel = int(offset / ChannelRecordSize) + 1;
            const int state = int(inRecord - RecordCOLOR0) / 4;
            bool differs = false;
            QStringList outside;
            for (std::size_t byte = offset; byte < offset + 4; ++byte) {
                differs = differs || panel[byte] != file[byte];
                if (const auto found = outOfRange.find(byte); found != outOfRange.end()) {
                    outside << QString("%1 = %2")
                                   .arg(QString::fromStdString(ConfigFieldName(byte)))
                                   .arg(found->second);
                }
            }
            const QString field = QString("GPIO%1 COLOR%2").arg(channel).arg(state);
            if (!outside.isEmpty()) {
                lines << ComparedValues::tr("%1: the file's %2 is out of range")
                             .arg(field, outside.join(", "));
            } else if (differs) {
                lines << Line(field, ColourShown(panel, channel, state),
                              ColourShown(file, channel, state));
            }
            offset += 4;
            continue;
        }
        const QString field = QString::fromStdString(ConfigFieldName(offset));
        if (const auto found = outOfRange.find(offset); found != outOfRange.end()) {
            lines << Line(field, Shown(offset, panel[offset]),
                          ComparedValues::tr("%1 (out of range)").arg(found->second));
        } else if (panel[offset] != file[offset]) {
            lines << Line(field, Shown(offset, panel[offset]), Shown(offset, file[offset]));
        }
        ++offset;
    }
    return lines;
}
