// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QRect>
#include <QString>

#include <initializer_list>

class ColourButton;
class Panel;
class QAction;
class QComboBox;
class QDoubleSpinBox;
class QMenu;
class QWidget;

// How the editor's parts make their controls: each with its object name (tests,
// screen readers and the picture tour find it by that) and its fixed place.
Panel* MakePanel(QWidget* parent, const QString& name, QRect geometry);
ColourButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                         QRect geometry);
// Close, Off, Load, Save, TEST and MEMORY: bold white text on the window colour.
ColourButton* MakeCommandButton(QWidget* parent, const QString& name, const QString& caption,
                                QRect geometry);
QMenu* MakeMenu(QWidget* parent, const QString& name);
// An item whose data is `value` (a palette slot, a level, a function).
QAction* AddMenuItem(QMenu* menu, const QString& name, const QString& caption, int value = 0);
// The light grey fields with black text of the group boxes and duration fields,
// by palette: a style sheet would give them a new palette at every paint.
void UseLightField(QComboBox& box);
void UseLightField(QDoubleSpinBox& field);

// A click on any of `panels` inside a part is a click on the part (Panel::Clicked).
void ForwardClicks(Panel& part, std::initializer_list<Panel*> panels);

// The name of the colour button of a signal state on a channel; channel 0: the
// legend's button of that state.
QString ColourButtonName(int state, int channel);
