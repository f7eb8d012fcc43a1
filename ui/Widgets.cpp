// SPDX-License-Identifier: Apache-2.0
#include "ui/Widgets.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFocusRect>

namespace {

// Painted controls repaint only when what they show changes: the live status
// sets every colour on every reply.
template <typename Value>
void RepaintOnChange(QWidget& widget, Value& shown, const Value& value) {
    if (shown != value) {
        shown = value;
        widget.update();
    }
}

// A painted caption names its control for screen readers, unless the program
// gave it a name of its own.
void NameByCaption(QWidget& control, const QString& caption) {
    if (!control.property("spokenName").toBool()) {
        control.setAccessibleName(DisplayText(caption).simplified());
    }
}

bool TextFits(const QFont& font, const QRect& area, int flags, const QString& text) {
    const QRect needed = QFontMetrics(font).boundingRect(area, flags, text);
    return needed.width() <= area.width() && needed.height() <= area.height();
}

} // namespace

const QFont& CaptionFont::For(const QFont& font, const QRect& area, int flags,
                              const QString& text) {
    if (!known_ || font_ != font || size_ != area.size() || flags_ != flags || text_ != text) {
        font_ = font;
        size_ = area.size();
        flags_ = flags;
        text_ = text;
        known_ = true;
        fitted_ = font;
        while (fitted_.pixelSize() > SmallestTextPixels && !TextFits(fitted_, area, flags, text)) {
            fitted_.setPixelSize(fitted_.pixelSize() - 1);
        }
    }
    return fitted_;
}

bool CaptionFont::Fits(const QFont& font, const QRect& area, int flags, const QString& text) {
    return TextFits(For(font, area, flags, text), area, flags, text);
}

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

QColor QColorFromScreen(ScreenColour colour) {
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

ScreenColour ScreenFromQColor(const QColor& colour) {
    return ScreenColour(colour.blue()) << 16 | ScreenColour(colour.green()) << 8 |
           ScreenColour(colour.red());
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

ColourButton::ColourButton(QWidget* parent) : QPushButton(parent) {
    setAttribute(Qt::WA_Hover);
    // Inside a dialog a push button would become the default one, and Enter
    // would press it wherever the focus is.
    setAutoDefault(false);
}

void ColourButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        if (enterClicks_ && isEnabled()) {
            click();
        }
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void ColourButton::focusInEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    keyboardFocus_ = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                     reason == Qt::ShortcutFocusReason;
    QPushButton::focusInEvent(event);
}

void ColourButton::SetFaceColour(ScreenColour colour) {
    RepaintOnChange(*this, face_, colour);
}

void ColourButton::SetTextColour(ScreenColour colour) {
    RepaintOnChange(*this, text_, colour);
}

void ColourButton::SetCaption(const QString& caption) {
    if (caption_ != caption) {
        caption_ = caption;
        setText(DisplayText(caption));
    }
}

QRect ColourButton::TextArea() const {
    return rect().adjusted(2, 1, -2, -1);
}

bool ColourButton::CaptionFits() const {
    return captionFont_.Fits(font(), TextArea(), CaptionFlags, text());
}

void ColourButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, QColorFromScreen(face_));
    const bool hot = isEnabled() && underMouse();
    painter.setPen(QColorFromScreen(hot ? 0x00C0C0C0 : 0x00606060));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    if (isDown() || (isCheckable() && isChecked())) {
        painter.setPen(QColorFromScreen(0x00404040));
        painter.drawRect(area.adjusted(1, 1, -2, -2));
    }
    painter.setPen(isEnabled() ? QColorFromScreen(text_) : QColor(0xA8, 0xA8, 0xA8));
    const QRect textArea = TextArea().translated(isDown() ? 1 : 0, isDown() ? 1 : 0);
    painter.setFont(captionFont_.For(font(), textArea, CaptionFlags, text()));
    painter.drawText(textArea, CaptionFlags, text());
    if (focusRectangle_ && hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = area.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    } else if (keyboardFocus_ && hasFocus()) {
        // Dashes in black or white, whichever stands out on the face colour.
        const QColor face = QColorFromScreen(face_);
        painter.setPen(QPen(face.lightnessF() > 0.5 ? Qt::black : Qt::white, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(3, 3, -4, -4));
    }
}

Panel::Panel(QWidget* parent) : QFrame(parent) {}

void Panel::SetFaceColour(ScreenColour colour) {
    RepaintOnChange(*this, face_, colour);
}

void Panel::SetCaption(const QString& caption, Qt::Alignment alignment) {
    if (caption_ != caption) {
        NameByCaption(*this, caption);
    }
    caption_ = caption;
    alignment_ = alignment;
    update();
}

void Panel::SetTextColour(ScreenColour colour) {
    RepaintOnChange(*this, text_, colour);
}

QRect Panel::TextArea() const {
    return rect().adjusted(2, 0, -2, 0);
}

bool Panel::CaptionFits() const {
    return captionFont_.Fits(font(), TextArea(), int(alignment_), DisplayText(caption_));
}

void Panel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColorFromScreen(face_));
    if (!caption_.isEmpty()) {
        painter.setPen(QColorFromScreen(text_));
        const QRect area = TextArea();
        const QString text = DisplayText(caption_);
        painter.setFont(captionFont_.For(font(), area, int(alignment_), text));
        painter.drawText(area, int(alignment_), text);
    }
}

void Panel::mousePressEvent(QMouseEvent* event) {
    emit Clicked();
    QFrame::mousePressEvent(event);
}

void Panel::leaveEvent(QEvent* event) {
    emit MouseLeft();
    QFrame::leaveEvent(event);
}

void Panel::mouseDoubleClickEvent(QMouseEvent* event) {
    emit DoubleClicked(event->modifiers());
    QFrame::mouseDoubleClickEvent(event);
}

ColourLabel::ColourLabel(QWidget* parent, bool vertical) : QWidget(parent), vertical_(vertical) {}

void ColourLabel::SetCaption(const QString& caption) {
    // The lock's caption is set on every status: named only when it changes.
    if (caption_ != caption) {
        NameByCaption(*this, caption);
        RepaintOnChange(*this, caption_, caption);
    }
}

void ColourLabel::SetColours(ScreenColour background, ScreenColour text) {
    if (background_ != background || text_ != text) {
        background_ = background;
        text_ = text;
        update();
    }
}

QRect ColourLabel::TextArea() const {
    return vertical_ ? QRect(0, 0, height(), width()) : rect();
}

bool ColourLabel::CaptionFits() const {
    return captionFont_.Fits(font(), TextArea(), textFlags_, DisplayText(caption_));
}

void ColourLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColorFromScreen(background_));
    painter.setPen(QColorFromScreen(text_));
    if (vertical_) {
        painter.translate(0, height());
        painter.rotate(-90);
    }
    const QRect area = TextArea();
    const QString text = DisplayText(caption_);
    painter.setFont(captionFont_.For(font(), area, textFlags_, text));
    painter.drawText(area, textFlags_, text);
}

DurationField::DurationField(QWidget* parent) : QDoubleSpinBox(parent) {
    setRange(0.1, 2.0);
    setSingleStep(0.1);
    setDecimals(1);
    setKeyboardTracking(false);
    lineEdit()->setReadOnly(true);
    setValue(0.3);
}

double DurationField::Value() const {
    return blank_ ? 0.1 : value();
}

void DurationField::SetValue(double seconds) {
    const QSignalBlocker blocker(this);
    blank_ = false;
    setValue(seconds);
    lineEdit()->setText(textFromValue(value()));
}

void DurationField::ClearText() {
    blank_ = true;
    lineEdit()->clear();
}

QString DurationField::textFromValue(double value) const {
    return blank_ ? QString() : QDoubleSpinBox::textFromValue(value);
}

QAbstractSpinBox::StepEnabled DurationField::stepEnabled() const {
    return isEnabled() ? (StepUpEnabled | StepDownEnabled) : StepNone;
}

void DurationField::stepBy(int steps) {
    const double stepped = std::clamp(Value() + 0.1 * steps, 0.1, 2.0);
    SetValue(stepped);
    emit Stepped();
}

void DurationField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        if (isEnabled()) {
            stepBy(event->key() == Qt::Key_PageUp ? 5 : -5);
        }
        event->accept();
        return;
    }
    QDoubleSpinBox::keyPressEvent(event);
}

void DurationField::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0 && isEnabled()) {
        stepBy(notches * ((event->modifiers() & Qt::ControlModifier) ? 5 : 1));
    }
    event->accept();
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMoved(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
    emit MousePressed(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void PaintBox::keyPressEvent(QKeyEvent* event) {
    if (OnKey && OnKey(event->key())) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PaintBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    emit FocusChanged(true);
}

void PaintBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    emit FocusChanged(false);
}

void PaintBox::paintEvent(QPaintEvent* event) {
    if (OnPaint) {
        QPainter painter(this);
        OnPaint(painter, event->rect());
    }
}

namespace {

// Gives the items of an owner-drawn menu the size its owner measures.
class OwnerDrawnMenuStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        const auto* menu = qobject_cast<const OwnerDrawnMenu*>(widget);
        if (type == CT_MenuItem && menu != nullptr && menu->MeasureItem) {
            const QSize measured = menu->MeasureItem();
            return {measured.width() + menu->CheckMarkWidth(), measured.height()};
        }
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
};

} // namespace

OwnerDrawnMenu::OwnerDrawnMenu(QWidget* parent) : QMenu(parent) {
    auto* itemStyle = new OwnerDrawnMenuStyle();
    itemStyle->setParent(this);
    setStyle(itemStyle);
}

int OwnerDrawnMenu::CheckMarkWidth() const {
    return style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
}

void OwnerDrawnMenu::paintEvent(QPaintEvent* event) {
    QMenu::paintEvent(event);
    if (!DrawItem) {
        return;
    }
    QPainter painter(this);
    for (const QAction* action : actions()) {
        const QRect area = actionGeometry(const_cast<QAction*>(action));
        if (area.isValid() && area.intersects(event->rect())) {
            painter.save();
            DrawItem(painter, area, action, action == activeAction());
            painter.restore();
        }
    }
}
