// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "sim/VirtualBus.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QPushButton;

// "Virtual panels": each virtual panel as its user sees the hardware, its keys
// lit in the colour and brightness of each channel's signal state, its F1/F2
// keys, key lock, GPIO lamps and GPI inputs, and a plug. Operating it operates
// the virtual firmware only, through the simulator's thread-safe interface; it
// never talks to the program's other windows.
class QScrollArea;

class VirtualPanelsWindow : public QWidget {
    Q_OBJECT
public:
    explicit VirtualPanelsWindow(QWidget* parent = nullptr);

    // One row per panel that was attached when the window was made.
    struct Row {
        VirtualBus::AttachedDevice device;
        ChannelFlags present{};
        std::array<QPushButton*, ChannelCount + 1> keys{};
        std::array<QWidget*, ChannelCount + 1> lamps{};
        std::array<QCheckBox*, ChannelCount + 1> gpiSwitches{};
        std::array<QPushButton*, 2> functionKeys{};
        QCheckBox* lock = nullptr;
        QCheckBox* plugged = nullptr;
        // What the row shows, to repaint only on change.
        StatusBlock status{};
        ConfigBlock configuration{};
        bool powered = true;
    };
    const std::vector<Row>& Rows() const { return rows_; }

    // Reads every panel now; repaints what changed.
    void Refresh();
    // Every panel shown whole, without scroll bars; also the size it opens with
    // where nobody places it.
    QSize FullSize() const;
    QSize sizeHint() const override { return FullSize(); }

private:
    void AddRow(const VirtualBus::AttachedDevice& device, int index, QWidget* content);

    QScrollArea* scroll_ = nullptr;
    std::vector<Row> rows_;
    QTimer refresh_;
};
