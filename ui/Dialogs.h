// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

// Every message box of the program goes through here, so that tests can record
// them instead of blocking on a modal window.
namespace Dialogs {

enum class Icon { Error, Warning };

struct Message {
    QString text; // as the program words it, with "\r\n" line breaks
    QString caption;
    Icon icon;
};

using Recorder = std::function<void(const Message&)>;

// Shows a modal box with a single OK button; `owner` may be null.
void ShowMessage(QWidget* owner, const QString& text, const QString& caption, Icon icon);

// While a recorder is set, messages go to it and nothing is shown.
void SetRecorder(Recorder recorder);

// The colour dialog (full, any colour), starting at `initial`; empty when cancelled.
std::optional<QColor> ChooseColour(QWidget* owner, const QColor& initial);

// While a chooser is set, it answers in place of the dialog.
using ColourChooser = std::function<std::optional<QColor>(const QColor& initial)>;
void SetColourChooser(ColourChooser chooser);

// A Yes/No question captioned "Confirm" with a warning icon, No the default: true for Yes.
bool Confirm(QWidget* owner, const QString& question);
using Answerer = std::function<bool(const QString& question)>;
void SetAnswerer(Answerer answerer);

// The open and save dialogs for settings files: title, starting folder, the
// filter "GPIO/GPI Settings (*.gpi)" and the default suffix "gpi"; and the save
// dialog for a plain-text report, starting at a suggested file. The chosen
// file's path, or nothing when cancelled. Opening needs an existing file.
enum class FileDialog { Open, Save, SaveReport };
std::optional<QString> ChooseFile(QWidget* owner, FileDialog kind, const QString& folder);
using FileChooser = std::function<std::optional<QString>(FileDialog kind, const QString& folder)>;
void SetFileChooser(FileChooser chooser);

// The differences between the panel's configuration and a settings file, one
// line each, with a button that loads the file: true when the user chose it.
bool ShowDifferences(QWidget* owner, const QString& file, const QStringList& differences);
using DifferencesAnswerer =
    std::function<bool(const QString& file, const QStringList& differences)>;
void SetDifferencesAnswerer(DifferencesAnswerer answerer);

} // namespace Dialogs
