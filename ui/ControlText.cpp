// SPDX-License-Identifier: Apache-2.0
#include "ui/ControlText.h"

#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionComboBox>

void FitButtonText(QAbstractButton& button) {
    QFont font = button.font();
    const auto tooLarge = [&] {
        const QSize needed = button.sizeHint();
        return needed.width() > button.width() || needed.height() > button.height();
    };
    while (font.pixelSize() > SmallestTextPixels && tooLarge()) {
        font.setPixelSize(font.pixelSize() - 1);
        button.setFont(font);
    }
}

void FitComboBoxItems(QComboBox& box) {
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = box.isEditable();
    // The styles draw the item a pixel inside each side of the text field.
    const int room =
        box.style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box)
            .width() -
        2;
    QFont font = box.font();
    const auto tooLarge = [&] {
        const QFontMetrics metrics(font);
        for (int i = 0; i < box.count(); ++i) {
            if (metrics.horizontalAdvance(box.itemText(i)) > room) {
                return true;
            }
        }
        return false;
    };
    while (font.pixelSize() > SmallestTextPixels && tooLarge()) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    box.setFont(font);
}

QString DisplayText(const QString& caption) {
    QString text = caption;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

QFont PixelFont(const QString& family, int pixelSize, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
