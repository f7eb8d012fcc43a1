// SPDX-License-Identifier: Apache-2.0
#include "cli/DiagnosisReport.h"

#include <QFileInfo>
#include <QTextStream>

#include <iterator>

QString ToolDiagnosisReport(const MachineFacts& facts, const LibraryDevices& library,
                            const std::vector<AttachedChip>& chips) {
    QString report;
    QTextStream out(&report);
    out << "QUVO-8261 Settings diagnosis report\n"
        << "program: quvo8261-cli " << facts.programVersion << "\n"
        << "libraries: Qt " << qVersion() << ", " << facts.libraryVersions << "\n"
        << "back-end: " << facts.backEnd << "\n\n"
        << DiagnosisReport(library.lines, chips) << "\n"
        << "device nodes of the FT232R chips:\n";
    if (facts.nodeAccess.empty()) {
        out << "  (none)\n";
    }
    for (const auto& [node, access] : facts.nodeAccess) {
        out << "  " << node << "  " << access << "\n";
    }
    out << "udev rule for the panels: "
        << (facts.udevRules.isEmpty() ? QString("not installed") : facts.udevRules.join(", "))
        << "\n"
        << "user: " << facts.user << "; groups: " << facts.groups.join(' ') << "\n"
        << "log: the program keeps no log file; started with QT_LOGGING_RULES=\"quvo.*=true\" "
           "it prints its messages\n";
    out.flush();
    return report;
}

QString DeviceNodeAccess(const QString& node) {
    const QFileInfo file(node);
    if (!file.exists()) {
        return "No such file or directory";
    }
    const QFileDevice::Permissions permissions = file.permissions();
    const QFileDevice::Permission bits[] = {
        QFileDevice::ReadOwner, QFileDevice::WriteOwner, QFileDevice::ExeOwner,
        QFileDevice::ReadGroup, QFileDevice::WriteGroup, QFileDevice::ExeGroup,
        QFileDevice::ReadOther, QFileDevice::WriteOther, QFileDevice::ExeOther};
    QString mode;
    for (std::size_t i = 0; i < std::size(bits); ++i) {
        mode += permissions.testFlag(bits[i]) ? QChar("rwx"[i % 3]) : QChar('-');
    }
    const QString owner = file.owner().isEmpty() ? QString::number(file.ownerId()) : file.owner();
    const QString group = file.group().isEmpty() ? QString::number(file.groupId()) : file.group();
    return owner + ":" + group + " " + mode;
}
