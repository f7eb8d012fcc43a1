// SPDX-License-Identifier: Apache-2.0
#include "editor/SettingsFileDialogs.h"

#include "model/ProgramPaths.h"
#include "model/RegularFile.h"
#include "ui/Dialogs.h"

#include <QFileInfo>

namespace {

void FollowChosenFile(const QString& path) {
    CurrentPaths().settingsFolder = WithTrailingSeparator(QFileInfo(path).absolutePath());
}

} // namespace

std::optional<QString> LoadSettingsFile(QWidget* owner, SettingsFileContent& content,
                                        bool mustHoldSettings) {
    const auto path =
        Dialogs::ChooseFile(owner, Dialogs::FileDialog::Open, CurrentPaths().settingsFolder);
    if (path) {
        content = ReadSettingsFileContent(FilePath(*path), mustHoldSettings);
        FollowChosenFile(*path);
    }
    return path;
}

bool SaveSettingsFile(QWidget* owner, const ConfigBlock& block) {
    const auto path =
        Dialogs::ChooseFile(owner, Dialogs::FileDialog::Save, CurrentPaths().settingsFolder);
    if (!path) {
        return false;
    }
    WriteSettingsFile(FilePath(*path), block);
    FollowChosenFile(*path);
    return true;
}
