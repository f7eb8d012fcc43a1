#include "Dialogs.h"

#include <QColorDialog>
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

} // namespace Dialogs
