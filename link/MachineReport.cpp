// SPDX-License-Identifier: Apache-2.0
#include "link/MachineReport.h"

#include "link/LibFtdiBackEnd.h"
#include "link/RecentMessages.h"
#include "link/SystemFacts.h"

#include <QFileInfo>
#include <QTextStream>

#include <iterator>

namespace {

void ListLines(QTextStream& out, const QStringList& lines) {
    if (lines.isEmpty()) {
        out << "  (none)\n";
    }
    for (const QString& line : lines) {
        out << "  " << line << "\n";
    }
}

} // namespace

MachineFacts ReadMachineFacts(const QString& program, const QString& backEnd,
                              const QString& sysfsRoot, const QString& deviceRoot,
                              const std::function<bool(const QString& node)>& canOpen) {
    MachineFacts facts;
    facts.program = program;
    facts.libraryVersions = QString::fromStdString(LibFtdiVersions());
    facts.backEnd = backEnd;
    facts.user = UserName();
    facts.groups = UserGroups();
    facts.udevRules = InstalledUdevRules();
    facts.library = ListLibraryDevices();
    facts.chips = FindAttachedChips(sysfsRoot, deviceRoot, canOpen);
    MarkPanelsInUse(facts.chips, facts.library.usableSerials);
    for (const AttachedChip& chip : facts.chips) {
        if (!chip.node.isEmpty()) {
            facts.nodeAccess.emplace_back(chip.node, DeviceNodeAccess(chip.node));
        }
    }
    facts.recentMessages = RecentMessages();
    facts.serviceLog = ServiceLog(20);
    return facts;
}

QString MachineReport(const MachineFacts& facts) {
    QString report;
    QTextStream out(&report);
    out << "QUVO-8261 Settings diagnosis report\n"
        << "program: " << facts.program << "\n"
        << "libraries: Qt " << qVersion() << ", " << facts.libraryVersions << "\n"
        << "back-end: " << facts.backEnd << "\n\n"
        << DiagnosisReport(facts.library.lines, facts.chips) << "\n"
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
        << "user: " << facts.user << "; groups: " << facts.groups.join(' ') << "\n\n"
        << "the program's last messages (more with QT_LOGGING_RULES=\"quvo.*=true\"):\n";
    ListLines(out, facts.recentMessages);
    out << "the profile service's last lines in the system's log:\n";
    ListLines(out, facts.serviceLog);
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

QString BackEndWords(BackEnd asked, std::optional<BackEnd> chosen,
                     const std::string& d2xxNotLoaded) {
    if (!chosen) {
        return "chosen by the caller";
    }
    const QString name = *chosen == BackEnd::D2xx      ? "FTDI's D2XX library"
                         : *chosen == BackEnd::LibFtdi ? "libftdi1"
                                                       : "the virtual panels";
    if (asked != BackEnd::Automatic) {
        return name + " (asked for with --driver or --simulate)";
    }
    if (*chosen == BackEnd::D2xx) {
        return name + " (its library loaded)";
    }
    return name + " (FTDI's D2XX library did not load: " +
           QString::fromStdString(d2xxNotLoaded).trimmed() + ")";
}
