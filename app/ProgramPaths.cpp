#include "ProgramPaths.h"

#include <QDir>
#include <QFileInfo>

QString WithTrailingSeparator(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith('/') || folder.endsWith(QDir::separator())) {
        return folder;
    }
    return folder + '/';
}

ProgramPaths PathsForProgram(const QString& programFile) {
    const QFileInfo info(programFile);
    ProgramPaths paths;
    paths.programFolder = WithTrailingSeparator(info.absolutePath());
    paths.settingsFolder = paths.programFolder;
    paths.programSettingsFile = paths.programFolder + info.completeBaseName() + ".dat";
    return paths;
}

ProgramPaths& CurrentPaths() {
    static ProgramPaths paths;
    return paths;
}
