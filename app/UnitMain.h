// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/PanelFilter.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QPushButton;
class QTreeWidget;
class TFormEdit;

// The application's title; the device list window shows it with the version
// (" v1.2"), which is set once, in CMakeLists.txt.
inline constexpr const char* ApplicationTitle = "QUVO-8261 Settings";
// The installed desktop entry's id, which docks and task bars match windows to.
inline constexpr const char* DesktopFileId = "quvo8261-settings";

// The device list window: lists the attached free panels, refreshes every
// 2000 ms, and runs the open - edit - close cycle of the panel the user picks.
class TFormMain : public QWidget {
    Q_OBJECT
public:
    explicit TFormMain(QString programSettingsFile, QWidget* parent = nullptr);
    // The editor window, created right after this window.
    void SetEditor(TFormEdit* editor) { editor_ = editor; }

    // The refresh; fromTimer is true for a tick of Timer.
    void TimerTimer(bool fromTimer);
    void OpenSelectedDevice();
    // The list's row as the user's selection; none (-1) where the list is shorter.
    void SelectRow(int row);
    void SaveWindowSettings();

    // The rows the list shows, in row order.
    const std::vector<TGPIItem>& ListedEntries() const { return Entries; }
    bool RefreshRunning() const { return Timer.isActive(); }
    // What the empty list says.
    const QString& ShownEmptyListText() const { return emptyListText_; }
    // Where the system's view of USB is read to explain an empty list.
    void SetDiagnosisSources(QString sysfsRoot, QString deviceRoot,
                             std::function<bool(const QString& node)> canOpen = {});
    // The back-end in the words of a report, and why it is the one.
    void SetBackEndWords(QString words) { backEndWords_ = std::move(words); }
    // Beside an empty list's advice: the report to attach to a question, saved
    // where the user chooses.
    void SaveReport();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FirstIdle();
    void LoadWindowSettings();
    void RebuildEntries(const std::vector<TGPIItem>& panels);
    void ClearEntries();
    // Opens the panel, runs the editor on it until it closes, and shuts it down.
    void EditPanel(const TGPIItem& entry);
    void RunEditorUntilClosed();
    void ExplainEmptyList();

    QTreeWidget* LView = nullptr;
    QWidget* reportRow_ = nullptr;
    QPushButton* BtnSaveReport = nullptr;
    QTimer Timer;
    std::vector<TGPIItem> Entries;
    int EntryCount = 0;
    QString emptyListText_;
    QString diagnosisSysfsRoot_ = "/sys/bus/usb/devices";
    QString diagnosisDeviceRoot_ = "/dev/bus/usb";
    std::function<bool(const QString& node)> diagnosisCanOpen_;
    QString backEndWords_;
    TFormEdit* editor_ = nullptr;
    QString programSettingsFile_;
    QString settingsFileError_;
};
