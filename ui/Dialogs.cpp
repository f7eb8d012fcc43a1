// SPDX-License-Identifier: Apache-2.0
#include "ui/Dialogs.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QObject>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <vector>

namespace Dialogs {

namespace {

// What answers in place of a dialog while a test has set it; one per kind.
template <typename Hook>
Hook& Current() {
    static Hook hook;
    return hook;
}

// A dialog with an owner blocks the owner's window only: the other windows (the
// virtual panels, whose keys and plug stay live) keep taking input meanwhile.
int RunBlockingOwnerOnly(QDialog& dialog, QWidget* owner) {
    if (owner != nullptr) {
        dialog.setWindowModality(Qt::WindowModal);
    }
    return dialog.exec();
}

// The colours a line names ("#RRGGBB"), side by side as small swatches; none
// for a line without a colour.
QIcon SwatchesOf(const QString& line) {
    static const QRegularExpression colour("#[0-9A-Fa-f]{6}\\b");
    std::vector<QColor> colours;
    for (auto match = colour.globalMatch(line); match.hasNext();) {
        colours.emplace_back(match.next().captured());
    }
    if (colours.empty()) {
        return {};
    }
    QPixmap swatches(int(colours.size()) * 16, 14);
    swatches.fill(Qt::transparent);
    QPainter painter(&swatches);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        painter.setPen(Qt::black);
        painter.setBrush(colours[i]);
        painter.drawRect(int(i) * 16, 0, 13, 13);
    }
    return QIcon(swatches);
}

} // namespace

void ShowMessage(QWidget* owner, const QString& text, const QString& caption, Icon icon) {
    if (Current<Recorder>()) {
        Current<Recorder>()(Message{text, caption, icon});
        return;
    }
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Warning, caption,
                    shown, QMessageBox::Ok, owner);
    RunBlockingOwnerOnly(box, owner);
}

void SetRecorder(Recorder recorder) {
    Current<Recorder>() = std::move(recorder);
}

std::optional<QColor> ChooseColour(QWidget* owner, const QColor& initial) {
    if (Current<ColourChooser>()) {
        return Current<ColourChooser>()(initial);
    }
    QColorDialog dialog(initial, owner);
    if (RunBlockingOwnerOnly(dialog, owner) != QDialog::Accepted ||
        !dialog.selectedColor().isValid()) {
        return std::nullopt;
    }
    return dialog.selectedColor();
}

void SetColourChooser(ColourChooser chooser) {
    Current<ColourChooser>() = std::move(chooser);
}

bool Confirm(QWidget* owner, const QString& question) {
    if (Current<Answerer>()) {
        return Current<Answerer>()(question);
    }
    QMessageBox box(QMessageBox::Warning, QObject::tr("Confirm"), question,
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    return RunBlockingOwnerOnly(box, owner) == QMessageBox::Yes;
}

void SetAnswerer(Answerer answerer) {
    Current<Answerer>() = std::move(answerer);
}

std::optional<QString> ChooseFile(QWidget* owner, FileDialog kind, const QString& folder) {
    if (Current<FileChooser>()) {
        return Current<FileChooser>()(kind, folder);
    }
    const bool report = kind == FileDialog::SaveReport;
    const QString title = report                     ? QObject::tr("Save report")
                          : kind == FileDialog::Open ? QObject::tr("Load")
                                                     : QObject::tr("Save");
    QFileDialog dialog(owner, title, folder,
                       report ? QObject::tr("Text files") + " (*.txt)"
                              : QObject::tr("GPIO/GPI Settings") + " (*.gpi)");
    dialog.setDefaultSuffix(report ? "txt" : "gpi");
    dialog.setAcceptMode(kind == FileDialog::Open ? QFileDialog::AcceptOpen
                                                  : QFileDialog::AcceptSave);
    dialog.setFileMode(kind == FileDialog::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (kind == FileDialog::Save) {
        // The settings format has always overwritten without asking.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (RunBlockingOwnerOnly(dialog, owner) != QDialog::Accepted ||
        dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

void SetFileChooser(FileChooser chooser) {
    Current<FileChooser>() = std::move(chooser);
}

bool ShowDifferences(QWidget* owner, const QString& file, const QStringList& differences) {
    if (Current<DifferencesAnswerer>()) {
        return Current<DifferencesAnswerer>()(file, differences);
    }
    QDialog dialog(owner);
    dialog.setObjectName("CompareDialog");
    dialog.setWindowTitle(QObject::tr("Compare with File"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* title = new QLabel(QObject::tr("The panel and %1:").arg(file), &dialog);
    title->setWordWrap(true);
    layout->addWidget(title);
    auto* list = new QListWidget(&dialog);
    list->setObjectName("CompareList");
    list->setAccessibleName(QObject::tr("Differences"));
    list->addItems(differences.isEmpty() ? QStringList{QObject::tr("No differences.")}
                                         : differences);
    for (int row = 0; row < list->count(); ++row) {
        list->item(row)->setIcon(SwatchesOf(list->item(row)->text()));
    }
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* load = buttons->addButton(QObject::tr("Load File"), QDialogButtonBox::AcceptRole);
    load->setObjectName("CompareLoad");
    load->setAutoDefault(false);
    // Enter closes: loading overwrites the panel, and every other question of
    // the program defaults to No as well.
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName("CompareClose");
    close->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(420, 300);
    return RunBlockingOwnerOnly(dialog, owner) == QDialog::Accepted;
}

void SetDifferencesAnswerer(DifferencesAnswerer answerer) {
    Current<DifferencesAnswerer>() = std::move(answerer);
}

} // namespace Dialogs
