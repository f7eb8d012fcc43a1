// SPDX-License-Identifier: Apache-2.0
#include "ui/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap DrawPanel(int size) {
    // Key colours by row: green, red, yellow and blue lights, one key left dark.
    static const QColor Lights[4] = {QColor(0, 230, 60), QColor(240, 40, 40), QColor(250, 220, 0),
                                     QColor(40, 110, 255)};
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal edge = size / 16.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(64, 64, 64));
    painter.drawRoundedRect(QRectF(0, 0, size, size), 2 * edge, 2 * edge);
    const qreal pitch = (size - 2 * edge) / 4.0;
    const qreal key = pitch * 0.78;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const bool dark = row == 2 && column == 1;
            painter.setBrush(dark ? QColor(150, 150, 150) : Lights[row]);
            painter.drawRoundedRect(QRectF(edge + column * pitch + (pitch - key) / 2,
                                           edge + row * pitch + (pitch - key) / 2, key, key),
                                    key / 5, key / 5);
        }
    }
    return pixmap;
}

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(DrawPanel(size));
    }
    return icon;
}
