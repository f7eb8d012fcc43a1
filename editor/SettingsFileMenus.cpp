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

bool LoadSettingsFile(QWidget* owner, ConfigBlock& block) {
    const auto path = Dialogs::ChooseSettingsFile(owner, Dialogs::FileDialog::Open,
                                                  CurrentPaths().settingsFolder);
    if (!path) {
        return false;
    }
    block = ReadSettingsFile(FilePath(*path));
    FollowChosenFile(*path);
    return true;
}

bool SaveSettingsFile(QWidget* owner, const ConfigBlock& block) {
    const auto path = Dialogs::ChooseSettingsFile(owner, Dialogs::FileDialog::Save,
                                                  CurrentPaths().settingsFolder);
    if (!path) {
        return false;
    }
    WriteSettingsFile(FilePath(*path), block);
    FollowChosenFile(*path);
    return true;
}

void TFormEdit::ConnectSettingsFileMenus() {
    const std::pair<const char*, void (TFormEdit::*)()> items[] = {
        {"MenuLoadFile", &TFormEdit::MenuLoadFileClick},
        {"MenuLoadDefault", &TFormEdit::MenuLoadDefaultClick},
        {"MenuLoadFactory", &TFormEdit::MenuLoadFactoryClick},
        {"MenuSaveFile", &TFormEdit::MenuSaveFileClick},
        {"MenuSaveDefault", &TFormEdit::MenuSaveDefaultClick},
    };
    for (const auto& [name, handler] : items) {
        connect(findChild<QAction*>(name), &QAction::triggered, this, handler);
    }
}

void TFormEdit::SendLoadedBlock(const ConfigBlock& block) {
    deviceThread_->PostWriteConfig(model_.LoadBlock(block));
}

// Files fail in many ways; each is told in one message box and changes nothing.
template <typename Operation>
void TFormEdit::ReportingFileErrors(Operation operation) {
    try {
        operation();
    } catch (const std::exception& error) {
        Dialogs::ShowMessage(this, QString::fromStdString(error.what()), "Error",
                             Dialogs::Icon::Error);
    }
}

void TFormEdit::MenuLoadFileClick() {
    if (!model_.Online()) {
        return;
    }
    ReportingFileErrors([&] {
        ConfigBlock block = model_.Configuration();
        LoadSettingsFile(this, block);
        // Also after a cancel: the panel then gets its own configuration again.
        SendLoadedBlock(block);
    });
}

void TFormEdit::MenuLoadDefaultClick() {
    if (!model_.Online() || !Dialogs::Confirm(this, "Load Default values?")) {
        return;
    }
    ReportingFileErrors([&] {
        ConfigBlock block = model_.Configuration();
        LoadDefaultValues(block, CurrentPaths().programSettingsFile);
        SendLoadedBlock(block);
    });
}

void TFormEdit::MenuLoadFactoryClick() {
    if (!model_.Online() || !Dialogs::Confirm(this, "Load Factory settings?")) {
        return;
    }
    ConfigBlock block;
    LoadFactoryValues(block);
    SendLoadedBlock(block);
}

void TFormEdit::MenuSaveFileClick() {
    if (!model_.Online()) {
        return;
    }
    ReportingFileErrors([&] { SaveSettingsFile(this, model_.Configuration()); });
}

void TFormEdit::MenuSaveDefaultClick() {
    if (!model_.Online() || !Dialogs::Confirm(this, "Overwrite Default values?")) {
        return;
    }
    ReportingFileErrors(
        [&] { SaveDefaultValues(model_.Configuration(), CurrentPaths().programSettingsFile); });
}
