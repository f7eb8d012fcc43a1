// SPDX-License-Identifier: Apache-2.0
// The Load and Save menus: `.gpi` settings files, the user's default values and
// the factory settings. A load replaces the editor's block and sends it; the
// panel's read-back then refreshes the window.
#include "editor/UnitGPI.h"

#include "editor/SettingsFileDialogs.h"
#include "model/ProgramPaths.h"
#include "model/SettingsFiles.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QFileInfo>

#include <stdexcept>

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

void TFormEdit::SendLoadedBlock(const ConfigBlock& block, const QString& name) {
    deviceThread_->PostWriteConfig(model_.LoadBlock(block, name));
}

void TFormEdit::ReportingFileErrors(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const std::exception& error) {
        Dialogs::ShowMessage(this, QString::fromStdString(error.what()), tr("Error"),
                             Dialogs::Icon::Error);
    }
}

void TFormEdit::MenuLoadFileClick() {
    if (model_.Decide(EditorInput::LoadFile).Refused()) {
        return;
    }
    ReportingFileErrors([&] {
        SettingsFileContent file{model_.Configuration(), {}};
        LoadSettingsFile(this, file);
        // Also after a cancel: the panel then gets its own configuration again.
        SendLoadedBlock(file.block, tr("Load from File"));
    });
}

void TFormEdit::MenuLoadDefaultClick() {
    if (model_.Decide(EditorInput::LoadDefault).Refused() ||
        !Dialogs::Confirm(this, tr("Load Default values?"))) {
        return;
    }
    ReportingFileErrors([&] {
        ConfigBlock block = model_.Configuration();
        LoadDefaultValues(block, CurrentPaths().programSettingsFile);
        SendLoadedBlock(block, tr("Load Default values"));
    });
}

void TFormEdit::MenuLoadFactoryClick() {
    if (model_.Decide(EditorInput::LoadFactory).Refused() ||
        !Dialogs::Confirm(this, tr("Load Factory settings?"))) {
        return;
    }
    ConfigBlock block;
    LoadFactoryValues(block);
    SendLoadedBlock(block, tr("Load Factory Settings"));
}

void TFormEdit::MenuSaveFileClick() {
    if (model_.Decide(EditorInput::SaveFile).Refused()) {
        return;
    }
    ReportingFileErrors([&] { SaveSettingsFile(this, model_.Configuration()); });
}

void TFormEdit::MenuSaveDefaultClick() {
    if (model_.Decide(EditorInput::SaveDefault).Refused() ||
        !Dialogs::Confirm(this, tr("Overwrite Default values?"))) {
        return;
    }
    ReportingFileErrors(
        [&] { SaveDefaultValues(model_.Configuration(), CurrentPaths().programSettingsFile); });
}
