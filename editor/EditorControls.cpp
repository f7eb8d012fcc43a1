// SPDX-License-Identifier: Apache-2.0
#include "editor/EditorControls.h"

#include "editor/EditorLook.h"
#include "ui/ColourButton.h"
#include "ui/ControlText.h"
#include "ui/Panel.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QMenu>

Panel* MakePanel(QWidget* parent, const QString& name, QRect geometry) {
    auto* panel = new Panel(parent);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    return panel;
}

ColourButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                         QRect geometry) {
    auto* button = new ColourButton(parent);
    button->setObjectName(name);
    button->SetCaption(caption);
    button->setGeometry(geometry);
    return button;
}

ColourButton* MakeCommandButton(QWidget* parent, const QString& name, const QString& caption,
                                QRect geometry) {
    auto* button = MakeButton(parent, name, caption, geometry);
    button->setFont(PixelFont("Tahoma", 11, true));
    button->SetFaceColour(WindowColour);
    button->SetTextColour(0x00FFFFFF);
    return button;
}

QMenu* MakeMenu(QWidget* parent, const QString& name) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(name);
    return menu;
}

QAction* AddMenuItem(QMenu* menu, const QString& name, const QString& caption, int value) {
    QAction* action = menu->addAction(DisplayText(caption));
    action->setObjectName(name);
    action->setData(value);
    return action;
}

void UseLightField(QComboBox& box) {
    QPalette palette = box.palette();
    for (const QPalette::ColorRole role : {QPalette::Button, QPalette::Base, QPalette::Window}) {
        palette.setColor(role, QColor(0xED, 0xED, 0xED));
    }
    for (const QPalette::ColorRole role :
         {QPalette::ButtonText, QPalette::Text, QPalette::WindowText}) {
        palette.setColor(QPalette::Active, role, Qt::black);
        palette.setColor(QPalette::Inactive, role, Qt::black);
    }
    box.setPalette(palette);
}

void UseLightField(QDoubleSpinBox& field) {
    QPalette palette = field.palette();
    palette.setColor(QPalette::Base, QColor(0xED, 0xED, 0xED));
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8C, 0x8C, 0x8C));
    // A disabled field's frame is drawn from the window colour: light, as on
    // the light field.
    palette.setColor(QPalette::Disabled, QPalette::Window, QColor(0xED, 0xED, 0xED));
    for (const QPalette::ColorGroup colourGroup : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(colourGroup, QPalette::ButtonText, Qt::black); // the step arrows
        palette.setColor(colourGroup, QPalette::WindowText, Qt::black);
    }
    field.setPalette(palette);
}

void ForwardClicks(Panel& part, std::initializer_list<Panel*> panels) {
    for (Panel* panel : panels) {
        QObject::connect(panel, &Panel::Clicked, &part, &Panel::Clicked);
    }
}

QString ColourButtonName(int state, int channel) {
    return channel == 0 ? QString("BtnC%1").arg(state)
                        : QString("BtnC%1_%2").arg(state).arg(channel);
}
