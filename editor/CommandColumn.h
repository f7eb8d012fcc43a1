// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "editor/EditorModes.h"
#include "ui/Panel.h"

#include <functional>
#include <vector>

class ColourButton;
class QAction;
class QMenu;

// The commands right of the control panel ("PanTemp"): Close, GPIO switch off,
// the Load and Save menus (files, default and factory values, compare, undo,
// redo, revert), TEST and MEMORY.
class CommandColumn : public Panel {
    Q_OBJECT
public:
    CommandColumn(bool testButtonShown, QWidget* parent);

    // Each command usable as the editor answers its input; a menu item it
    // refuses says why in its tooltip.
    void ShowAnswers(const std::function<InputAnswer(EditorInput)>& decide);
    // The step Undo and Redo take back or do again; empty: none.
    void ShowHistoryNames(const QString& undoName, const QString& redoName);
    void ShowTestRunning(bool running);
    void ShowTestButton();
    // MEMORY or HIDE; the column reaches down to `height`, MEMORY at its foot.
    void ShowMemoryMapShown(bool shown, int height);
    std::vector<QWidget*> FocusableControls() const;

signals:
    void CloseClicked();
    void OffClicked();
    void TestClicked();
    void MemoryClicked();
    // A Load or Save menu item.
    void InputChosen(EditorInput input);
    void LoadMenuOpening();

private:
    void BuildMenus();

    ColourButton* close_ = nullptr;
    ColourButton* off_ = nullptr;
    ColourButton* load_ = nullptr;
    ColourButton* save_ = nullptr;
    ColourButton* test_ = nullptr;
    ColourButton* memory_ = nullptr;
    QMenu* loadMenu_ = nullptr;
    QMenu* saveMenu_ = nullptr;
    std::vector<std::pair<QAction*, EditorInput>> items_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    int memoryButtonOffset_ = 0; // from the column's foot
};
