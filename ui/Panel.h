// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/UnitProcs.h"
#include "ui/CaptionFont.h"

#include <QFrame>

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
