// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QWidget>

#include <functional>

// A widget whose painting is done by its owner, given the area to paint.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter&, const QRect&)>;
    // The keys the owner takes (true); others go on as usual.
    using KeyHandler = std::function<bool(int key)>;

    explicit PaintBox(QWidget* parent = nullptr) : QWidget(parent) {}
    void SetPainter(Painter painter) { painter_ = std::move(painter); }
    void SetKeyHandler(KeyHandler handler) { keyHandler_ = std::move(handler); }

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

private:
    Painter painter_;
    KeyHandler keyHandler_;
};
