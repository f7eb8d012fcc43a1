// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/UnitProcs.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

#include <functional>

// The one place where a screen colour 0x00BBGGRR becomes a QColor.
QColor QColorFromScreen(ScreenColour colour);
ScreenColour ScreenFromQColor(const QColor& colour);

// Captions are written with "\r\n" line breaks; Qt draws "\n".
QString DisplayText(const QString& caption);

// A font of the given family and pixel size.
QFont PixelFont(const QString& family, int pixelSize, bool bold = false);

// Captions keep the controls' fixed places in every language: a caption that
// does not fit is drawn smaller, down to this many pixels.
inline constexpr int SmallestTextPixels = 7;

// The font a painted caption is drawn in: the control's own, or a smaller size
// of it where the caption does not fit its area. Worked out again only when the
// font, the area's size or the caption changes: live states repaint often.
class CaptionFont {
public:
    const QFont& For(const QFont& font, const QRect& area, int flags, const QString& text);
    // The caption fits its area, drawn no smaller than SmallestTextPixels.
    bool Fits(const QFont& font, const QRect& area, int flags, const QString& text);

private:
    QFont font_;
    QFont fitted_;
    QSize size_;
    int flags_ = 0;
    QString text_;
    bool known_ = false;
};

// A check box or push button of a fixed width takes a smaller font for its text
// where its text would not fit.
void FitButtonText(QAbstractButton& button);

// A combo box of a fixed width takes a smaller font where one of its items
// would not fit its text field ("n/a" in a long language).
void FitComboBoxItems(QComboBox& box);

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

// A flat panel with an optional caption; every click on it is reported.
class Panel : public QFrame {
    Q_OBJECT
public:
    explicit Panel(QWidget* parent = nullptr);

    void SetFaceColour(ScreenColour colour);
    ScreenColour FaceColour() const { return face_; }
    void SetCaption(const QString& caption, Qt::Alignment alignment = Qt::AlignCenter);
    QString Caption() const { return caption_; }
    void SetTextColour(ScreenColour colour);
    bool CaptionFits() const;

signals:
    void Clicked();
    void DoubleClicked(Qt::KeyboardModifiers modifiers);
    void MouseLeft();

protected:
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QRect TextArea() const;
    mutable CaptionFont captionFont_;

    ScreenColour face_ = 0x00808080;
    ScreenColour text_ = 0x00FFFFFF;
    QString caption_;
    Qt::Alignment alignment_ = Qt::AlignCenter;
};

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

// The pulse duration: 0.1 .. 2.0 s in steps of 0.1 (page step 0.5), no typing.
// Stepped() is raised by the user's steps only, also by one that stayed at a limit.
class DurationField : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit DurationField(QWidget* parent = nullptr);

    // A blank field reads as 0.1.
    double Value() const;
    void SetValue(double seconds);
    // Blank until the next SetValue, also when the field is shown again.
    void ClearText();
    void stepBy(int steps) override;
    QString textFromValue(double value) const override;

signals:
    void Stepped();

protected:
    // Steps at a limit still count: each one is sent.
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool blank_ = false;
};

// A widget whose painting is done by its owner, given the area to paint.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr) : QWidget(parent) {}
    std::function<void(QPainter&, const QRect&)> OnPaint;
    // The keys the owner takes (true); others go on as usual.
    std::function<bool(int key)> OnKey;

signals:
    void MouseMoved(QPoint at);
    void MousePressed(QPoint at);
    void FocusChanged(bool focused);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// A popup menu whose items are measured and drawn by its owner. The platform
// adds the check-mark column to the measured width, as native menus do.
class OwnerDrawnMenu : public QMenu {
    Q_OBJECT
public:
    explicit OwnerDrawnMenu(QWidget* parent = nullptr);
    std::function<QSize()> MeasureItem;
    std::function<void(QPainter&, const QRect&, const QAction*, bool selected)> DrawItem;
    // The style's check-mark width, which the measured width leaves out.
    int CheckMarkWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
