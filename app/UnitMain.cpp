// SPDX-License-Identifier: Apache-2.0
#include "app/UnitMain.h"

#include "editor/UnitGPI.h"
#include "link/D2XXUnit_mod.h"
#include "link/MachineReport.h"
#include "link/OpenPanel.h"
#include "link/PanelDiagnosis.h"
#include "link/PanelFilter.h"
#include "model/IniFile.h"
#include "model/ProgramPaths.h"
#include "model/RegularFile.h"
#include "ui/Dialogs.h"
#include "ui/ProgramIcon.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

Q_LOGGING_CATEGORY(lcApp, "quvo.app", QtWarningMsg)

namespace {

const char* const WindowSection = "WINDOW";

// The list, which says in its empty area why no panel is listed.
class DeviceListView : public QTreeWidget {
public:
    explicit DeviceListView(QWidget* parent) : QTreeWidget(parent) {}
    void SetEmptyText(const QString& text) {
        if (emptyText_ != text) {
            emptyText_ = text;
            viewport()->update();
        }
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QTreeWidget::paintEvent(event);
        if (topLevelItemCount() == 0 && !emptyText_.isEmpty()) {
            QPainter painter(viewport());
            painter.setPen(QColor(0x60, 0x60, 0x60));
            painter.drawText(viewport()->rect().adjusted(8, 8, -8, -8),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, emptyText_);
        }
    }

private:
    QString emptyText_;
};

} // namespace

TFormMain::TFormMain(QString programSettingsFile, QWidget* parent)
    : QWidget(parent), programSettingsFile_(std::move(programSettingsFile)) {
    setObjectName("FormMain");
    setWindowTitle(QString(ApplicationTitle) + " v" + QUVO_VERSION);
    setWindowIcon(ProgramIcon());
    setMinimumSize(400, 200);
    setAutoFillBackground(true);
    // A fixed background takes its text colour with it, so that a dark desktop
    // theme's light text never lands on it.
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, QColor(0xED, 0xED, 0xED));
    windowPalette.setColor(QPalette::WindowText, Qt::black);
    setPalette(windowPalette);

    LView = new DeviceListView(this);
    LView->setObjectName("LView");
    LView->setAccessibleName(tr("Panels"));
    LView->setRootIsDecorated(false);
    LView->setUniformRowHeights(true);
    LView->setSelectionMode(QAbstractItemView::SingleSelection);
    LView->setSelectionBehavior(QAbstractItemView::SelectRows);
    LView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LView->setFrameShape(QFrame::Box);
    QFont listFont("Tahoma");
    listFont.setPixelSize(12);
    LView->setFont(listFont);
    LView->setHeaderLabels({tr("Name"), tr("S/N")});
    LView->header()->setSectionsClickable(false);
    LView->header()->setMinimumSectionSize(100);
    LView->header()->setStretchLastSection(true);
    LView->setStyleSheet("QTreeWidget { background: white; color: black; }");
    QPalette listPalette = LView->palette();
    // The selection stays visible when the list loses the focus.
    listPalette.setColor(QPalette::Inactive, QPalette::Highlight,
                         listPalette.color(QPalette::Active, QPalette::Highlight));
    listPalette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         listPalette.color(QPalette::Active, QPalette::HighlightedText));
    LView->setPalette(listPalette);
    LView->installEventFilter(this);
    LView->viewport()->installEventFilter(this);
    // Under the list only while it is empty; hidden, the row takes no room.
    reportRow_ = new QWidget(this);
    BtnSaveReport = new QPushButton(tr("Save report..."), reportRow_);
    BtnSaveReport->setObjectName("BtnSaveReport");
    BtnSaveReport->setAccessibleName(tr("Save report"));
    BtnSaveReport->setToolTip(
        tr("Saves a plain-text report of the USB devices, the driver and the permissions, to "
           "attach to a question about a panel that is not listed"));
    connect(BtnSaveReport, &QPushButton::clicked, this, &TFormMain::SaveReport);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(LView);
    auto* reportRow = new QHBoxLayout(reportRow_);
    reportRow->setContentsMargins(8, 6, 8, 6);
    reportRow->addStretch();
    reportRow->addWidget(BtnSaveReport);
    reportRow_->hide();
    layout->addWidget(reportRow_);

    Timer.setInterval(2000);
    connect(&Timer, &QTimer::timeout, this, [this] { TimerTimer(true); });
    QTimer::singleShot(0, this, &TFormMain::FirstIdle);

    ShowErrors = false;
    LoadWindowSettings();
}

void TFormMain::FirstIdle() {
    if (!settingsFileError_.isEmpty()) {
        Dialogs::ShowMessage(
            this, settingsFileError_ + "\r\n\r\n" + tr("The program goes on with its defaults."),
            tr("Error"), Dialogs::Icon::Warning);
    }
    TimerTimer(false);
    qCInfo(lcApp) << "device list shown with" << EntryCount << "panels";
}

void TFormMain::LoadWindowSettings() {
    const IniFile ini(programSettingsFile_);
    settingsFileError_ = ini.LoadError();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // Read whole, limited, and only then narrowed to the window's int coordinates.
    const auto coordinate = [&](const char* key, long long fallback) {
        const long long value = ini.ReadInteger(WindowSection, key, fallback);
        return int(std::clamp(value, -1000000LL, 1000000LL));
    };
    const int left = coordinate("LEFT", (screen.width() - 500) / 2);
    const int top = coordinate("TOP", (screen.height() - 300) / 2);
    long long storedWidth = ini.ReadInteger(WindowSection, "WIDTH", 500);
    long long storedHeight = ini.ReadInteger(WindowSection, "HEIGHT", 300);
    if (storedWidth > screen.width()) {
        storedWidth = 500;
    }
    if (storedHeight > screen.height()) {
        storedHeight = 300;
    }
    resize(int(std::max(storedWidth, 0LL)), int(std::max(storedHeight, 0LL)));
    // A place off every screen (a monitor removed, a lower resolution) would leave
    // the window out of reach.
    QList<QRect> areas;
    for (const QScreen* each : QGuiApplication::screens()) {
        areas.append(each->availableGeometry());
    }
    move(ReachablePosition(QRect(QPoint(left, top), size()), areas,
                           QGuiApplication::primaryScreen()->availableGeometry()));
    if (ini.ReadBool(WindowSection, "MAXIMIZED", false)) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    // The list fills the window; its client area lies inside its one-pixel frame.
    const int listClientWidth = width() - 2 * LView->frameWidth();
    LView->setColumnWidth(0,
                          int(ini.ReadInteger(WindowSection, "COL_NAME_WD", listClientWidth / 2)));
    if (LView->columnWidth(0) < 100) {
        LView->setColumnWidth(0, 100);
    }
    // Only an absolute folder that exists: a relative one would be taken against
    // whatever the current folder happens to be.
    const QString folder =
        QString::fromStdString(ini.ReadString(WindowSection, "PATH", std::string()));
    if (QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir()) {
        CurrentPaths().settingsFolder = WithTrailingSeparator(folder);
    }
}

void TFormMain::SaveWindowSettings() {
    IniFile ini(programSettingsFile_);
    if (!ini.LoadError().isEmpty()) {
        return; // a file that was not read is not overwritten; the user was told at start
    }
    const bool maximized = isMaximized();
    if (!maximized) {
        ini.WriteInteger(WindowSection, "LEFT", x());
        ini.WriteInteger(WindowSection, "TOP", y());
        ini.WriteInteger(WindowSection, "WIDTH", width());
        ini.WriteInteger(WindowSection, "HEIGHT", height());
    }
    ini.WriteBool(WindowSection, "MAXIMIZED", maximized);
    ini.WriteInteger(WindowSection, "COL_NAME_WD", LView->columnWidth(0));
    // A folder whose name holds a line break cannot be stored; the next start then
    // begins in the default folder, and the log says why.
    if (!ini.WriteString(WindowSection, "PATH", CurrentPaths().settingsFolder.toStdString())) {
        qCWarning(lcApp) << "settings folder not stored, its name holds a line break:"
                         << CurrentPaths().settingsFolder;
    }
    ini.UpdateFile();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    ClearEntries();
    try {
        SaveWindowSettings();
    } catch (const std::exception& error) {
        Dialogs::ShowMessage(this, QString::fromStdString(error.what()), tr("Error"),
                             Dialogs::Icon::Error);
    }
    event->accept();
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LView && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            OpenSelectedDevice();
            return true;
        }
    }
    if (watched == LView->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        OpenSelectedDevice();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFormMain::TimerTimer(bool fromTimer) {
    if (!Timer.isActive() && fromTimer) {
        return;
    }
    Timer.stop();
    if (EnumerateDevices() != FT_OK) {
        Dialogs::ShowMessage(this, tr("Cannot get USB Device List"), tr("Error"),
                             Dialogs::Icon::Error);
        return;
    }
    // The list is rebuilt only when the panels differ, so a selection survives.
    if (std::vector<TGPIItem> panels = ListedPanels(); panels != Entries) {
        RebuildEntries(panels);
    }
    ExplainEmptyList();
    Timer.start();
}

void TFormMain::ExplainEmptyList() {
    if (EntryCount > 0) {
        emptyListText_.clear();
    } else {
        // The system's view says whether a panel is plugged in but held or barred.
        std::vector<AttachedChip> chips =
            FindAttachedChips(diagnosisSysfsRoot_, diagnosisDeviceRoot_, diagnosisCanOpen_);
        MarkPanelsInUse(chips, {});
        emptyListText_ = EmptyListText(chips);
    }
    static_cast<DeviceListView*>(LView)->SetEmptyText(emptyListText_);
    reportRow_->setVisible(!emptyListText_.isEmpty());
}

void TFormMain::SaveReport() {
    const std::optional<QString> file = Dialogs::ChooseFile(
        this, Dialogs::FileDialog::SaveReport, QDir::home().filePath("quvo8261-report.txt"));
    if (!file) {
        return;
    }
    try {
        const MachineFacts facts =
            ReadMachineFacts(QString("QUVO8261 ") + QUVO_VERSION, backEndWords_,
                             diagnosisSysfsRoot_, diagnosisDeviceRoot_, diagnosisCanOpen_);
        WriteRegularFile(FilePath(*file), MachineReport(facts).toStdString());
    } catch (const std::exception& error) {
        Dialogs::ShowMessage(this, QString::fromStdString(error.what()), tr("Error"),
                             Dialogs::Icon::Error);
    }
}

void TFormMain::SetDiagnosisSources(QString sysfsRoot, QString deviceRoot,
                                    std::function<bool(const QString&)> canOpen) {
    diagnosisSysfsRoot_ = std::move(sysfsRoot);
    diagnosisDeviceRoot_ = std::move(deviceRoot);
    diagnosisCanOpen_ = std::move(canOpen);
}

void TFormMain::ClearEntries() {
    LView->clear();
    EntryCount = 0;
    Entries.clear();
}

void TFormMain::RebuildEntries(const std::vector<TGPIItem>& panels) {
    const bool hadSelection = !LView->selectedItems().isEmpty();
    ClearEntries();
    LView->viewport()->update();
    for (const TGPIItem& item : panels) {
        Entries.push_back(item);
        ++EntryCount;
        new QTreeWidgetItem(LView, {QString::fromStdString(item.Description),
                                    QString::fromStdString(item.SerialNumber)});
        qCInfo(lcApp).noquote() << "device list entry" << QString::fromStdString(item.Description)
                                << QString::fromStdString(item.SerialNumber);
    }
    // A rebuild drops the user's selection; a list that had none (at start, or
    // when the first panel is plugged in) gets its first row selected, so Enter
    // opens a panel without an arrow key first.
    if (EntryCount > 0 && !hadSelection) {
        LView->setCurrentItem(LView->topLevelItem(0));
    }
}

void TFormMain::SelectRow(int row) {
    LView->setCurrentItem(LView->topLevelItem(row));
}

void TFormMain::OpenSelectedDevice() {
    Timer.stop();
    const QModelIndex current = LView->currentIndex();
    const int selected = LView->selectionModel()->isSelected(current) ? current.row() : -1;
    if (selected >= 0 && selected < EntryCount) {
        EditPanel(Entries[selected]);
    }
    // Once the panel is shut down, so that the list shows it free again.
    TimerTimer(false);
}

void TFormMain::EditPanel(const TGPIItem& entry) {
    // The library's failures during the set-up each in a box; the port is shut
    // down when the editor has closed.
    const OpenPanel panel(entry.LocationId, [](const std::string& text) {
        Dialogs::ShowMessage(QApplication::activeWindow(), QString::fromStdString(text),
                             tr("Error"), Dialogs::Icon::Error);
    });
    if (!panel.IsOpen()) {
        return;
    }
    editor_->SetChannelMask(QString::fromStdString(SplitAtLastDot(entry.SerialNumber).second));
    editor_->SetPanelSerial(QString::fromStdString(entry.SerialNumber));
    editor_->GoOffline();
    const QRect centred(geometry().center() - editor_->rect().center(), editor_->size());
    const QScreen* screen = QGuiApplication::screenAt(geometry().center());
    editor_->move(KeptInside(
        centred,
        (screen != nullptr ? screen : QGuiApplication::primaryScreen())->availableGeometry()));
    hide();
    editor_->setWindowTitle(QString::fromStdString(entry.Description));
    editor_->StartLink();
    RunEditorUntilClosed();
    editor_->DeviceThread().Stop();
    // The link's end notice is handled now, so it can never close a later opening.
    QCoreApplication::sendPostedEvents(editor_, MsgLinkEnded);
    show();
}

void TFormMain::RunEditorUntilClosed() {
    // Only this window, hidden meanwhile, waits for the editor: a modal editor
    // would also block the virtual panels window, whose keys and plug must stay
    // live while a panel is edited.
    setEnabled(false);
    QEventLoop loop;
    connect(editor_, &QDialog::finished, &loop, &QEventLoop::quit);
    editor_->show();
    loop.exec();
    setEnabled(true);
}
