#pragma once

#include "link/UnitThread.h"
#include "model/DeviceBlocks.h"
#include "model/MemoryMap.h"
#include "model/TestScript.h"
#include "model/UnitProcs.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <chrono>
#include <functional>
#include <memory>

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
class QTimer;
class QWidget;

// The editor window: one opened panel, its 16 channel strips, the live state and
// the configuration. The device list window hides itself while it is shown; no
// other window is blocked (the virtual panels stay live).
class TFormEdit : public QDialog {
    Q_OBJECT
public:
    // `testButtonShown`: the program was started with "test" as its first argument.
    explicit TFormEdit(bool testButtonShown, QWidget* parent = nullptr);
    ~TFormEdit() override;

    void SetChannelMask(const QString& maskText);
    void GoOffline();
    void GoOnline();
    TDeviceThread& DeviceThread() { return *deviceThread_; }

    // Live status display.
    void ApplyConfiguration(const ConfigBlock& block);
    void ShowStatus(const StatusBlock& status);
    void SendConfiguration();

    // Editor data, read by the other parts and by tests.
    ChannelFlags ChannelPresent{};
    bool Online = false;
    ConfigBlock Configuration{};
    std::array<std::array<ColourEntry, ChannelCount + 1>, 4> ColourEntries{};
    std::array<std::array<bool, ChannelCount + 1>, ChannelCount + 1> MemoryLinks{};
    std::array<bool, ChannelCount + 1> MemoryEnabled{};
    bool SendPending = false;
    bool ConfigReceived = true;
    bool Updating = false;
    int HoverRow = 0;
    int HoverColumn = 0;
    int MemoryButtonOffset = 0;
    MemoryMapLayout MemoryLayout;
    QImage MemoryBitmap;
    // The panel test's remaining steps; null when no test was prepared.
    std::unique_ptr<TestScript> TestSteps;
    // How a pause step of the panel test waits: on the window's thread, blocking it.
    std::function<void(std::chrono::milliseconds)> TestPause;

    // Strip tables, index = channel 1..16 (index 0: the legend where it has one).
    std::array<Panel*, ChannelCount + 1> Columns{};
    std::array<Panel*, ChannelCount + 1> NumberCells{};
    std::array<Panel*, ChannelCount + 1> GpioCells{};
    std::array<ColourLabel*, ChannelCount + 1> GpioLabels{};
    std::array<ColourLabel*, ChannelCount + 1> GpiLabels{};
    std::array<ColourButton*, ChannelCount + 1> GpioButtons{};
    std::array<QComboBox*, ChannelCount + 1> GroupBoxes{};
    std::array<ColourButton*, ChannelCount + 1> FreeButtons{};
    std::array<ColourButton*, ChannelCount + 1> FixedButtons{};
    std::array<ColourButton*, ChannelCount + 1> PulseButtons{};
    std::array<DurationField*, ChannelCount + 1> DurationFields{};
    std::array<std::array<ColourButton*, ChannelCount + 1>, 4> ColourButtons{};
    std::array<PaintBox*, 4> Indicators{};

    // Channel operations (ChannelOperations.cpp).
    void BtnAny1Click(ColourButton* button);
    void BtnFix1Click(ColourButton* button);
    void BtnPls1Click(ColourButton* button);
    void BoxGrp1Click();
    void EditMs1ButtonClick();
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
    void BuildTestScript();
    void ClearTestScript();
    void RunTestStep();
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
    void RefreshMemoryMap();
    void ClearMemoryHover();
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

    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Construction (EditorLayout.cpp): builds every control with its name and place.
    void BuildLayout();
    void BuildLegendColumn(Panel* column);
    void BuildChannelColumn(Panel* column, int channel);
    void BuildControlPanel(Panel* panel);
    void BuildCommandPanel(Panel* panel);
    void BuildMemoryPanel();
    void BuildMenus();
    void FillStripTables();
    void ConnectHandlers();

    // Link events (LiveStatus.cpp).
    void MsgLinkReplyHandler(std::uint8_t replyCode, const std::vector<std::uint8_t>& payload);
    void MsgLinkEndedHandler();
    void SetFunctionKeyButton(ColourButton* button, QMenu* menu, int function);

    // Direct channel commands and housekeeping (ChannelOperations.cpp).
    void BtnGPO1MouseDown(ColourButton* button);
    void BtnGPO1MouseUp(ColourButton* button);
    void BtnGPO1KeyDown(ColourButton* button);
    void BtnGPO1KeyUp(ColourButton* button);
    void BtnOffClick();
    void TimerBtnsTimer();
    void PutModeDown(int channel, int mode);
    void PropagateMode(bool sameGroupOnly);
    void PropagateDuration(bool sameGroupOnly);
    void ChooseKeyFunction(std::size_t field, const QAction* item);
    // Channels whose group box shows the same item as the given channel's.
    bool SameGroup(int channel, int source) const;
    void ConnectChannelOperations();
    void ConnectControlOptions();
    void ConnectColourEditing();
    void ConnectSettingsFileMenus();
    void SendLoadedBlock(const ConfigBlock& block);
    template <typename Operation>
    void ReportingFileErrors(Operation operation);
    void CopyColours(bool allStates, bool sameGroupOnly);

    void PanNClick();
    void BtnCloseClick();
    // Escape closes an open drop-down, popup or menu first, the editor only then.
    void EscapePressed();
    // Stops the panel test (its remaining steps are kept) and releases what it pressed.
    void EndPanelTest();
    // Before the editor closes: the edit still waiting and every posted command
    // reach the panel, within the link's own time-outs.
    void FinishPendingWork();
    void SetModeButtonsExclusive(bool exclusive);
    void ConnectMemoryMap();

    std::unique_ptr<TDeviceThread> deviceThread_;
    std::array<QButtonGroup*, ChannelCount + 1> modeGroups_{};
    ColourButton* modeMenuSource_ = nullptr;
    DurationField* durationMenuSource_ = nullptr;
    bool closing_ = false;
    // This Escape was pressed while one of the editor's popups was open.
    bool escapeClosesPopup_ = false;

public:
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
    Panel* PanBack = nullptr;
    Panel* PanCtrl = nullptr;
    Panel* PanTemp = nullptr;
    Panel* PanMemBack = nullptr;
    PaintBox* PBoxMem = nullptr;
    QWidget* PanMemDraw = nullptr;
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

// Tag of a channel control: channel in the low 16 bits, mode or state in the high.
int TagOf(const QObject* control);
void SetTag(QObject* control, int tag);
