// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QDoubleSpinBox>

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
