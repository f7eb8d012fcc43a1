// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QFont>
#include <QString>

// Captions are written with "\r\n" line breaks; Qt draws "\n".
QString DisplayText(const QString& caption);

// A font of the given family and pixel size.
QFont PixelFont(const QString& family, int pixelSize, bool bold = false);

// Captions keep the controls' fixed places in every language: a caption that
// does not fit is drawn smaller, down to this many pixels.
inline constexpr int SmallestTextPixels = 7;

// A check box or push button of a fixed width takes a smaller font for its text
// where its text would not fit.
void FitButtonText(QAbstractButton& button);

// A combo box of a fixed width takes a smaller font where one of its items
// would not fit its text field ("n/a" in a long language).
void FitComboBoxItems(QComboBox& box);
