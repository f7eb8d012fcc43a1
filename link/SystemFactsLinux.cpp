// SPDX-License-Identifier: Apache-2.0
#include "link/SystemFacts.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

QString UserName() {
    const passwd* user = ::getpwuid(::geteuid());
    return user != nullptr ? QString::fromLocal8Bit(user->pw_name) : QString::number(::geteuid());
}

QStringList UserGroups() {
    std::vector<gid_t> groups(std::size_t(std::max(::getgroups(0, nullptr), 0)) + 1);
    const int count = ::getgroups(int(groups.size()), groups.data());
    groups.resize(std::size_t(std::max(count, 0)));
    if (std::find(groups.begin(), groups.end(), ::getegid()) == groups.end()) {
        groups.insert(groups.begin(), ::getegid());
    }
    QStringList names;
    for (const gid_t id : groups) {
        const group* entry = ::getgrgid(id);
        names << (entry != nullptr ? QString::fromLocal8Bit(entry->gr_name) : QString::number(id));
    }
    return names;
}

QStringList InstalledUdevRules() {
    QStringList found;
    for (const char* rule :
         {"/etc/udev/rules.d/70-quvo8261.rules", "/usr/lib/udev/rules.d/70-quvo8261.rules",
          "/lib/udev/rules.d/70-quvo8261.rules"}) {
        const QString file = QFileInfo(rule).canonicalFilePath();
        if (!file.isEmpty() && !found.contains(file)) {
            found << file;
        }
    }
    return found;
}

QStringList ServiceLog(int lines) {
    const QString journal = QStandardPaths::findExecutable("journalctl");
    if (journal.isEmpty()) {
        return {"(no systemd journal on this system)"};
    }
    QProcess reader;
    reader.start(journal, {"--no-pager", "--quiet", "--output=short-iso",
                           "--lines=" + QString::number(lines), "--unit=quvo8261-apply*"});
    if (!reader.waitForFinished(5000)) {
        reader.kill();
        reader.waitForFinished(1000);
        return {"(the journal did not answer in time, or journalctl did not start)"};
    }
    const QString text = QString::fromUtf8(reader.readAllStandardOutput()).trimmed();
    if (reader.exitCode() != 0) {
        return {"(the journal could not be read: " +
                QString::fromUtf8(reader.readAllStandardError()).trimmed() + ")"};
    }
    return text.isEmpty() ? QStringList{"(none)"} : text.split('\n');
}
