// SPDX-License-Identifier: Apache-2.0
#include "app/VirtualPanelsWindow.h"

#include "model/UnitProcs.h"
#include "ui/ProgramIcon.h"
#include "ui/ScreenColour.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPen>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr ScreenColour DarkKey = 0x00303030;
constexpr ScreenColour LampOn = 0x0000C8FF; // amber
constexpr ScreenColour LampOff = 0x00404040;

// A panel key: a square face in the key's colour. Mouse and Space press it.
class PanelKey : public QPushButton {
public:
    explicit PanelKey(QWidget* parent) : QPushButton(parent) {
        setFixedSize(40, 40);
        setAutoDefault(false);
    }
    void SetFace(ScreenColour face) {
        if (face_ != face) {
            face_ = face;
            update();
        }
    }
    ScreenColour Face() const { return face_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x20, 0x20, 0x20));
        painter.fillRect(rect().adjusted(3, 3, -3, -3), QColorFromScreen(face_));
        painter.setPen(hasFocus() ? Qt::white : QColor(0x60, 0x60, 0x60));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        if (isDown()) {
            painter.drawRect(rect().adjusted(1, 1, -2, -2));
        }
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignCenter, text());
    }

private:
    ScreenColour face_ = DarkKey;
};

// A round lamp for a GPIO output.
class Lamp : public QWidget {
public:
    explicit Lamp(QWidget* parent) : QWidget(parent) { setFixedSize(12, 12); }
    void SetOn(bool on) {
        if (on_ != on) {
            on_ = on;
            update();
        }
    }
    bool On() const { return on_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColorFromScreen(on_ ? LampOn : LampOff));
        // A ring in the theme's text colour keeps a lamp that is off visible on a
        // dark window as on a light one.
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
        painter.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    }

private:
    bool on_ = false;
};

} // namespace

VirtualPanelsWindow::VirtualPanelsWindow(QWidget* parent) : QWidget(parent) {
    setObjectName("FormVirtualPanels");
    setWindowTitle(tr("Virtual panels"));
    setWindowIcon(ProgramIcon());
    // The panels scroll where the screen is too small for them (a rack of
    // sixteen, a scale factor of 2).
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("ScrollVirtualPanels");
    scroll_->setAccessibleName(tr("Virtual panels"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    auto* content = new QWidget(scroll_);
    auto* layout = new QVBoxLayout(content);
    const auto devices = VirtualBus::Instance().Devices();
    for (std::size_t i = 0; i < devices.size(); ++i) {
        AddRow(devices[i], int(i), content);
        layout->addWidget(content->findChild<QWidget*>(QString("VirtualPanel%1").arg(i)));
    }
    layout->addStretch();
    scroll_->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll_);
    // At most 30 pictures a second, and only of what changed.
    refresh_.setInterval(33);
    connect(&refresh_, &QTimer::timeout, this, &VirtualPanelsWindow::Refresh);
    refresh_.start();
    Refresh();
}

QSize VirtualPanelsWindow::FullSize() const {
    return scroll_->widget()->sizeHint();
}

void VirtualPanelsWindow::AddRow(const VirtualBus::AttachedDevice& device, int index,
                                 QWidget* content) {
    Row row;
    row.device = device;
    row.present = ParseChannelMask(SplitAtLastDot(device.info.serialNumber).second);
    auto* box = new QWidget(content);
    box->setObjectName(QString("VirtualPanel%1").arg(index));
    auto* grid = new QGridLayout(box);
    const QString name =
        QString::fromStdString(device.info.description + " (" + device.info.serialNumber + ")");
    grid->addWidget(new QLabel(name, box), 0, 0, 1, ChannelCount + 3);
    const std::shared_ptr<VirtualPanel> panel = device.panel;

    for (int channel = 1; channel <= ChannelCount; ++channel) {
        auto* key = new PanelKey(box);
        key->setText(QString::number(channel));
        key->setObjectName(QString("Key%1").arg(channel));
        key->setAccessibleName(tr("%1 key %2").arg(name).arg(channel));
        key->setEnabled(row.present[channel]);
        connect(key, &QPushButton::pressed, this,
                [panel, channel] { panel->PressKey(channel, true); });
        connect(key, &QPushButton::released, this,
                [panel, channel] { panel->PressKey(channel, false); });
        auto* lamp = new Lamp(box);
        lamp->setObjectName(QString("Lamp%1").arg(channel));
        lamp->setAccessibleName(tr("%1 GPIO output %2").arg(name).arg(channel));
        auto* gpi = new QCheckBox("GPI", box);
        gpi->setObjectName(QString("Gpi%1").arg(channel));
        gpi->setAccessibleName(tr("%1 GPI input %2").arg(name).arg(channel));
        gpi->setEnabled(row.present[channel]);
        connect(gpi, &QCheckBox::toggled, this,
                [panel, channel](bool on) { panel->SetGpi(channel, on); });
        grid->addWidget(key, 1, channel - 1, Qt::AlignCenter);
        grid->addWidget(lamp, 2, channel - 1, Qt::AlignCenter);
        grid->addWidget(gpi, 3, channel - 1, Qt::AlignCenter);
        row.keys[channel] = key;
        row.lamps[channel] = lamp;
        row.gpiSwitches[channel] = gpi;
    }
    for (int f = 0; f < 2; ++f) {
        auto* key = new PanelKey(box);
        key->setText(QString("F%1").arg(f + 1));
        key->setObjectName(QString("KeyF%1").arg(f + 1));
        key->setAccessibleName(tr("%1 key F%2").arg(name).arg(f + 1));
        key->SetFace(0x00FFFFFF);
        const int number = f + 1;
        connect(key, &QPushButton::pressed, this,
                [panel, number] { panel->SetKeyState(number, 1); });
        connect(key, &QPushButton::released, this,
                [panel, number] { panel->SetKeyState(number, 0); });
        grid->addWidget(key, 1, ChannelCount + f, Qt::AlignCenter);
        row.functionKeys[f] = key;
    }
    row.lock = new QCheckBox(tr("Locked"), box);
    row.lock->setObjectName("Lock");
    row.lock->setAccessibleName(tr("%1 key lock turned").arg(name));
    connect(row.lock, &QCheckBox::toggled, this,
            [panel](bool locked) { panel->SetLockState(locked ? 1 : 0); });
    grid->addWidget(row.lock, 2, ChannelCount, 1, 2);
    row.plugged = new QCheckBox(tr("Plugged in"), box);
    row.plugged->setObjectName("Plugged");
    row.plugged->setAccessibleName(tr("%1 plugged in").arg(name));
    row.plugged->setChecked(true);
    const VirtualDeviceInfo info = device.info;
    connect(row.plugged, &QCheckBox::toggled, this, [this, info, panel](bool plugged) {
        if (plugged) {
            VirtualBus::Instance().PlugIn(info, panel);
        } else {
            VirtualBus::Instance().RemoveDevice(info.locationId);
        }
        Refresh();
    });
    grid->addWidget(row.plugged, 3, ChannelCount, 1, 2);
    rows_.push_back(row);
}

void VirtualPanelsWindow::Refresh() {
    for (Row& row : rows_) {
        const StatusBlock status = row.device.panel->Status();
        const ConfigBlock configuration = row.device.panel->Configuration();
        // The USB plug is the panel's only power: unplugged, it is dark.
        const bool powered = row.plugged->isChecked();
        if (status == row.status && configuration == row.configuration && powered == row.powered) {
            continue;
        }
        row.status = status;
        row.configuration = configuration;
        row.powered = powered;
        // A key shows the display colour, as the editor computes it, of the colour
        // configured for its channel's signal state; a channel the panel lacks is dark.
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            const std::uint8_t state = status[StatusStateOffset(channel)];
            ScreenColour face = DarkKey;
            if (row.present[channel] && powered) {
                face = ColourEntryOf(configuration, channel, state & 3).DisplayColor;
            }
            static_cast<PanelKey*>(row.keys[channel])->SetFace(face);
            static_cast<Lamp*>(row.lamps[channel])->SetOn(powered && (state & 1) != 0);
            // Inputs set elsewhere (a test, a script) show on their switches.
            const QSignalBlocker blocker(row.gpiSwitches[channel]);
            row.gpiSwitches[channel]->setChecked((state & 2) != 0);
        }
        for (QPushButton* key : row.functionKeys) {
            static_cast<PanelKey*>(key)->SetFace(powered ? 0x00FFFFFF : DarkKey);
        }
        const QSignalBlocker blocker(row.lock);
        row.lock->setChecked(status[StatusLOCKSTATE] != 0);
    }
}
