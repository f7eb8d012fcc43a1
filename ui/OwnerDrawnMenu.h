// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QMenu>

#include <functional>

// A popup menu whose items are measured and drawn by its owner. The platform
// adds the check-mark column to the measured width, as native menus do.
class OwnerDrawnMenu : public QMenu {
    Q_OBJECT
public:
    using Measure = std::function<QSize()>;
    using Draw = std::function<void(QPainter&, const QRect&, const QAction*, bool selected)>;

    explicit OwnerDrawnMenu(QWidget* parent = nullptr);
    void SetItemPainter(Measure measure, Draw draw);
    // Every item's size as the owner measures it, without the check-mark column.
    QSize MeasureItem() const { return measure_ ? measure_() : QSize(); }
    bool ItemsMeasured() const { return static_cast<bool>(measure_); }
    // The style's check-mark width, which the measured width leaves out.
    int CheckMarkWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Measure measure_;
    Draw draw_;
};
