#include "Dialogs.h"

#include <QMessageBox>

namespace Dialogs {

namespace {
Recorder& CurrentRecorder() {
    static Recorder recorder;
    return recorder;
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

} // namespace Dialogs
