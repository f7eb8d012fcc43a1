// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/UnitProcs.h"
#include "ui/CaptionFont.h"

#include <QPushButton>

// A push button that paints its own face and text colour, so that colours set by
// the program show on every platform style, and changes repaint only when needed.
class ColourButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColourButton(QWidget* parent = nullptr);

    ScreenColour FaceColour() const { return face_; }
    ScreenColour TextColour() const { return text_; }
    void SetFaceColour(ScreenColour colour);
    void SetTextColour(ScreenColour colour);
    // A button without a focus rectangle still shows one while the focus came
    // from the keyboard, so that a keyboard user sees where it is.
    void SetFocusRectangle(bool shown) { focusRectangle_ = shown; }
    // Enter clicks a focused button unless it answers only to the mouse and Space.
    void SetEnterClicks(bool clicks) { enterClicks_ = clicks; }
    // The caption as set, with "\r\n" line breaks.
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // The caption fits, drawn no smaller than SmallestTextPixels.
    bool CaptionFits() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    static constexpr int CaptionFlags = Qt::AlignCenter | Qt::TextWordWrap;
    QRect TextArea() const;
    mutable CaptionFont captionFont_;

    ScreenColour face_ = 0x00EDEDED;
    ScreenColour text_ = 0x00000000;
    bool focusRectangle_ = true;
    bool keyboardFocus_ = false;
    bool enterClicks_ = true;
    QString caption_;
};
