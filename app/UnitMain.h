#pragma once

#include "link/PanelFilter.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QTreeWidget;
class TFormEdit;

// The application's title; the device list window shows it with " v1.2".
inline constexpr const char* ApplicationTitle = "QUVO-8261 Settings";

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
    void SaveWindowSettings();

    QTreeWidget* LView = nullptr;
    // What the empty list says; and where the system's view of USB is read.
    QString EmptyListText;
    QString DiagnosisSysfsRoot = "/sys/bus/usb/devices";
    QString DiagnosisDeviceRoot = "/dev/bus/usb";
    std::function<bool(const QString& node)> DiagnosisCanOpen;
    QTimer Timer;
    std::vector<TGPIItem> Entries;
    int EntryCount = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FirstIdle();
    void LoadWindowSettings();
    bool EntriesChanged() const;
    void RebuildEntries();
    void ClearEntries();
    void RunEditorUntilClosed();
    void ExplainEmptyList();

    TFormEdit* editor_ = nullptr;
    QString programSettingsFile_;
    QString settingsFileError_;
};
