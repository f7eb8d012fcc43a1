// SPDX-License-Identifier: Apache-2.0
#include "model/SettingsFiles.h"
#include "tests/support/WindowsFixture.h"
#include "ui/ColourButton.h"
#include "ui/FindControl.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class EditHistoryWindow : public WindowsFixture {
protected:
    // The Load menu as it shows itself when opened.
    void OpenLoadMenu() {
        QMenu* menu = FindControl<QMenu>(*editor, "MenuLoad");
        emit menu->aboutToShow();
    }
    std::uint8_t PanelField(int channel, std::size_t field) {
        return panel16->Configuration()[RecordOffset(channel) + field];
    }
};

TEST_F(EditHistoryWindow, CtrlZFromAnyControlTakesAnEditBackOnThePanel) {
    WithPanel16Online([&] {
        QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnFix", 4), Qt::LeftButton);
        ASSERT_TRUE(WaitSendsAnswered());
        ASSERT_EQ(PanelField(4, RecordMODE), ModeFixed);
        OpenLoadMenu();
        EXPECT_EQ(Item("MenuUndo")->text(), "Undo Mode of channel 4\tCtrl+Z");
        EXPECT_TRUE(Item("MenuUndo")->isEnabled());
        EXPECT_FALSE(Item("MenuRedo")->isEnabled());

        // The keys are the window's: they work in the active editor.
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        QComboBox* group = FindControl<QComboBox>(*editor, "BoxGrp", 2);
        group->setFocus();
        QTest::keyClick(group, Qt::Key_Z, Qt::ControlModifier);
        ASSERT_TRUE(WaitFor([&] { return PanelField(4, RecordMODE) == ModeFree; }));
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_TRUE(FindControl<ColourButton>(*editor, "BtnAny", 4)->isChecked())
            << "the window follows the read-back";

        QTest::keyClick(group, Qt::Key_Y, Qt::ControlModifier);
        ASSERT_TRUE(WaitFor([&] { return PanelField(4, RecordMODE) == ModeFixed; }));
        ASSERT_TRUE(WaitSendsAnswered());
        QTest::keyClick(editor.get(), Qt::Key_Z, Qt::ControlModifier);
        ASSERT_TRUE(WaitFor([&] { return PanelField(4, RecordMODE) == ModeFree; }));
        ASSERT_TRUE(WaitSendsAnswered());
        QTest::keyClick(editor.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        ASSERT_TRUE(WaitFor([&] { return PanelField(4, RecordMODE) == ModeFixed; }));
        ASSERT_TRUE(WaitSendsAnswered());

        // Also while "Load...", whose menu lists Undo, has the focus.
        ColourButton* load = FindControl<ColourButton>(*editor, "BtnLoad");
        load->setFocus();
        QTest::keyClick(load, Qt::Key_Z, Qt::ControlModifier);
        ASSERT_TRUE(WaitFor([&] { return PanelField(4, RecordMODE) == ModeFree; }));
    });
}

TEST_F(EditHistoryWindow, RevertWritesWhatThePanelHeldAtOpen) {
    WithPanel16Online([&] {
        const ConfigBlock opened = panel16->Configuration();
        OpenLoadMenu();
        EXPECT_FALSE(Item("MenuRevert")->isEnabled()) << "nothing changed yet";
        QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnPls", 7), Qt::LeftButton);
        ASSERT_TRUE(WaitSendsAnswered());
        Item("MenuLoadFactory")->trigger(); // answered No: nothing happens
        OpenLoadMenu();
        ASSERT_TRUE(Item("MenuRevert")->isEnabled());
        Item("MenuRevert")->trigger();
        ASSERT_TRUE(WaitFor([&] { return panel16->Configuration() == opened; }));
        ASSERT_TRUE(WaitSendsAnswered());
        OpenLoadMenu();
        EXPECT_TRUE(
            Item("MenuUndo")->text().startsWith("Undo Revert to the configuration read at open\t"));
    });
}

TEST_F(EditHistoryWindow, CompareListsEachDifferenceAndCanLoadTheFile) {
    ConfigBlock file;
    LoadFactoryValues(file);
    file[RecordOffset(2) + RecordGROUP] = 4;
    file[RecordOffset(3) + RecordMODE] = ModePulse;
    file[RecordOffset(3) + RecordDURATION] = 12;
    file[ColourOffset(5, 1) + 2] = 50;
    file[ColourOffset(6, 2) + ColourIntensity] = 32;
    file[RecordOffset(7) + RecordISMEM] = 1;
    file[MemoryByteOffset(7, 0)] = 0b0001;
    file[ConfigLOCK] = 1;
    const QString different = settingsFolder.filePath("different.gpi");
    const QString same = settingsFolder.filePath("same.gpi");
    WriteSettingsFile(FilePath(different), file);
    ConfigBlock factory;
    LoadFactoryValues(factory);
    WriteSettingsFile(FilePath(same), factory);

    WithPanel16Online([&] {
        QString chosen;
        Dialogs::SetFileChooser([&](Dialogs::FileDialog, const QString&) { return chosen; });
        QStringList shown;
        bool load = false;
        Dialogs::SetDifferencesAnswerer([&](const QString&, const QStringList& lines) {
            shown = lines;
            return load;
        });

        chosen = same;
        Item("MenuCompare")->trigger();
        EXPECT_TRUE(shown.isEmpty()) << shown.join('\n').toStdString();

        chosen = different;
        Item("MenuCompare")->trigger();
        // As the editor shows them: names, seconds, a colour with its brightness.
        const QStringList expected = {"GPIO2 GROUP: panel n/a, file 4",
                                      "GPIO3 MODE: panel Free, file Pulse",
                                      "GPIO3 DURATION: panel 0.3 s, file 1.2 s",
                                      "GPIO5 COLOR1: panel #00FF00 75%, file #64FF00 75%",
                                      "GPIO6 COLOR2: panel #FF0000 75%, file #FF0000 30%",
                                      "GPIO7 ISMEM: panel off, file on",
                                      "GPIO7 MEM0: panel 0, file 1",
                                      "COMMON LOCK: panel off, file on"};
        shown.sort();
        QStringList sorted = expected;
        sorted.sort();
        EXPECT_EQ(shown.join('\n').toStdString(), sorted.join('\n').toStdString());
        Settle(30);
        EXPECT_TRUE(CommandsSentTo(*panel16).empty()) << "Close loads nothing";

        // A text file of something else is no settings file: said, nothing shown.
        const QString notes = settingsFolder.filePath("notes.gpi");
        QFile text(notes);
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("shopping list\n");
        text.close();
        shown = {"unchanged"};
        chosen = notes;
        Item("MenuCompare")->trigger();
        EXPECT_EQ(shown, QStringList{"unchanged"});
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].text.contains("notes.gpi"));

        // Enter closes the real dialog: Close is its default button.
        Dialogs::SetDifferencesAnswerer(nullptr);
        bool closeIsDefault = false;
        QTimer::singleShot(100, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                closeIsDefault = dialog->findChild<QPushButton*>("CompareClose")->isDefault() &&
                                 !dialog->findChild<QPushButton*>("CompareLoad")->isDefault();
                dialog->close();
            }
        });
        chosen = different;
        Item("MenuCompare")->trigger();
        EXPECT_TRUE(closeIsDefault);
        Dialogs::SetDifferencesAnswerer([&](const QString&, const QStringList& lines) {
            shown = lines;
            return load;
        });

        load = true;
        Item("MenuCompare")->trigger();
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_EQ(panel16->Configuration()[RecordOffset(3) + RecordDURATION], 12);
        OpenLoadMenu();
        EXPECT_TRUE(Item("MenuUndo")->text().startsWith("Undo Load from File\t"));
    });
}

TEST_F(EditHistoryWindow, AfterThePanelTestItsConfigurationCanBeTakenBack) {
    WithPanel16Online([&] {
        const ConfigBlock before = panel16->Configuration();
        editor->SetTestPause([](std::chrono::milliseconds) {});
        editor->BtnTestClick();
        ASSERT_TRUE(WaitFor([&] { return panel16->Configuration() != before; }, 10000));
        Dialogs::SetAnswerer([&](const QString& question) {
            questions << question;
            return true;
        });
        editor->BtnTestClick(); // stop
        EXPECT_EQ(questions.back(), "Restore the configuration from before the test?");
        ASSERT_TRUE(WaitFor([&] { return panel16->Configuration() == before; }));
    });
}

} // namespace
