// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "editor/EditorModel.h"
#include "link/UnitThread.h"
#include "model/MemoryMap.h"
#include "ui/OwnerDrawnMenu.h"

#include <QDialog>
#include <QFont>
#include <QImage>
#include <QKeySequence>

#include <array>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

class ColourButton;
class ColourLabel;
class DurationField;
class OwnerDrawnMenu;
class PaintBox;
class Panel;
class QPainter;
class QButtonGroup;
class QCheckBox;
class QAction;
class QComboBox;
class QMenu;
class QScrollArea;
class QTimer;
class QWidget;
struct SettingsFileContent;

// The editor window: one opened panel, its 16 channel strips, the live state and
// the configuration. The device list window hides itself while it is shown; no
// other window is blocked (the virtual panels stay live). What the editor knows
// and every editing rule live in its EditorModel; the window forwards input to
// the model, posts the blocks it gives and draws what it holds.
class TFormEdit : public QDialog {
    Q_OBJECT
public:
    // `testButtonShown`: the program was started with "test" as its first argument.
    explicit TFormEdit(bool testButtonShown, QWidget* parent = nullptr);
    ~TFormEdit() override;

    void SetChannelMask(const QString& maskText);
    void GoOffline();
    // Starts the link to the opened panel; the editor reads its configuration.
    void StartLink();
    void GoOnline();
    // A settings file the program was started with: each time a panel is opened
    // it is compared with the panel, and the user may load it ("Compare with File").
    void OfferFileWhenOnline(QString path);
    TDeviceThread& DeviceThread() { return *deviceThread_; }
    const EditorModel& Model() const { return model_; }

    // Live status display.
    void ApplyConfiguration(const ConfigBlock& block);
    void ShowStatus(const StatusBlock& status);
    void SendConfiguration();

    // How a pause step of the panel test waits: on the window's thread, blocking it.
    void SetTestPause(std::function<void(std::chrono::milliseconds)> pause);
    // The memory map as last drawn, and the cell under the mouse (row 0: none).
    const QImage& MemoryMapImage() const { return memoryBitmap_; }
    std::pair<int, int> MemoryHover() const { return {hoverRow_, hoverColumn_}; }

    // Channel operations (ChannelOperations.cpp).
    void BtnAny1Click(ColourButton* button);
    void BtnFix1Click(ColourButton* button);
    void BtnPls1Click(ColourButton* button);
    void BoxGrp1Click(QComboBox* box);
    void EditMs1ButtonClick(DurationField* field);
    void MMenuPopup(ColourButton* source);
    void MMenuCAClick();
    void MMenuCGClick();
    void DMenuPopup(DurationField* source);
    void DMenuCAClick();
    void DMenuCGClick();

    // Control options and the panel test (ControlOptions.cpp, TestMode.cpp).
    void CtrlMenu1Popup();
    void CtrlMenu1NoneClick(QAction* item);
    void CtrlMenu2Popup();
    void CtrlMenu2NoneClick(QAction* item);
    void BoxSaveClick();
    void BoxLockClick();
    void PanTempDblClick(Qt::KeyboardModifiers modifiers);
    void BtnTestClick();
    void TimerTestTimer();

    // Colour editing (ColourEditing.cpp).
    QSize CMenuItemMeasureItem() const;
    void CMenuItemDrawItem(QPainter& painter, const QRect& area, int slot, bool selected) const;
    void CMenuItemClick(QAction* item);
    void BMenuPopup();
    void BMenu100Click(QAction* item);
    void SMenuCAClick();
    void SMenuCGClick();
    void SMenuSAClick();
    void SMenuSGClick();
    void IndC0Paint(const PaintBox* indicator, QPainter& painter) const;
    // The signal state and channel of the control that opened `menu`.
    std::pair<int, int> PopupTarget(const QMenu* menu) const;
    void SetPopupOpener(QMenu* menu, const QObject* opener);

    // Memory map (MemoryMapView.cpp).
    void DrawMemoryMap();
    // The font of the slots' names, small enough for the longest in this language.
    QFont SlotLabelFont() const;
    void PBoxMemMouseMove(const QPoint& at);
    void PBoxMemMouseDown(const QPoint& at);
    void PanMemDrawMouseLeave();
    void BtnMemClick();

    // Load and Save menus (SettingsFileMenus.cpp).
    void MenuLoadFileClick();
    void MenuLoadDefaultClick();
    void MenuLoadFactoryClick();
    void MenuSaveFileClick();
    void MenuSaveDefaultClick();

    // History and comparison (EditHistoryMenus.cpp).
    void MenuUndoClick();
    void MenuRedoClick();
    void MenuRevertClick();
    void MenuCompareClick();
    void CompareWithOfferedFile();
    // The differences between the panel and `file`, read from `path`, with the
    // choice to load it.
    void OfferDifferences(const QString& path, const SettingsFileContent& file);

    void done(int result) override;
    // The editor's size within `workArea`: its whole canvas where that fits,
    // scroll bars where it does not.
    void FitToWorkArea(const QRect& workArea);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Construction (EditorLayout.cpp): builds every control with its name and place.
    void BuildLayout();
    void BuildLegendColumn(Panel* column);
    void BuildChannelColumn(Panel* column, int channel);
    void BuildControlPanel(Panel* panel);
    void BuildCommandPanel(Panel* panel);
    void BuildMemoryPanel();
    void BuildMenus();
    void SetCanvasHeight(int height);
    void FillStripTables();
    void SetUpStrip(int channel);
    void ConnectHandlers();
    // Each named menu item's `triggered` to its handler.
    using Handler = void (TFormEdit::*)();
    void ConnectMenuItems(std::initializer_list<std::pair<const char*, Handler>> items);
    // Keys that work from every control of the window.
    void AddWindowKeys(std::initializer_list<std::pair<QKeySequence, Handler>> keys);

    // Names and tooltips for screen readers (Accessibility.cpp).
    void NameControls();
    // The memory map's value: the cell under the keyboard's cursor.
    void SpeakMemoryCursor();

    // Keyboard use (KeyboardUse.cpp).
    void ConnectKeyboard();
    void LoadFileKey();
    void SaveFileKey();
    void ShowTestButton();
    // Shift+F10 and the Menu key: the context menu of the focused control.
    void OpenFocusedContextMenu();
    // The controls Tab visits: each area (strips, control, commands, memory
    // map) row by row.
    void CollectTabOrder();
    // Arrows move the memory map's cursor, Space toggles its cell.
    bool MemoryMapKey(int key);
    void MemoryMapFocusChanged(bool focused);

    // Link events (LiveStatus.cpp).
    void MsgLinkReplyHandler(std::uint8_t replyCode, const std::vector<std::uint8_t>& payload);
    void MsgLinkEndedHandler();
    void SetFunctionKeyButton(ColourButton* button, QMenu* menu, int function);
    // Posts what an edit gave, if anything.
    void Post(const PostedBlock& block);
    // Draws the model's configuration: options, strips, colours, keys, memory map.
    void ShowConfiguration();
    void ShowModes();
    void ShowColours(int channel);

    // Direct channel commands and housekeeping (ChannelOperations.cpp).
    void BtnGPO1MouseDown(ColourButton* button);
    void BtnGPO1MouseUp(ColourButton* button);
    void BtnGPO1KeyDown(ColourButton* button);
    void BtnGPO1KeyUp(ColourButton* button);
    void PressGpio(ColourButton* button);
    // The held GPIO output is released, on the channel that was pressed, when the
    // button is let go, the focus leaves it, the window loses activation or the
    // editor closes.
    void ReleaseHeldGpio();
    void BtnOffClick();
    void TimerBtnsTimer();
    void ChooseMode(ColourButton* button, int mode);
    void PropagateMode(bool sameGroupOnly);
    void PropagateDuration(bool sameGroupOnly);
    void ConnectChannelOperations();
    void ConnectControlOptions();
    void ConnectColourEditing();
    void ConnectSettingsFileMenus();
    void ConnectHistory();
    // Undo and Redo name the step they take back or do again.
    void ShowHistoryItems();
    // After the panel test: the configuration from before it, if the user wants it.
    void OfferConfigurationBeforeTest();
    void SendLoadedBlock(const ConfigBlock& block, const QString& name);
    // Files fail in many ways; each is told in one message box and changes nothing.
    void ReportingFileErrors(const std::function<void()>& operation);
    void CopyColours(bool allStates, bool sameGroupOnly);

    // Panel test (TestMode.cpp).
    void RunTestStep(const TestStep& step);
    // Stops the panel test (its remaining steps are kept) and releases what it pressed.
    void EndPanelTest();
    // Every end of the test (its own, STOP, Close, Escape): every GPIO output off,
    // and the question whether to restore the configuration from before it.
    void FinishPanelTest();

    // Memory map (MemoryMapView.cpp).
    void RefreshMemoryMap();
    void ClearMemoryHover();
    void ConnectMemoryMap();

    void PanNClick();
    void BtnCloseClick();
    // Escape closes an open drop-down, popup or menu first, the editor only then.
    void EscapePressed();
    // Before the editor closes: the edit still waiting and every posted command
    // reach the panel, within the link's own time-outs.
    void FinishPendingWork();
    void SetModeButtonsExclusive(bool exclusive);

    EditorModel model_;
    std::unique_ptr<TDeviceThread> deviceThread_;
    std::function<void(std::chrono::milliseconds)> testPause_;
    bool updating_ = false; // program changes of the check boxes send nothing
    QString offeredFile_;
    bool closing_ = false;
    // This Escape was pressed while one of the editor's popups was open.
    bool escapeClosesPopup_ = false;
    int hoverRow_ = 0;
    int hoverColumn_ = 0;
    int memoryButtonOffset_ = 0;
    MemoryMapLayout memoryLayout_;
    // Worked out at the first drawing: the layout and the language are fixed by then.
    std::optional<QFont> slotLabelFont_;
    QImage memoryBitmap_;
    std::array<QButtonGroup*, ChannelCount + 1> modeGroups_{};
    ColourButton* modeMenuSource_ = nullptr;
    DurationField* durationMenuSource_ = nullptr;

    // Strip tables, index = channel 1..16 (index 0: the legend where it has one).
    std::array<Panel*, ChannelCount + 1> columns_{};
    std::array<Panel*, ChannelCount + 1> numberCells_{};
    std::array<Panel*, ChannelCount + 1> gpioCells_{};
    std::array<ColourLabel*, ChannelCount + 1> gpioLabels_{};
    std::array<ColourLabel*, ChannelCount + 1> gpiLabels_{};
    std::array<ColourButton*, ChannelCount + 1> gpioButtons_{};
    std::array<QComboBox*, ChannelCount + 1> groupBoxes_{};
    std::array<ColourButton*, ChannelCount + 1> freeButtons_{};
    std::array<ColourButton*, ChannelCount + 1> fixedButtons_{};
    std::array<ColourButton*, ChannelCount + 1> pulseButtons_{};
    std::array<DurationField*, ChannelCount + 1> durationFields_{};
    std::array<std::array<ColourButton*, ChannelCount + 1>, 4> colourButtons_{};
    std::array<PaintBox*, 4> indicators_{};

    // Controls outside the strips, by their names.
    Panel* PanN = nullptr;
    ColourButton* BtnClose = nullptr;
    ColourButton* BtnOff = nullptr;
    ColourButton* BtnLoad = nullptr;
    ColourButton* BtnSave = nullptr;
    ColourButton* BtnTest = nullptr;
    ColourButton* BtnMem = nullptr;
    ColourButton* BtnCtrl1 = nullptr;
    ColourButton* BtnCtrl2 = nullptr;
    QCheckBox* BoxSave = nullptr;
    QCheckBox* BoxLock = nullptr;
    ColourLabel* LabLock = nullptr;
    std::vector<QWidget*> tabOrder_; // every control Tab can reach, as the eye reads them
    QScrollArea* scrollArea_ = nullptr;
    QWidget* canvas_ = nullptr;
    Panel* PanBack = nullptr;
    Panel* PanCtrl = nullptr;
    Panel* PanTemp = nullptr;
    Panel* PanMemBack = nullptr;
    PaintBox* PBoxMem = nullptr;
    Panel* PanMemDraw = nullptr;
    OwnerDrawnMenu* CMenu = nullptr;
    QMenu* BMenu = nullptr;
    QMenu* SMenu = nullptr;
    QMenu* MMenu = nullptr;
    QMenu* DMenu = nullptr;
    QMenu* CtrlMenu1 = nullptr;
    QMenu* CtrlMenu2 = nullptr;
    QMenu* MenuLoad = nullptr;
    QMenu* MenuSave = nullptr;
    QTimer* TimerBtns = nullptr;
    QTimer* TimerTest = nullptr;
};

// The name of the colour button of a signal state on a channel; channel 0: the
// legend's button of that state.
QString ColourButtonName(int state, int channel);

// Tag of a channel control: channel in the low 16 bits, mode or state in the high.
int TagOf(const QObject* control);
void SetTag(QObject* control, int tag);
