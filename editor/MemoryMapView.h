// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/MemoryMap.h"
#include "ui/Panel.h"

#include <QImage>

#include <optional>
#include <utility>

class EditorModel;
class PaintBox;
class QPainter;

// The memory map under the channel strips ("PanMemBack"): slots (rows) and
// their member channels (columns), drawn from the model into an off-screen
// bitmap that the paint box only copies. The mouse and the keyboard's cursor
// point at a cell; a click or Space asks for it to be toggled.
class MemoryMapView : public Panel {
    Q_OBJECT
public:
    // `width` is the strips' area's, `mapWidth` the map's right of its title; the
    // slots' names take `namesWidth`, the channels' numbers a row of `headerHeight`.
    MemoryMapView(const EditorModel& model, int width, int mapWidth, int namesWidth,
                  int headerHeight, QWidget* parent);

    // Draws the map again from the model.
    void RefreshMemoryMap();
    // No pointer and no cursor (the editor went offline).
    void ClearMemoryHover();
    const QImage& Image() const { return bitmap_; }
    // The cell under the mouse or the keyboard's cursor (row 0: none).
    std::pair<int, int> Hover() const { return {hoverRow_, hoverColumn_}; }
    QWidget* Map() const;

    void DrawMemoryMap();
    void PBoxMemMouseMove(const QPoint& at);
    void PBoxMemMouseDown(const QPoint& at);
    void PanMemDrawMouseLeave();

signals:
    void CellToggled(int row, int column);

private:
    // The font of the slots' names, small enough for the longest in this language.
    QFont SlotLabelFont() const;
    // Arrows move the cursor, Space toggles its cell.
    bool MemoryMapKey(int key);
    void MemoryMapFocusChanged(bool focused);
    // The map's value for screen readers: the cell under the keyboard's cursor.
    void SpeakMemoryCursor();

    const EditorModel& model_;
    PaintBox* PBoxMem = nullptr;
    MemoryMapLayout layout_;
    // Worked out at the first drawing: the layout and the language are fixed by then.
    std::optional<QFont> slotLabelFont_;
    QImage bitmap_;
    int hoverRow_ = 0;
    int hoverColumn_ = 0;
};
