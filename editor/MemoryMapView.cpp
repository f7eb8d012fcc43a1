// SPDX-License-Identifier: Apache-2.0
// The memory map: drawn into a bitmap when it changes, toggled with the mouse or
// the keyboard's cursor.
#include "editor/MemoryMapView.h"

#include "editor/EditorLook.h"
#include "editor/EditorModel.h"
#include "editor/SpokenTexts.h"
#include "ui/ColourLabel.h"
#include "ui/ControlText.h"
#include "ui/PaintBox.h"
#include "ui/ScreenColour.h"
#include "ui/Speech.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

constexpr ScreenColour White = 0x00FFFFFF;
constexpr ScreenColour HoverRowFill = 0x00995555;
constexpr ScreenColour HoverOutline = 0x00BCD6DE;
constexpr ScreenColour Outline = 0x0099A8AC;
constexpr ScreenColour MemberFill = 0x0055FF55;
constexpr ScreenColour NoMemberFill = 0x00DCDCDC;
constexpr ScreenColour SlotEnabledFill = 0x00FF5555;
constexpr int TitleWidth = 25;
constexpr int FrameHeight = 417;

QRect ToQRect(const CellRect& cell) {
    return QRect(QPoint(cell.Left, cell.Top), QPoint(cell.Right - 1, cell.Bottom - 1));
}

// A label centred in its cell (shifted right by `shift`), clipped to the cell
// shrunk by one pixel.
void DrawCellText(QPainter& painter, const CellRect& cell, const QString& text, int shift) {
    const QFontMetrics metrics(painter.font());
    const int x = (cell.Left + cell.Right - metrics.horizontalAdvance(text)) / 2 + shift;
    const int y = (cell.Top + cell.Bottom - metrics.height()) / 2;
    painter.setClipRect(ToQRect(cell).adjusted(1, 1, -1, -1));
    painter.drawText(x, y + metrics.ascent(), text);
    painter.setClipping(false);
}

// A rounded marker covering x1..x1+w-1 and y1..y1+h-1.
void DrawMarker(QPainter& painter, int x1, int y1, int w, int h, ScreenColour outline,
                ScreenColour fill) {
    painter.setPen(QColorFromScreen(outline));
    painter.setBrush(QColorFromScreen(fill));
    painter.drawRoundedRect(QRect(x1, y1, w - 1, h - 1), 1.5, 1.5);
}

} // namespace

MemoryMapView::MemoryMapView(const EditorModel& model, int width, int mapWidth, int namesWidth,
                             int headerHeight, QWidget* parent)
    : Panel(parent), model_(model) {
    setObjectName("PanMemBack");
    auto* title = new ColourLabel(this, true);
    title->setObjectName("LabMem");
    title->setGeometry(0, 0, TitleWidth, FrameHeight + 2);
    title->setFont(PixelFont("Tahoma", 11, true));
    title->SetCaption(tr("Memory"));
    auto* frame = new Panel(this);
    frame->setObjectName("PanMemFrame");
    frame->setGeometry(TitleWidth, 0, mapWidth, FrameHeight);
    auto* draw = new Panel(frame);
    draw->setObjectName("PanMemDraw");
    draw->setGeometry(frame->rect());
    PBoxMem = new PaintBox(draw);
    PBoxMem->setObjectName("PBoxMem");
    PBoxMem->setGeometry(draw->rect());
    PBoxMem->setMouseTracking(true);
    PBoxMem->setFocusPolicy(Qt::TabFocus);
    SetSpokenName(*PBoxMem, tr("Memory map"));
    PBoxMem->setToolTip(tr("Slots and their member channels: the arrow keys move, Space toggles"));
    resize(width, frame->height() + 2);

    bitmap_ = QImage(PBoxMem->size(), QImage::Format_RGB888);
    layout_ = LayoutMemoryMap(bitmap_.width(), bitmap_.height(), namesWidth, headerHeight);
    PBoxMem->SetPainter([this](QPainter& painter, const QRect& dirty) {
        // Only copies: the map is drawn into the bitmap when it changes.
        painter.drawImage(dirty, bitmap_, dirty);
    });
    PBoxMem->SetKeyHandler([this](int key) { return MemoryMapKey(key); });
    connect(PBoxMem, &PaintBox::MouseMoved, this, &MemoryMapView::PBoxMemMouseMove);
    connect(PBoxMem, &PaintBox::MousePressed, this, &MemoryMapView::PBoxMemMouseDown);
    connect(PBoxMem, &PaintBox::FocusChanged, this, &MemoryMapView::MemoryMapFocusChanged);
    connect(draw, &Panel::MouseLeft, this, &MemoryMapView::PanMemDrawMouseLeave);
    // Hidden, the memory map takes no focus and no keys; MEMORY shows it.
    hide();
    DrawMemoryMap();
}

QWidget* MemoryMapView::Map() const {
    return PBoxMem;
}

QFont MemoryMapView::SlotLabelFont() const {
    // The slots' names fit between a slot's grown marker and its cell's end, drawn
    // smaller where a language's word is long.
    QFont labelFont = font();
    labelFont.setPixelSize(QFontInfo(labelFont).pixelSize());
    const CellRect& header = layout_.CellRects[1][0];
    const int markerEnd = (header.Left + 14) / 2 + layout_.MarkerWidth + 6;
    const int room = std::min(header.Left + header.Right + 20 - 2 * (markerEnd + 2),
                              header.Right - header.Left - 22);
    QFont bold = labelFont;
    bold.setBold(true);
    while (labelFont.pixelSize() > SmallestTextPixels &&
           QFontMetrics(bold).horizontalAdvance(tr("Slot %1").arg(ChannelCount)) > room) {
        labelFont.setPixelSize(labelFont.pixelSize() - 1);
        bold.setPixelSize(labelFont.pixelSize());
    }
    return labelFont;
}

void MemoryMapView::DrawMemoryMap() {
    const auto& cells = layout_.CellRects;
    const ChannelFlags& present = model_.ChannelPresent();
    QPainter painter(&bitmap_);
    painter.fillRect(bitmap_.rect(), QColorFromScreen(WindowColour));

    painter.setPen(QColorFromScreen(White));
    for (int r = 0; r < MemoryMapSize; ++r) {
        for (int c = 0; c < MemoryMapSize; ++c) {
            const CellRect& cell = cells[r][c];
            if (r >= 1 && present[r]) {
                painter.fillRect(ToQRect(cell),
                                 QColorFromScreen(r == hoverRow_ ? HoverRowFill : WindowColour));
            }
            if (r >= 1) {
                painter.drawLine(cell.Left, cell.Top, cell.Right - 1, cell.Top);
            }
            if (c >= 1) {
                painter.drawLine(cell.Left, cell.Top, cell.Left, cell.Bottom - 1);
            }
        }
    }

    if (!slotLabelFont_) {
        slotLabelFont_ = SlotLabelFont();
    }
    QFont labelFont = *slotLabelFont_;
    for (int n = 1; n <= ChannelCount; ++n) {
        if (present[n]) {
            labelFont.setBold(n == hoverRow_);
            painter.setFont(labelFont);
            DrawCellText(painter, cells[n][0], tr("Slot %1").arg(n), 10);
        }
    }
    painter.setFont(PixelFont("Tahoma", 11, true));
    for (int n = 1; n <= ChannelCount; ++n) {
        if (present[n]) {
            DrawCellText(painter, cells[0][n], QString::number(n), 0);
        }
    }
    if (PBoxMem->hasFocus() && hoverRow_ != 0) {
        // The keyboard's cell.
        painter.setPen(QPen(QColorFromScreen(White), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(ToQRect(cells[hoverRow_][hoverColumn_]).adjusted(2, 2, -2, -2));
    }
    if (!model_.Online()) {
        return;
    }

    const int markerWidth = layout_.MarkerWidth;
    const int markerHeight = layout_.MarkerHeight;
    for (int r = 1; r <= ChannelCount; ++r) {
        if (!present[r]) {
            continue;
        }
        const ScreenColour outline = r == hoverRow_ ? HoverOutline : Outline;
        for (int c = 1; c <= ChannelCount; ++c) {
            if (!present[c]) {
                continue;
            }
            const ScreenColour fill = !model_.MemorySlotEnabled(r) ? WindowColour
                                      : model_.MemoryLink(r, c)    ? MemberFill
                                                                   : NoMemberFill;
            const bool grown = c == hoverColumn_ && r == hoverRow_ && model_.MemorySlotEnabled(r);
            const int w = markerWidth + (grown ? 6 : 0);
            const int h = markerHeight + (grown ? 4 : 0);
            const CellRect& cell = cells[r][c];
            DrawMarker(painter, (cell.Left + cell.Right - w) / 2, (cell.Top + cell.Bottom - h) / 2,
                       w, h, outline, fill);
        }
        const CellRect& header = cells[r][0];
        const bool grown = r == hoverRow_ && hoverColumn_ == 0;
        const int w = markerWidth + (grown ? 6 : 0);
        const int h = markerHeight + (grown ? 4 : 0);
        const int x1 = grown ? (header.Left + 14) / 2 : (header.Left + 20) / 2;
        DrawMarker(painter, x1, (header.Top + header.Bottom - h) / 2, w, h, outline,
                   model_.MemorySlotEnabled(r) ? SlotEnabledFill : NoMemberFill);
    }
}

void MemoryMapView::RefreshMemoryMap() {
    DrawMemoryMap();
    PBoxMem->update();
    SpeakMemoryCursor();
}

void MemoryMapView::ClearMemoryHover() {
    if (hoverRow_ != 0) {
        hoverRow_ = 0;
        hoverColumn_ = 0;
        RefreshMemoryMap();
    }
}

void MemoryMapView::PBoxMemMouseMove(const QPoint& at) {
    const auto hit = HitTestMemoryMap(layout_, at.x(), at.y());
    if (!hit) {
        ClearMemoryHover();
        return;
    }
    if (hit->first != hoverRow_ || hit->second != hoverColumn_) {
        hoverRow_ = hit->first;
        hoverColumn_ = hit->second;
        RefreshMemoryMap();
    }
}

void MemoryMapView::PanMemDrawMouseLeave() {
    ClearMemoryHover();
}

void MemoryMapView::PBoxMemMouseDown(const QPoint& at) {
    if (const auto hit = HitTestMemoryMap(layout_, at.x(), at.y())) {
        emit CellToggled(hit->first, hit->second);
    }
}

bool MemoryMapView::MemoryMapKey(int key) {
    if (hoverRow_ == 0) {
        return false;
    }
    const std::pair<int, int> steps[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    const int arrows[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};
    for (int i = 0; i < 4; ++i) {
        if (key == arrows[i]) {
            const auto [row, column] = StepMemoryCursor({hoverRow_, hoverColumn_}, steps[i].first,
                                                        steps[i].second, model_.ChannelPresent());
            hoverRow_ = row;
            hoverColumn_ = column;
            RefreshMemoryMap();
            return true;
        }
    }
    if (key == Qt::Key_Space) {
        emit CellToggled(hoverRow_, hoverColumn_);
        return true;
    }
    return false;
}

void MemoryMapView::MemoryMapFocusChanged(bool focused) {
    // The keyboard's cursor goes with the focus; the mouse's stays while it points.
    if (!focused && !PBoxMem->underMouse()) {
        hoverRow_ = 0;
    }
    if (focused && hoverRow_ == 0) {
        for (int row = 1; row <= ChannelCount; ++row) {
            if (model_.ChannelPresent()[row]) {
                hoverRow_ = row;
                hoverColumn_ = 0;
                break;
            }
        }
    }
    RefreshMemoryMap();
}

void MemoryMapView::SpeakMemoryCursor() {
    SetSpokenValue(*PBoxMem, PBoxMem->hasFocus() && hoverRow_ != 0
                                 ? SpokenMemoryCell(hoverRow_, hoverColumn_,
                                                    model_.MemorySlotEnabled(hoverRow_),
                                                    model_.MemoryLink(hoverRow_, hoverColumn_))
                                 : QString());
}
