// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/UnitProcs.h"
#include "ui/CaptionFont.h"

#include <QWidget>

// A label with its own background and text colour; text rotated by 90 degrees
// (reading upwards) when vertical.
class ColourLabel : public QWidget {
    Q_OBJECT
public:
    explicit ColourLabel(QWidget* parent = nullptr, bool vertical = false);

    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }
    void SetColours(ScreenColour background, ScreenColour text);
    ScreenColour BackgroundColour() const { return background_; }
    ScreenColour TextColour() const { return text_; }
    // Qt::Alignment and Qt::TextFlag values.
    void SetTextFlags(int flags) { textFlags_ = flags; }
    bool CaptionFits() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // In the label's own coordinates, turned with the text when vertical.
    QRect TextArea() const;
    mutable CaptionFont captionFont_;

    bool vertical_;
    QString caption_;
    ScreenColour background_ = 0x00808080;
    ScreenColour text_ = 0x00FFFFFF;
    int textFlags_ = Qt::AlignCenter;
};
