#include "ProgramPaths.h"

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

ProgramPaths PathsForProgram(const QString& programFile) {
    const QFileInfo info(programFile);
    ProgramPaths paths;
    paths.programFolder = WithTrailingSeparator(info.absolutePath());
    paths.settingsFolder = paths.programFolder;
    paths.programSettingsFile = paths.programFolder + info.completeBaseName() + ".dat";
    if (!FolderIsWritable(paths.programFolder)) {
        const QString configuration =
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QDir().mkpath(configuration);
        paths.programSettingsFile =
            WithTrailingSeparator(configuration) + info.completeBaseName() + ".dat";
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
