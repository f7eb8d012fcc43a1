// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "editor/EditorModel.h"
#include "link/UnitThread.h"

#include <QDialog>
#include <QKeySequence>

#include <array>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

class ChannelStrip;
class CommandColumn;
class ControlPanel;
class LegendColumn;
class MemoryMapView;
class Panel;
class QScrollArea;
class QTimer;
class StripMenus;
struct SettingsFileContent;

// The editor window: one opened panel, its 16 channel strips, the live state and
// the configuration. The device list window hides itself while it is shown; no
// other window is blocked (the virtual panels stay live). The window is made of
// parts that own their controls (the legend, sixteen channel strips, the control
// panel, the command column, the memory map and the strips' menus); it routes
// what they report to its EditorModel, which decides every input against the
// editor's mode, posts what the model gives and redraws the parts from it.
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
    // The opened panel's serial number.
    void SetPanelSerial(const QString& serial);
    // A settings file the program was started with: each time a panel is opened
    // it is compared with the panel, and the user may load it ("Compare with File").
    void OfferFileWhenOnline(QString path);
    TDeviceThread& DeviceThread() { return *deviceThread_; }
    const EditorModel& Model() const { return model_; }

    // The parts, for the picture tour, the soak and the tests.
    ChannelStrip& Strip(int channel) const { return *strips_[std::size_t(channel)]; }
    StripMenus& Menus() const { return *menus_; }
    MemoryMapView& MemoryMap() const { return *memoryMap_; }
    ControlPanel& Controls() const { return *controlPanel_; }

    // Live status display.
    void ApplyConfiguration(const ConfigBlock& block);
    void ShowStatus(const StatusBlock& status);
    void SendConfiguration();

    // How a pause step of the panel test waits: on the window's thread, blocking it.
    void SetTestPause(std::function<void(std::chrono::milliseconds)> pause);

    // The commands' handlers.
    void BtnOffClick();
    void BtnTestClick();
    void TimerTestTimer();
    void TimerBtnsTimer();
    void BtnMemClick();
    void PanTempDblClick(Qt::KeyboardModifiers modifiers);
    void MenuLoadFileClick();
    void MenuLoadDefaultClick();
    void MenuLoadFactoryClick();
    void MenuSaveFileClick();
    void MenuSaveDefaultClick();
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
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Composition.
    void BuildParts(bool testButtonShown);
    void ConnectParts();
    void SetCanvasHeight(int height);
    // Every control usable as the model answers its input in the present mode.
    void ShowMode();
    void PanNClick();
    void BtnCloseClick();
    // Escape closes an open drop-down, popup or menu first, the editor only then.
    void EscapePressed();
    // Before the editor closes: the edit still waiting and every posted command
    // reach the panel, within the link's own time-outs.
    void FinishPendingWork();

    // What the parts report, routed to the model.
    void PressGpio(int channel);
    void ReleaseHeldGpio();
    void ChooseMode(int channel, int mode);
    void PropagateMode(int channel, int mode, bool sameGroupOnly);
    void PropagateDuration(int channel, bool sameGroupOnly);
    void ChooseColour(int channel, int state, int slot);
    void ToggleMemoryCell(int row, int column);
    void ChooseInput(EditorInput input);

    // Keyboard use.
    using Handler = void (TFormEdit::*)();
    // Keys that work from every control of the window.
    void AddWindowKeys(std::initializer_list<std::pair<QKeySequence, Handler>> keys);
    void ConnectKeyboard();
    void ShowTestButton();
    // Shift+F10 and the Menu key: the context menu of the focused control.
    void OpenFocusedContextMenu();
    // The controls Tab visits: each area (strips, control, commands, memory
    // map) row by row.
    void CollectTabOrder();

    // Link events.
    void MsgLinkReplyHandler(std::uint8_t replyCode, const std::vector<std::uint8_t>& payload);
    void MsgLinkEndedHandler();
    // Posts what an edit gave, if anything.
    void Post(const PostedBlock& block);
    // Draws the model's configuration: options, strips, colours, keys, memory map.
    void ShowConfiguration();
    // The first configuration is on screen: the controls become usable.
    void EditingStarted();
    void ShowModes();
    void ShowDurations();

    // Load, save and the history.
    // Undo and Redo name the step they take back or do again.
    void ShowHistoryItems();
    // After the panel test: the configuration from before it, if the user wants it.
    void OfferConfigurationBeforeTest();
    // The same, for a test whose link ended, once its panel is opened again.
    void OfferConfigurationBeforeInterruptedTest();
    void SendLoadedBlock(const ConfigBlock& block, const QString& name);
    // Files fail in many ways; each is told in one message box and changes nothing.
    void ReportingFileErrors(const std::function<void()>& operation);

    // Panel test.
    void RunTestStep(const TestStep& step);
    // Stops the panel test (its remaining steps are kept) and switches every
    // output off.
    void EndPanelTest();
    // Every end of the test (its own, STOP, Close, Escape): every GPIO output off,
    // and the question whether to restore the configuration from before it.
    void FinishPanelTest();

    EditorModel model_;
    std::unique_ptr<TDeviceThread> deviceThread_;
    std::function<void(std::chrono::milliseconds)> testPause_;
    QString offeredFile_;
    // This Escape was pressed while one of the editor's popups was open.
    bool escapeClosesPopup_ = false;

    QScrollArea* scrollArea_ = nullptr;
    QWidget* canvas_ = nullptr;
    Panel* PanBack = nullptr;
    LegendColumn* legend_ = nullptr;
    std::array<ChannelStrip*, ChannelCount + 1> strips_{}; // index = channel 1..16
    ControlPanel* controlPanel_ = nullptr;
    CommandColumn* commands_ = nullptr;
    MemoryMapView* memoryMap_ = nullptr;
    StripMenus* menus_ = nullptr;
    std::vector<QWidget*> tabOrder_; // every control Tab can reach, as the eye reads them
    QTimer* TimerBtns = nullptr;
    QTimer* TimerTest = nullptr;
};
