// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QObject>
#include <QString>

#include <stdexcept>

// The control called `name` inside `window`, found the way the windows find their
// own controls. A name that is missing throws, so a renamed control fails loudly.
template <typename Control>
Control* FindControl(const QObject& window, const QString& name) {
    auto* control = window.findChild<Control*>(name);
    if (control == nullptr) {
        throw std::logic_error("no control " + name.toStdString());
    }
    return control;
}

// A strip's control: its name is the prefix followed by the channel ("BtnGPO5").
template <typename Control>
Control* FindControl(const QObject& window, const char* prefix, int channel) {
    return FindControl<Control>(window, QString(prefix) + QString::number(channel));
}
