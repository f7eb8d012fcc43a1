// SPDX-License-Identifier: Apache-2.0
#include "cli/CliReport.h"

#include "model/SettingsFiles.h"
#include "model/UnitProcs.h"

#include <QJsonArray>

namespace {

const char* const StateNames[4] = {"No signals", "GPIO", "GPI", "GPIO+GPI"};
const char* const ModeNames[3] = {"Free", "Fixed", "Pulse"};

QString ColourText(ScreenColour colour) {
    return "#" + Hex(SwapRedBlue(colour), 6);
}

} // namespace

QString ChannelList(const std::vector<int>& channels) {
    QStringList parts;
    for (std::size_t i = 0; i < channels.size();) {
        std::size_t j = i;
        while (j + 1 < channels.size() && channels[j + 1] == channels[j] + 1) {
            ++j;
        }
        parts << (j > i ? QString("%1-%2").arg(channels[i]).arg(channels[j])
                        : QString::number(channels[i]));
        i = j + 1;
    }
    return parts.isEmpty() ? QString("none") : parts.join(' ');
}

QString Hex(std::uint32_t value, int digits) {
    return QString("%1").arg(value, digits, 16, QChar('0')).toUpper();
}

QJsonObject PanelJson(const CliPanel& panel) {
    QJsonArray channels;
    for (const int channel : panel.channels) {
        channels.append(channel);
    }
    return {{"description", panel.description},
            {"serial", panel.serial},
            {"mask", panel.mask},
            {"channels", channels},
            {"location", qint64(panel.location)}};
}

QJsonObject LiveJson(const StatusBlock& status, const std::vector<int>& present) {
    QJsonArray channels;
    for (const int channel : present) {
        const std::uint8_t state = status[StatusStateOffset(channel)];
        channels.append(QJsonObject{
            {"channel", channel}, {"gpio", (state & 1) != 0}, {"gpi", (state & 2) != 0}});
    }
    return {{"channels", channels},
            {"f1", status[StatusSTATE17]},
            {"f2", status[StatusSTATE18]},
            {"locked", status[StatusLOCKSTATE] != 0}};
}

QJsonObject ConfigurationJson(const ConfigBlock& block, const std::vector<int>& present) {
    QJsonArray channels;
    for (const int channel : present) {
        const std::size_t record = RecordOffset(channel);
        QJsonArray colours;
        for (int state = 0; state < 4; ++state) {
            const ColourEntry entry = ColourEntryOf(block, channel, state);
            colours.append(QJsonObject{
                {"state", StateNames[state]},
                {"colour", ColourText(entry.ScreenColor)},
                {"brightness", QString::fromStdString(BrightnessText(entry.Brightness))},
                {"level", entry.Brightness}});
        }
        const int mode = block[record + RecordMODE];
        channels.append(
            QJsonObject{{"channel", channel},
                        {"mode", mode <= 2 ? QString(ModeNames[mode]) : QString::number(mode)},
                        {"group", block[record + RecordGROUP]},
                        {"duration", block[record + RecordDURATION] / 10.0},
                        {"colours", colours},
                        {"memorySlot", block[record + RecordISMEM] == 1}});
    }
    return {{"restoreOnPowerUp", block[ConfigSAVE] != 0},
            {"keyLockInstalled", block[ConfigLOCK] != 0},
            {"f1", block[ConfigMODE17]},
            {"f1Name", QString::fromStdString(KeyFunctionName(1, block[ConfigMODE17]))},
            {"f2", block[ConfigMODE18]},
            {"f2Name", QString::fromStdString(KeyFunctionName(2, block[ConfigMODE18]))},
            {"channels", channels}};
}

void PrintLive(QTextStream& out, const StatusBlock& status, const std::vector<int>& present) {
    QStringList active;
    for (const int channel : present) {
        const std::uint8_t state = status[StatusStateOffset(channel)];
        if ((state & 3) != 0) {
            active << QString("%1:%2").arg(channel).arg(StateNames[state & 3]);
        }
    }
    out << "live: " << (active.isEmpty() ? QString("no signals") : active.join(' ')) << "; F1 "
        << (status[StatusSTATE17] ? "pressed" : "idle") << ", F2 "
        << (status[StatusSTATE18] ? "pressed" : "idle") << "; key lock "
        << (status[StatusLOCKSTATE] ? "locked" : "unlocked") << "\n";
}

void PrintConfiguration(QTextStream& out, const ConfigBlock& block,
                        const std::vector<int>& present) {
    out << "restore on power up: " << (block[ConfigSAVE] ? "yes" : "no")
        << ", key lock installed: " << (block[ConfigLOCK] ? "yes" : "no")
        << ", F1 function: " << QString::fromStdString(KeyFunctionName(1, block[ConfigMODE17]))
        << ", F2 function: " << QString::fromStdString(KeyFunctionName(2, block[ConfigMODE18]))
        << "\n";
    out << "channel mode  group duration  no signals      GPIO            GPI             "
           "GPIO+GPI\n";
    for (const int channel : present) {
        const std::size_t record = RecordOffset(channel);
        const int mode = block[record + RecordMODE];
        const int group = block[record + RecordGROUP];
        QString line =
            QString("%1").arg(channel, 7) + " " +
            QString(mode <= 2 ? ModeNames[mode] : "?").leftJustified(5) + " " +
            QString(group == 0 ? "n/a" : QString::number(group)).leftJustified(5) + " " +
            QString("%1 s").arg(block[record + RecordDURATION] / 10.0, 0, 'f', 1).leftJustified(9);
        for (int state = 0; state < 4; ++state) {
            const ColourEntry entry = ColourEntryOf(block, channel, state);
            line += " " + (ColourText(entry.ScreenColor) + " " +
                           QString::fromStdString(BrightnessText(entry.Brightness)))
                              .leftJustified(15);
        }
        while (line.endsWith(' ')) {
            line.chop(1);
        }
        out << line << "\n";
    }
}

namespace {

// Each field that differs, worded by `format` with the field's name and both values.
QStringList DifferenceLines(const ConfigBlock& first, const ConfigBlock& second,
                            const QString& format) {
    QStringList lines;
    for (const FieldDifference& difference : ConfigDifferences(first, second)) {
        lines << format.arg(QString::fromStdString(difference.field))
                     .arg(difference.first)
                     .arg(difference.second);
    }
    return lines;
}

} // namespace

QString NotDoneText() {
    return ToolTexts::tr("not done: interrupted");
}

QStringList Differences(const ConfigBlock& sent, const ConfigBlock& readBack) {
    return DifferenceLines(sent, readBack, ToolTexts::tr("%1 (sent %2, read back %3)"));
}

QStringList ComparedWithFile(const ConfigBlock& panel, const ConfigBlock& file) {
    return DifferenceLines(panel, file,
                           QCoreApplication::translate("TFormEdit", "%1: panel %2, file %3"));
}
