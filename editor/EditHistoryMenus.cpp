// SPDX-License-Identifier: Apache-2.0
// Undo, redo, revert and compare: items of the Load menu (the keys Ctrl+Z,
// Ctrl+Shift+Z and Ctrl+Y are the window's), and after the panel test the offer
// to restore what the panel held before it.
#include "editor/UnitGPI.h"

#include "editor/CommandColumn.h"

#include "editor/ComparedValues.h"
#include "editor/SettingsFileDialogs.h"
#include "model/RegularFile.h"
#include "model/SettingsFiles.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>

void TFormEdit::ShowHistoryItems() {
    const EditHistory& history = model_.History();
    commands_->ShowHistoryNames(history.CanUndo() ? history.NextUndo().name : QString(),
                                history.CanRedo() ? history.NextRedo().name : QString());
    commands_->ShowAnswers([this](EditorInput input) { return model_.Decide(input); });
}

void TFormEdit::MenuUndoClick() {
    Post(model_.Undo());
}

void TFormEdit::MenuRedoClick() {
    Post(model_.Redo());
}

void TFormEdit::MenuRevertClick() {
    Post(model_.Revert());
}

void TFormEdit::MenuCompareClick() {
    if (model_.Decide(EditorInput::Compare).Refused()) {
        return;
    }
    ReportingFileErrors([&] {
        SettingsFileContent file;
        // A file without settings is no file to compare with, nor to load.
        if (const std::optional<QString> path = LoadSettingsFile(this, file, true)) {
            OfferDifferences(*path, file);
        }
    });
}

void TFormEdit::OfferFileWhenOnline(QString path) {
    offeredFile_ = std::move(path);
}

void TFormEdit::CompareWithOfferedFile() {
    if (model_.Decide(EditorInput::Compare).Refused() || offeredFile_.isEmpty()) {
        return;
    }
    ReportingFileErrors([&] {
        OfferDifferences(offeredFile_, ReadSettingsFileContent(FilePath(offeredFile_), true));
    });
}

void TFormEdit::OfferDifferences(const QString& path, const SettingsFileContent& file) {
    const QStringList lines = ComparedLines(model_.Configuration(), file.block, file.outOfRange);
    if (Dialogs::ShowDifferences(this, DisplayName(FilePath(path)), lines)) {
        SendLoadedBlock(file.block, tr("Load from File"));
    }
}

void TFormEdit::OfferConfigurationBeforeTest() {
    if (!model_.Decide(EditorInput::RestoreBeforeTest).Refused() &&
        Dialogs::Confirm(this, tr("Restore the configuration from before the test?"))) {
        Post(model_.RestoreBeforeTest());
    }
}
