// SPDX-License-Identifier: Apache-2.0
#include "cli/PanelHandOver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char* TaskName(PanelTask::Kind kind) {
    switch (kind) {
    case PanelTask::Kind::SendConfiguration:
        return "send configuration";
    case PanelTask::Kind::ApplyProfile:
        return "apply profile";
    case PanelTask::Kind::GpioOff:
        break;
    }
    return "gpio off";
}

void Require(bool holds, const char* what) {
    if (!holds) {
        throw BadHandOver(std::string("the hand-over to a panel's process is unusable: ") + what);
    }
}

} // namespace

QByteArray HandOverBytes(const PanelHandOver& handOver) {
    QJsonObject task{{"kind", TaskName(handOver.task.kind)},
                     {"verify", handOver.task.verify},
                     {"dryRun", handOver.task.dryRun}};
    if (handOver.task.kind != PanelTask::Kind::GpioOff) {
        task.insert("block", QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(
                                                                handOver.task.block.data()),
                                                            qsizetype(handOver.task.block.size()))
                                                     .toHex()));
    }
    return QJsonDocument(QJsonObject{{"command", handOver.command},
                                     {"panel", PanelJson(handOver.panel)},
                                     {"task", task}})
        .toJson(QJsonDocument::Compact);
}

PanelHandOver ParseHandOver(const QByteArray& bytes) {
    Require(bytes.size() <= MostHandOverBytes, "too long");
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    Require(error.error == QJsonParseError::NoError && document.isObject(), "not JSON");
    const QJsonObject root = document.object();
    const QJsonObject panel = root.value("panel").toObject();
    const QJsonObject task = root.value("task").toObject();
    PanelHandOver handOver;
    handOver.command = root.value("command").toString();
    Require(!handOver.command.isEmpty(), "no command");

    const double location = panel.value("location").toDouble(-1);
    Require(location >= 0 && location <= 0xFFFFFFFF && location == double(qint64(location)),
            "no location");
    handOver.panel.location = std::uint32_t(location);
    handOver.panel.serial = panel.value("serial").toString();
    handOver.panel.description = panel.value("description").toString();
    handOver.panel.mask = panel.value("mask").toString();
    Require(!handOver.panel.serial.isEmpty(), "no serial number");
    for (const QJsonValue& channel : panel.value("channels").toArray()) {
        const int number = channel.toInt(0);
        Require(number >= 1 && number <= ChannelCount, "a channel out of range");
        handOver.panel.channels.push_back(number);
    }

    const QString kind = task.value("kind").toString();
    handOver.task.verify = task.value("verify").toBool();
    handOver.task.dryRun = task.value("dryRun").toBool();
    if (kind == TaskName(PanelTask::Kind::GpioOff)) {
        handOver.task.kind = PanelTask::Kind::GpioOff;
        return handOver;
    }
    Require(kind == TaskName(PanelTask::Kind::SendConfiguration) ||
                kind == TaskName(PanelTask::Kind::ApplyProfile),
            "an unknown task");
    handOver.task.kind = kind == TaskName(PanelTask::Kind::ApplyProfile)
                             ? PanelTask::Kind::ApplyProfile
                             : PanelTask::Kind::SendConfiguration;
    const QString hex = task.value("block").toString();
    const QByteArray block = QByteArray::fromHex(hex.toLatin1());
    Require(hex.size() == qsizetype(2 * ConfigBlockSize) &&
                block.size() == qsizetype(ConfigBlockSize) &&
                block.toHex() == hex.toLatin1().toLower(),
            "a block of the wrong size");
    std::copy(block.begin(), block.end(), handOver.task.block.begin());
    return handOver;
}
