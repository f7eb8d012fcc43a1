// The memory map under the channel strips: slots (rows) and their member
// channels (columns), drawn into an off-screen bitmap that the paint box only
// copies, toggled with the mouse, shown and hidden with "MEMORY".
#include "editor/UnitGPI.h"

#include "editor/EditorLook.h"
#include "ui/Widgets.h"
#include "ui/WindowPlacement.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

constexpr ScreenColor White = 0x00FFFFFF;
constexpr ScreenColor HoverRowFill = 0x00995555;
constexpr ScreenColor HoverOutline = 0x00BCD6DE;
constexpr ScreenColor Outline = 0x0099A8AC;
constexpr ScreenColor MemberFill = 0x0055FF55;
constexpr ScreenColor NoMemberFill = 0x00DCDCDC;
constexpr ScreenColor SlotEnabledFill = 0x00FF5555;

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
void DrawMarker(QPainter& painter, int x1, int y1, int w, int h, ScreenColor outline,
                ScreenColor fill) {
    painter.setPen(QColorFromScreen(outline));
    painter.setBrush(QColorFromScreen(fill));
    painter.drawRoundedRect(QRect(x1, y1, w - 1, h - 1), 1.5, 1.5);
}

} // namespace

void TFormEdit::ConnectMemoryMap() {
    PBoxMem->OnPaint = [this](QPainter& painter, const QRect& dirty) {
        // Only copies: the map is drawn into the bitmap when it changes.
        if (MemoryBitmap.isNull()) {
            painter.fillRect(dirty, QColorFromScreen(WindowColour));
        } else {
            painter.drawImage(dirty, MemoryBitmap, dirty);
        }
    };
    connect(PBoxMem, &PaintBox::MouseMoved, this, &TFormEdit::PBoxMemMouseMove);
    connect(PBoxMem, &PaintBox::MousePressed, this, &TFormEdit::PBoxMemMouseDown);
    connect(static_cast<Panel*>(PanMemDraw), &Panel::MouseLeft, this,
            &TFormEdit::PanMemDrawMouseLeave);
    connect(BtnMem, &QPushButton::clicked, this, &TFormEdit::BtnMemClick);
}

void TFormEdit::DrawMemoryMap() {
    if (MemoryBitmap.isNull()) {
        return;
    }
    const auto& cells = MemoryLayout.CellRects;
    QPainter painter(&MemoryBitmap);
    painter.fillRect(MemoryBitmap.rect(), QColorFromScreen(WindowColour));

    painter.setPen(QColorFromScreen(White));
    for (int r = 0; r < MemoryMapSize; ++r) {
        for (int c = 0; c < MemoryMapSize; ++c) {
            const CellRect& cell = cells[r][c];
            if (r >= 1 && ChannelPresent[r]) {
                painter.fillRect(ToQRect(cell),
                                 QColorFromScreen(r == HoverRow ? HoverRowFill : WindowColour));
            }
            if (r >= 1) {
                painter.drawLine(cell.Left, cell.Top, cell.Right - 1, cell.Top);
            }
            if (c >= 1) {
                painter.drawLine(cell.Left, cell.Top, cell.Left, cell.Bottom - 1);
            }
        }
    }

    QFont labelFont = font();
    for (int n = 1; n <= ChannelCount; ++n) {
        if (ChannelPresent[n]) {
            labelFont.setBold(n == HoverRow);
            painter.setFont(labelFont);
            DrawCellText(painter, cells[n][0], QString("Slot %1").arg(n), 10);
        }
    }
    painter.setFont(PixelFont("Tahoma", 11, true));
    for (int n = 1; n <= ChannelCount; ++n) {
        if (ChannelPresent[n]) {
            DrawCellText(painter, cells[0][n], QString::number(n), 0);
        }
    }
    if (!Online) {
        return;
    }

    const int markerWidth = MemoryLayout.MarkerWidth;
    const int markerHeight = MemoryLayout.MarkerHeight;
    for (int r = 1; r <= ChannelCount; ++r) {
        if (!ChannelPresent[r]) {
            continue;
        }
        const ScreenColor outline = r == HoverRow ? HoverOutline : Outline;
        for (int c = 1; c <= ChannelCount; ++c) {
            if (!ChannelPresent[c]) {
                continue;
            }
            const ScreenColor fill = !MemoryEnabled[r]   ? WindowColour
                                     : MemoryLinks[r][c] ? MemberFill
                                                         : NoMemberFill;
            const bool grown = c == HoverColumn && r == HoverRow && MemoryEnabled[r];
            const int w = markerWidth + (grown ? 6 : 0);
            const int h = markerHeight + (grown ? 4 : 0);
            const CellRect& cell = cells[r][c];
            DrawMarker(painter, (cell.Left + cell.Right - w) / 2, (cell.Top + cell.Bottom - h) / 2,
                       w, h, outline, fill);
        }
        const CellRect& header = cells[r][0];
        const bool grown = r == HoverRow && HoverColumn == 0;
        const int w = markerWidth + (grown ? 6 : 0);
        const int h = markerHeight + (grown ? 4 : 0);
        const int x1 = grown ? (header.Left + 14) / 2 : (header.Left + 20) / 2;
        DrawMarker(painter, x1, (header.Top + header.Bottom - h) / 2, w, h, outline,
                   MemoryEnabled[r] ? SlotEnabledFill : NoMemberFill);
    }
}

void TFormEdit::RefreshMemoryMap() {
    DrawMemoryMap();
    PBoxMem->update();
}

void TFormEdit::ClearMemoryHover() {
    if (HoverRow != 0) {
        HoverRow = 0;
        HoverColumn = 0;
        RefreshMemoryMap();
    }
}

void TFormEdit::PBoxMemMouseMove(const QPoint& at) {
    const auto hit = HitTestMemoryMap(MemoryLayout, at.x(), at.y());
    if (!hit) {
        ClearMemoryHover();
        return;
    }
    if (hit->first != HoverRow || hit->second != HoverColumn) {
        HoverRow = hit->first;
        HoverColumn = hit->second;
        RefreshMemoryMap();
    }
}

void TFormEdit::PanMemDrawMouseLeave() {
    ClearMemoryHover();
}

void TFormEdit::PBoxMemMouseDown(const QPoint& at) {
    // Without a configuration read from the panel there is nothing to edit.
    const auto hit = HitTestMemoryMap(MemoryLayout, at.x(), at.y());
    if (!Online || !hit) {
        return;
    }
    const auto [row, column] = *hit;
    if (column >= 1) {
        if (!ChannelPresent[row] || !ChannelPresent[column] || !MemoryEnabled[row]) {
            return;
        }
        MemoryLinks[row][column] = !MemoryLinks[row][column];
    } else {
        if (!ChannelPresent[row]) {
            return;
        }
        MemoryEnabled[row] = !MemoryEnabled[row];
    }
    RefreshMemoryMap();
    SendConfiguration();
}

void TFormEdit::BtnMemClick() {
    if (TagOf(BtnMem) == 0) {
        const QRect workArea = screen()->availableGeometry();
        const QRect frame = frameGeometry();
        const int top = TopAfterGrowing(frame.y(), frame.height(), PanMemBack->height(),
                                        workArea.y(), workArea.y() + workArea.height());
        if (top != frame.y()) {
            move(frame.x(), top);
        }
        PanTemp->resize(PanTemp->width(), PanMemBack->y() + PanMemBack->height());
        setFixedHeight(PanTemp->height());
        BtnMem->SetCaption("HIDE");
        SetTag(BtnMem, 1);
    } else {
        setFixedHeight(PanBack->height());
        PanTemp->resize(PanTemp->width(), PanBack->height());
        BtnMem->SetCaption("MEMORY");
        SetTag(BtnMem, 0);
    }
    BtnMem->move(BtnMem->x(), PanTemp->height() - MemoryButtonOffset);
}
