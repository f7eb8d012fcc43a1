// SPDX-License-Identifier: Apache-2.0
// Undo, redo, revert and compare: items of the Load menu, the keys Ctrl+Z,
// Ctrl+Shift+Z and Ctrl+Y from every control, and after the panel test the
// offer to restore what the panel held before it.
#include "editor/UnitGPI.h"

#include "editor/ComparedValues.h"
#include "editor/SettingsFileDialogs.h"
#include "model/RegularFile.h"
#include "model/SettingsFiles.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>

void TFormEdit::ConnectHistory() {
    ConnectMenuItems({
        {"MenuUndo", &TFormEdit::MenuUndoClick},
        {"MenuRedo", &TFormEdit::MenuRedoClick},
        {"MenuRevert", &TFormEdit::MenuRevertClick},
        {"MenuCompare", &TFormEdit::MenuCompareClick},
    });
    AddWindowKeys({
        {QKeySequence::Undo, &TFormEdit::MenuUndoClick},
        {QKeySequence("Ctrl+Shift+Z"), &TFormEdit::MenuRedoClick},
        {QKeySequence("Ctrl+Y"), &TFormEdit::MenuRedoClick},
    });
    connect(MenuLoad, &QMenu::aboutToShow, this, &TFormEdit::ShowHistoryItems);
}

void TFormEdit::ShowHistoryItems() {
    const EditHistory& history = model_.History();
    const bool replayable = model_.Online() && !model_.TestRunning();
    auto* undo = findChild<QAction*>("MenuUndo");
    undo->setEnabled(replayable && history.CanUndo());
    // The keys are the window's own: the items only name them after a tab, which
    // the menu shows in its key column. As the items' shortcuts they would be
    // ambiguous with the window's whenever "Load..." has the focus.
    const QString undoKey = QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText);
    const QString redoKey = QKeySequence("Ctrl+Shift+Z").toString(QKeySequence::NativeText);
    undo->setText((history.CanUndo() ? tr("Undo %1").arg(history.NextUndo().name) : tr("Undo")) +
                  "\t" + undoKey);
    auto* redo = findChild<QAction*>("MenuRedo");
    redo->setEnabled(replayable && history.CanRedo());
    redo->setText((history.CanRedo() ? tr("Redo %1").arg(history.NextRedo().name) : tr("Redo")) +
                  "\t" + redoKey);
    findChild<QAction*>("MenuRevert")->setEnabled(replayable && model_.CanRevert());
    findChild<QAction*>("MenuCompare")->setEnabled(model_.Online());
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
    if (!model_.Online()) {
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
    if (!model_.Online() || offeredFile_.isEmpty()) {
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
    if (model_.Online() &&
        Dialogs::Confirm(this, tr("Restore the configuration from before the test?"))) {
        Post(model_.RestoreBeforeTest());
    }
}
