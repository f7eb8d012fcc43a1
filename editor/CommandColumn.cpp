// SPDX-License-Identifier: Apache-2.0
#include "editor/CommandColumn.h"

#include "editor/EditorControls.h"
#include "editor/EditorGeometry.h"
#include "ui/ColourButton.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

CommandColumn::CommandColumn(bool testButtonShown, QWidget* parent) : Panel(parent) {
    setObjectName("PanTemp");
    setGeometry(1058, 0, EditorGeometry::CommandColumnWidth, EditorGeometry::ChannelAreaHeight);
    BuildMenus();
    close_ = MakeCommandButton(this, "BtnClose", tr("Close"), QRect(10, 5, 71, 24));
    Panel* offCell = MakePanel(this, "PanOff", QRect(0, 36, 91, 52));
    off_ = MakeCommandButton(offCell, "BtnOff", tr("GPIO\r\nSwitch off"), QRect(10, 7, 71, 38));
    load_ = MakeCommandButton(this, "BtnLoad", tr("Load..."), QRect(10, 113, 70, 38));
    load_->setMenu(loadMenu_);
    save_ = MakeCommandButton(this, "BtnSave", tr("Save..."), QRect(10, 161, 70, 38));
    save_->setMenu(saveMenu_);
    test_ = MakeCommandButton(this, "BtnTest", tr("TEST"), QRect(10, 246, 71, 38));
    test_->setVisible(testButtonShown);
    memory_ = MakeCommandButton(this, "BtnMem", tr("MEMORY"), QRect(10, 352, 71, 26));
    memoryButtonOffset_ = height() - memory_->y();

    close_->setToolTip(tr("Close the editor (Ctrl+W)"));
    off_->setToolTip(tr("Switch every GPIO output of the panel off"));
    load_->setToolTip(tr("Load a configuration onto the panel (Ctrl+O: from a file)"));
    save_->setToolTip(tr("Save the panel's configuration (Ctrl+S: to a file)"));
    test_->setToolTip(tr("Run every light of the panel through its colours"));
    memory_->setToolTip(tr("Show or hide the memory map"));

    connect(close_, &QPushButton::clicked, this, &CommandColumn::CloseClicked);
    connect(off_, &QPushButton::clicked, this, &CommandColumn::OffClicked);
    connect(test_, &QPushButton::clicked, this, &CommandColumn::TestClicked);
    connect(memory_, &QPushButton::clicked, this, &CommandColumn::MemoryClicked);
    ForwardClicks(*this, {offCell});
}

void CommandColumn::BuildMenus() {
    loadMenu_ = MakeMenu(this, "MenuLoad");
    saveMenu_ = MakeMenu(this, "MenuSave");
    const auto add = [this](QMenu* menu, const char* name, const QString& caption,
                            EditorInput input) {
        QAction* item = AddMenuItem(menu, name, caption);
        connect(item, &QAction::triggered, this, [this, input] { emit InputChosen(input); });
        items_.emplace_back(item, input);
        return item;
    };
    add(loadMenu_, "MenuLoadFile", tr("from File..."), EditorInput::LoadFile);
    add(loadMenu_, "MenuLoadDefault", tr("Default values"), EditorInput::LoadDefault);
    add(loadMenu_, "MenuLoadFactory", tr("Factory Settings"), EditorInput::LoadFactory);
    loadMenu_->addSeparator();
    add(loadMenu_, "MenuCompare", tr("Compare with File..."), EditorInput::Compare);
    loadMenu_->addSeparator();
    undo_ = add(loadMenu_, "MenuUndo", tr("Undo"), EditorInput::Undo);
    redo_ = add(loadMenu_, "MenuRedo", tr("Redo"), EditorInput::Redo);
    add(loadMenu_, "MenuRevert", tr("Revert to the configuration read at open"),
        EditorInput::Revert);
    add(saveMenu_, "MenuSaveFile", tr("to File..."), EditorInput::SaveFile);
    add(saveMenu_, "MenuSaveDefault", tr("as Default"), EditorInput::SaveDefault);
    // A refused item says why.
    loadMenu_->setToolTipsVisible(true);
    saveMenu_->setToolTipsVisible(true);
    connect(loadMenu_, &QMenu::aboutToShow, this, &CommandColumn::LoadMenuOpening);
}

void CommandColumn::ShowAnswers(const std::function<InputAnswer(EditorInput)>& decide) {
    bool loadUsable = false;
    bool saveUsable = false;
    for (const auto& [item, input] : items_) {
        const InputAnswer answer = decide(input);
        item->setEnabled(!answer.Refused());
        item->setToolTip(answer.reason);
        const bool usable = !answer.Refused();
        (item->parent() == saveMenu_ ? saveUsable : loadUsable) |= usable;
    }
    load_->setEnabled(loadUsable);
    save_->setEnabled(saveUsable);
    off_->setEnabled(!decide(EditorInput::GpioOff).Refused());
    test_->setEnabled(!decide(EditorInput::StartTest).Refused() ||
                      !decide(EditorInput::StopTest).Refused());
    memory_->setEnabled(!decide(EditorInput::Edit).Refused());
    close_->setEnabled(!decide(EditorInput::Close).Refused());
}

void CommandColumn::ShowHistoryNames(const QString& undoName, const QString& redoName) {
    // The keys are the window's own: the items only name them after a tab, which
    // the menu shows in its key column. As the items' shortcuts they would be
    // ambiguous with the window's whenever "Load..." has the focus.
    const QString undoKey = QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText);
    const QString redoKey = QKeySequence("Ctrl+Shift+Z").toString(QKeySequence::NativeText);
    undo_->setText((undoName.isEmpty() ? tr("Undo") : tr("Undo %1").arg(undoName)) + "\t" +
                   undoKey);
    redo_->setText((redoName.isEmpty() ? tr("Redo") : tr("Redo %1").arg(redoName)) + "\t" +
                   redoKey);
}

void CommandColumn::ShowTestRunning(bool running) {
    test_->SetCaption(running ? tr("STOP") : tr("TEST"));
}

void CommandColumn::ShowTestButton() {
    test_->show();
}

void CommandColumn::ShowMemoryMapShown(bool shown, int height) {
    resize(width(), height);
    memory_->SetCaption(shown ? tr("HIDE") : tr("MEMORY"));
    memory_->move(memory_->x(), height - memoryButtonOffset_);
}

std::vector<QWidget*> CommandColumn::FocusableControls() const {
    return {close_, off_, load_, save_, test_, memory_};
}
