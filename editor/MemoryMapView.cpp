// SPDX-License-Identifier: Apache-2.0
// The memory map under the channel strips: slots (rows) and their member
// channels (columns), drawn into an off-screen bitmap that the paint box only
// copies, toggled with the mouse or the keyboard's cursor, shown and hidden
// with "MEMORY".
#include "editor/UnitGPI.h"

#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/ControlText.h"
#include "ui/DurationField.h"
#include "ui/OwnerDrawnMenu.h"
#include "ui/PaintBox.h"
#include "ui/Panel.h"
#include "ui/ScreenColour.h"

#include "editor/EditorLook.h"
#include "ui/WindowPlacement.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

constexpr ScreenColour White = 0x00FFFFFF;
constexpr ScreenColour HoverRowFill = 0x00995555;
constexpr ScreenColour HoverOutline = 0x00BCD6DE;
constexpr ScreenColour Outline = 0x0099A8AC;
constexpr ScreenColour MemberFill = 0x0055FF55;
constexpr ScreenColour NoMemberFill = 0x00DCDCDC;
constexpr ScreenColour SlotEnabledFill = 0x00FF5555;

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

void TFormEdit::ConnectMemoryMap() {
    PBoxMem->SetPainter([this](QPainter& painter, const QRect& dirty) {
        // Only copies: the map is drawn into the bitmap when it changes.
        if (memoryBitmap_.isNull()) {
            painter.fillRect(dirty, QColorFromScreen(WindowColour));
        } else {
            painter.drawImage(dirty, memoryBitmap_, dirty);
        }
    });
    connect(PBoxMem, &PaintBox::MouseMoved, this, &TFormEdit::PBoxMemMouseMove);
    connect(PBoxMem, &PaintBox::MousePressed, this, &TFormEdit::PBoxMemMouseDown);
    connect(PanMemDraw, &Panel::MouseLeft, this, &TFormEdit::PanMemDrawMouseLeave);
    connect(BtnMem, &QPushButton::clicked, this, &TFormEdit::BtnMemClick);
}

QFont TFormEdit::SlotLabelFont() const {
    // The slots' names fit between a slot's grown marker and its cell's end, drawn
    // smaller where a language's word is long.
    QFont labelFont = font();
    labelFont.setPixelSize(QFontInfo(labelFont).pixelSize());
    const CellRect& header = memoryLayout_.CellRects[1][0];
    const int markerEnd = (header.Left + 14) / 2 + memoryLayout_.MarkerWidth + 6;
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

void TFormEdit::DrawMemoryMap() {
    if (memoryBitmap_.isNull()) {
        return;
    }
    const auto& cells = memoryLayout_.CellRects;
    QPainter painter(&memoryBitmap_);
    painter.fillRect(memoryBitmap_.rect(), QColorFromScreen(WindowColour));

    painter.setPen(QColorFromScreen(White));
    for (int r = 0; r < MemoryMapSize; ++r) {
        for (int c = 0; c < MemoryMapSize; ++c) {
            const CellRect& cell = cells[r][c];
            if (r >= 1 && model_.ChannelPresent()[r]) {
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
        if (model_.ChannelPresent()[n]) {
            labelFont.setBold(n == hoverRow_);
            painter.setFont(labelFont);
            DrawCellText(painter, cells[n][0], tr("Slot %1").arg(n), 10);
        }
    }
    painter.setFont(PixelFont("Tahoma", 11, true));
    for (int n = 1; n <= ChannelCount; ++n) {
        if (model_.ChannelPresent()[n]) {
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

    const int markerWidth = memoryLayout_.MarkerWidth;
    const int markerHeight = memoryLayout_.MarkerHeight;
    for (int r = 1; r <= ChannelCount; ++r) {
        if (!model_.ChannelPresent()[r]) {
            continue;
        }
        const ScreenColour outline = r == hoverRow_ ? HoverOutline : Outline;
        for (int c = 1; c <= ChannelCount; ++c) {
            if (!model_.ChannelPresent()[c]) {
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

void TFormEdit::RefreshMemoryMap() {
    DrawMemoryMap();
    PBoxMem->update();
    SpeakMemoryCursor();
}

void TFormEdit::ClearMemoryHover() {
    if (hoverRow_ != 0) {
        hoverRow_ = 0;
        hoverColumn_ = 0;
        RefreshMemoryMap();
    }
}

void TFormEdit::PBoxMemMouseMove(const QPoint& at) {
    const auto hit = HitTestMemoryMap(memoryLayout_, at.x(), at.y());
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

void TFormEdit::PanMemDrawMouseLeave() {
    ClearMemoryHover();
}

void TFormEdit::PBoxMemMouseDown(const QPoint& at) {
    if (const auto hit = HitTestMemoryMap(memoryLayout_, at.x(), at.y())) {
        const PostedBlock block = model_.ToggleMemoryCell(hit->first, hit->second);
        RefreshMemoryMap();
        Post(block);
    }
}

void TFormEdit::BtnMemClick() {
    if (TagOf(BtnMem) == 0) {
        const QRect workArea = screen()->availableGeometry();
        const QRect frame = frameGeometry();
        const int heightBefore = height();
        PanTemp->resize(PanTemp->width(), PanMemBack->y() + PanMemBack->height());
        SetCanvasHeight(PanTemp->height());
        const int top = TopAfterGrowing(frame.y(), frame.height(), height() - heightBefore,
                                        workArea.y(), workArea.y() + workArea.height());
        if (top != frame.y()) {
            move(frame.x(), top);
        }
        BtnMem->SetCaption(tr("HIDE"));
        SetTag(BtnMem, 1);
        model_.SetMemoryMapShown(true);
        PanMemBack->show();
    } else {
        model_.SetMemoryMapShown(false);
        PanMemBack->hide();
        SetCanvasHeight(PanBack->height());
        PanTemp->resize(PanTemp->width(), PanBack->height());
        BtnMem->SetCaption(tr("MEMORY"));
        SetTag(BtnMem, 0);
    }
    BtnMem->move(BtnMem->x(), PanTemp->height() - memoryButtonOffset_);
}
