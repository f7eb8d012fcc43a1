#include "ui/Dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace Dialogs {

namespace {
Recorder& CurrentRecorder() {
    static Recorder recorder;
    return recorder;
}
ColourChooser& CurrentColourChooser() {
    static ColourChooser chooser;
    return chooser;
}
Answerer& CurrentAnswerer() {
    static Answerer answerer;
    return answerer;
}
FileChooser& CurrentFileChooser() {
    static FileChooser chooser;
    return chooser;
}
} // namespace

void ShowMessage(QWidget* owner, const QString& text, const QString& caption, Icon icon) {
    if (CurrentRecorder()) {
        CurrentRecorder()(Message{text, caption, icon});
        return;
    }
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Warning, caption,
                    shown, QMessageBox::Ok, owner);
    box.exec();
}

void SetRecorder(Recorder recorder) {
    CurrentRecorder() = std::move(recorder);
}

std::optional<QColor> ChooseColour(QWidget* owner, const QColor& initial) {
    if (CurrentColourChooser()) {
        return CurrentColourChooser()(initial);
    }
    const QColor chosen = QColorDialog::getColor(initial, owner);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return chosen;
}

void SetColourChooser(ColourChooser chooser) {
    CurrentColourChooser() = std::move(chooser);
}

bool Confirm(QWidget* owner, const QString& question) {
    if (CurrentAnswerer()) {
        return CurrentAnswerer()(question);
    }
    QMessageBox box(QMessageBox::Warning, "Confirm", question, QMessageBox::Yes | QMessageBox::No,
                    owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void SetAnswerer(Answerer answerer) {
    CurrentAnswerer() = std::move(answerer);
}

std::optional<QString> ChooseSettingsFile(QWidget* owner, FileDialog kind, const QString& folder) {
    if (CurrentFileChooser()) {
        return CurrentFileChooser()(kind, folder);
    }
    QFileDialog dialog(owner, kind == FileDialog::Open ? "Load" : "Save", folder,
                       "GPIO/GPI Settings (*.gpi)");
    dialog.setDefaultSuffix("gpi");
    if (kind == FileDialog::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        // The format has always overwritten without asking.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

void SetFileChooser(FileChooser chooser) {
    CurrentFileChooser() = std::move(chooser);
}

} // namespace Dialogs
