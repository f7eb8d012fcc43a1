// SPDX-License-Identifier: Apache-2.0
#include "app/VirtualPanelsWindow.h"
#include "tests/support/WindowsFixture.h"
#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/FindControl.h"
#include "ui/Panel.h"
#include "ui/Speech.h"

#include <QAccessible>
#include <QCheckBox>
#include <QTest>

#include <algorithm>
#include <functional>

namespace {

// Every node a user can focus or press, and shows, must tell a screen reader
// its name; gives those that do not.
QStringList UnnamedControls(QWidget& window) {
    QStringList unnamed;
    std::function<void(QAccessibleInterface*, int)> walk = [&](QAccessibleInterface* node,
                                                               int depth) {
        if (node == nullptr || depth > 40) {
            return;
        }
        const QAccessible::State state = node->state();
        const QAccessible::Role role = node->role();
        const bool actionable = state.focusable || role == QAccessible::PushButton ||
                                role == QAccessible::CheckBox || role == QAccessible::ComboBox ||
                                role == QAccessible::SpinBox || role == QAccessible::ButtonMenu;
        if (actionable && !state.invisible && node->text(QAccessible::Name).trimmed().isEmpty()) {
            unnamed << (node->object() != nullptr ? node->object()->objectName() : QString("?"));
        }
        for (int i = 0; i < node->childCount(); ++i) {
            walk(node->child(i), depth + 1);
        }
    };
    walk(QAccessible::queryAccessibleInterface(&window), 0);
    return unnamed;
}

QString NameOf(QWidget* control) {
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

class Accessibility : public WindowsFixture {
protected:
    void SetUp() override {
        WindowsFixture::SetUp();
        SetAnnouncementRecorder(
            [this](QWidget& control, QAccessible::Event kind, const QString& text) {
                events_.push_back({&control, kind, text});
            });
    }
    void TearDown() override {
        SetAnnouncementRecorder(nullptr);
        WindowsFixture::TearDown();
    }
    struct Event {
        QObject* object;
        QAccessible::Event type;
        QString value;
    };
    bool Announced(QObject* control, const QString& value) const {
        return std::any_of(events_.begin(), events_.end(), [&](const Event& event) {
            return event.object == control && event.type == QAccessible::ValueChanged &&
                   event.value == value;
        });
    }
    std::vector<Event> events_;
};

TEST_F(Accessibility, EveryControlOfEveryWindowHasAName) {
    WithPanel16Online([&] {
        EXPECT_TRUE(UnnamedControls(*editor).isEmpty())
            << UnnamedControls(*editor).join(", ").toStdString();
        QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnMem"), Qt::LeftButton);
        EXPECT_TRUE(UnnamedControls(*editor).isEmpty())
            << "with the memory map: " << UnnamedControls(*editor).join(", ").toStdString();

        EXPECT_EQ(NameOf(FindControl<ColourButton>(*editor, "BtnGPO", 5)),
                  "Channel 5 GPIO output, off");
        EXPECT_TRUE(NameOf(FindControl<ColourButton>(*editor, ColourButtonName(2, 3)))
                        .startsWith("Channel 3 colour, GPI: "));
        EXPECT_FALSE(
            FindControl<ColourButton>(*editor, ColourButtonName(2, 3))->toolTip().isEmpty());
        EXPECT_EQ(NameOf(FindControl<Panel>(*editor, "PanOnline")), "Online Control")
            << "a painted caption is spoken";
        const auto* checkedMode =
            QAccessible::queryAccessibleInterface(FindControl<ColourButton>(*editor, "BtnAny", 1));
        EXPECT_TRUE(checkedMode->state().checkable);
        // The brightness bars beside the legend say their state and value.
        EXPECT_EQ(NameOf(FindControl<QWidget>(*editor, "IndC1")), "Brightness of GPIO: 75%");
        EXPECT_EQ(NameOf(FindControl<QWidget>(*editor, "IndC0")), "Brightness of No signals: min");
    });
    auto virtualPanels = std::make_unique<VirtualPanelsWindow>();
    virtualPanels->show();
    EXPECT_TRUE(UnnamedControls(*virtualPanels).isEmpty())
        << UnnamedControls(*virtualPanels).join(", ").toStdString();
    CreateWindows();
    main->show();
    EXPECT_TRUE(UnnamedControls(*main).isEmpty())
        << UnnamedControls(*main).join(", ").toStdString();
}

TEST_F(Accessibility, LiveStatesAreAnnouncedWhenThePanelChangesThem) {
    WithPanel16Online([&] {
        QTest::mouseClick(FindControl<QCheckBox>(*editor, "BoxLock"), Qt::LeftButton, {},
                          QPoint(6, 9));
        ASSERT_TRUE(WaitSendsAnswered());
        auto* lock = FindControl<ColourLabel>(*editor, "LabLock");
        ASSERT_TRUE(WaitFor([&] { return lock->accessibleDescription() == "unlocked"; }));
        panel16->SetLockState(1);
        ASSERT_TRUE(WaitFor([&] { return lock->accessibleDescription() == "locked"; }));
        EXPECT_TRUE(Announced(lock, "locked")) << "the lock's change is announced";

        panel16->SetGpi(7, true);
        auto* lamp = FindControl<ColourLabel>(*editor, "IndGPI", 7);
        ASSERT_TRUE(WaitFor([&] { return lamp->accessibleDescription() == "on"; }));
        EXPECT_TRUE(Announced(lamp, "on"));
        EXPECT_EQ(NameOf(lamp), "Channel 7 GPI input");
    });
}

} // namespace
