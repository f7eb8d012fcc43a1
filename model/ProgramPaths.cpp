// SPDX-License-Identifier: Apache-2.0
#include "model/ProgramPaths.h"

#include "model/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

QString WithTrailingSeparator(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith('/') || folder.endsWith(QDir::separator())) {
        return folder;
    }
    return folder + '/';
}

bool FolderIsWritable(const QString& folder) {
    QTemporaryFile probe(QDir(folder).filePath("write-probe-XXXXXX"));
    return probe.open();
}

bool CarryOverProgramSettings(const QString& from, const QString& to) {
    const IniFile earlier(from);
    const std::vector<IniFile::Entry> entries = earlier.Entries();
    if (!earlier.LoadError().isEmpty() || entries.empty()) {
        return false;
    }
    IniFile mine(to);
    if (!mine.LoadError().isEmpty()) {
        return false;
    }
    bool added = false;
    for (const IniFile::Entry& entry : entries) {
        if (!mine.ReadString(entry.section, entry.key)) {
            added = mine.WriteString(entry.section, entry.key, entry.value) || added;
        }
    }
    if (added) {
        try {
            mine.UpdateFile();
        } catch (const std::exception&) {
            return false; // the next save of the user's file reports why
        }
    }
    return added;
}

bool IsSystemProgramFolder(const QString& folder) {
    static const QStringList systemFolders = {
        "/bin", "/sbin", "/usr/bin", "/usr/sbin", "/usr/games", "/usr/local/bin", "/usr/local/sbin",
    };
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QString given = QDir::cleanPath(folder);
    for (const QString& systemFolder : systemFolders) {
        if (given == systemFolder || canonical == QFileInfo(systemFolder).canonicalFilePath()) {
            return true;
        }
    }
    return false;
}

ProgramPaths PathsForProgram(const QString& programFile) {
    const QFileInfo info(programFile);
    ProgramPaths paths;
    paths.programFolder = WithTrailingSeparator(info.absolutePath());
    paths.settingsFolder = paths.programFolder;
    paths.programSettingsFile = paths.programFolder + info.completeBaseName() + ".dat";
    if (IsSystemProgramFolder(info.absolutePath()) || !FolderIsWritable(paths.programFolder)) {
        const QString configuration =
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QDir().mkpath(configuration);
        const QString besideProgram = paths.programSettingsFile;
        paths.programSettingsFile =
            WithTrailingSeparator(configuration) + info.completeBaseName() + ".dat";
        CarryOverProgramSettings(besideProgram, paths.programSettingsFile);
        // A fresh home may have no documents folder; a dialog cannot start in it.
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        paths.settingsFolder = WithTrailingSeparator(
            documents.isEmpty() || !QFileInfo(documents).isDir() ? QDir::homePath() : documents);
    }
    return paths;
}

ProgramPaths& CurrentPaths() {
    static ProgramPaths paths;
    return paths;
}
