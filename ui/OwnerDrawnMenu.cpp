// SPDX-License-Identifier: Apache-2.0
#include "ui/OwnerDrawnMenu.h"

#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>

namespace {

// Gives the items of an owner-drawn menu the size its owner measures.
class OwnerDrawnMenuStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        const auto* menu = qobject_cast<const OwnerDrawnMenu*>(widget);
        if (type == CT_MenuItem && menu != nullptr && menu->ItemsMeasured()) {
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

void OwnerDrawnMenu::SetItemPainter(Measure measure, Draw draw) {
    measure_ = std::move(measure);
    draw_ = std::move(draw);
}

int OwnerDrawnMenu::CheckMarkWidth() const {
    return style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
}

void OwnerDrawnMenu::paintEvent(QPaintEvent* event) {
    QMenu::paintEvent(event);
    if (!draw_) {
        return;
    }
    QPainter painter(this);
    for (const QAction* action : actions()) {
        const QRect area = actionGeometry(const_cast<QAction*>(action));
        if (area.isValid() && area.intersects(event->rect())) {
            painter.save();
            draw_(painter, area, action, action == activeAction());
            painter.restore();
        }
    }
}
