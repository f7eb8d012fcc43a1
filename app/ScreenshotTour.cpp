// SPDX-License-Identifier: Apache-2.0
// Drives the real windows on the virtual panels and saves pictures of them:
// the device list, the editor online on each default virtual panel with a few
// GPIO, GPI and key states set, the editor after some edits, and its F2, colour
// and brightness menus open, the memory map shown, and the virtual panels window.
// Run it under Xvfb (scripts/screenshot).
#include "app/EditorWindows.h"
#include "app/ProgramStart.h"
#include "app/UnitMain.h"
#include "app/VirtualPanelsWindow.h"
#include "editor/MemoryMapView.h"
#include "editor/StripMenus.h"
#include "editor/UnitGPI.h"
#include "link/D2XXUnit_mod.h"
#include "link/Translations.h"
#include "sim/VirtualBus.h"
#include "ui/Dialogs.h"
#include "ui/EventLoopWait.h"
#include "ui/FindControl.h"

#include "ui/ColourButton.h"
#include "ui/DurationField.h"
#include "ui/OwnerDrawnMenu.h"
#include "ui/Panel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <functional>

namespace {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    return ProcessEventsUntil(done, timeoutMs);
}

void Pause(int ms) {
    WaitUntil([] { return false; }, ms);
}

bool Report(bool saved, const QString& file) {
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
    return saved;
}

bool Save(QWidget& window, const QString& file) {
    return Report(window.grab().save(file), file);
}

// A drop-down menu runs its own event loop: the picture is taken from inside it,
// of the screen area around the window, then the menu is closed.
bool SaveWithMenu(TFormEdit& editor, ColourButton* button, const QString& file,
                  int selectedItem = -1) {
    bool saved = false;
    QTimer::singleShot(300, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu != nullptr && selectedItem >= 0) {
            menu->setActiveAction(menu->actions().value(selectedItem));
            Pause(100);
        }
        const QRect area = editor.frameGeometry().united(menu ? menu->geometry() : QRect());
        saved = QGuiApplication::primaryScreen()
                    ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                    .save(file);
        if (menu != nullptr) {
            menu->close();
        }
    });
    button->showMenu();
    return Report(saved, file);
}

// Edits as a user makes them: modes, a group and a pulse duration.
void EditSomeChannels(TFormEdit& editor) {
    FindControl<ColourButton>(editor, "BtnFix", 2)->click();
    FindControl<ColourButton>(editor, "BtnPls", 9)->click();
    FindControl<ColourButton>(editor, "BtnPls", 10)->click();
    FindControl<QComboBox>(editor, "BoxGrp", 10)->setCurrentIndex(5);
    emit FindControl<QComboBox>(editor, "BoxGrp", 10)->activated(5);
    WaitUntil([&] { return FindControl<DurationField>(editor, "EditMs", 9)->isEnabled(); });
    FindControl<DurationField>(editor, "EditMs", 9)->stepBy(5);
    WaitUntil([&] { return editor.Model().ConfigReceived() && !editor.Model().SendPending(); });
    Pause(300);
}

// The memory panel shown, with the mouse over a cell of slot 3; hidden again after.
bool SaveMemoryMap(TFormEdit& editor, const QString& file) {
    FindControl<ColourButton>(editor, "BtnMem")->click();
    Pause(200);
    editor.MemoryMap().PBoxMemMouseMove(QPoint(96 + 49 * 5 + 20, 31 + 24 * 2 + 12));
    Pause(200);
    const bool saved = Save(editor, file);
    editor.MemoryMap().PanMemDrawMouseLeave();
    FindControl<ColourButton>(editor, "BtnMem")->click();
    Pause(200);
    return saved;
}

// The virtual panels with keys in several states, then half-way through the
// panel test (its pauses shortened: the pictures need no real timing).
// A system view with one panel that the kernel's serial driver holds, as sysfs
// shows it, for the empty list's advice.
QString MakeHeldPanelSysfs(const QTemporaryDir& folder) {
    const QString device = folder.filePath("1-1");
    QDir().mkpath(device);
    QDir().mkpath(device + ":1.0");
    const std::pair<const char*, const char*> attributes[] = {
        {"idVendor", "0403"},        {"idProduct", "6001"}, {"product", "QUVO-8261-16"},
        {"serial", "QV826100.FFFF"}, {"busnum", "1"},       {"devnum", "5"}};
    for (const auto& [name, value] : attributes) {
        QFile file(device + "/" + name);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(QByteArray(value) + "\n");
        }
    }
    QFile::link("/sys/bus/usb-serial/drivers/ftdi_sio", device + ":1.0/driver");
    return folder.path();
}

bool SaveVirtualPanels(TFormEdit& editor, VirtualPanelsWindow& virtualPanels,
                       const QString& outFolder) {
    virtualPanels.raise();
    Pause(300);
    bool ok = Save(virtualPanels, outFolder + "/virtual-panels.png");
    editor.SetTestPause([](std::chrono::milliseconds) { Pause(5); });
    editor.BtnTestClick();
    WaitUntil([&] { return editor.Model().TestPrepared() && editor.Model().TestStepsLeft() < 56; },
              30000);
    editor.BtnTestClick();
    Pause(300);
    virtualPanels.Refresh();
    ok = Save(virtualPanels, outFolder + "/virtual-panels-test.png") && ok;
    return ok;
}

// Colour edits as a user makes them: palette colours, "OFF", a brightness level
// and a copy to all channels.
void EditSomeColours(TFormEdit& editor) {
    struct Choice {
        const char* menu;
        int state;
        int channel;
        const char* item;
    };
    const Choice choices[] = {
        {"CMenu", 0, 3, "CMenuItem3"},  {"CMenu", 0, 4, "CMenuItem9"},
        {"CMenu", 1, 5, "CMenuItem12"}, {"CMenu", 2, 1, "CMenuItem8"},
        {"SMenu", 2, 1, "SMenuCA"},     {"BMenu", 3, 0, "BMenu30"},
    };
    for (const Choice& choice : choices) {
        const QString menu = choice.menu;
        if (menu == "CMenu") {
            editor.Menus().AimColourMenu(choice.channel, choice.state);
        } else if (menu == "SMenu") {
            editor.Menus().AimCopyMenu(choice.channel, choice.state);
        } else {
            editor.Menus().AimBrightnessMenu(choice.state);
        }
        FindControl<QAction>(editor, choice.item)->trigger();
        WaitUntil([&] { return editor.Model().ConfigReceived() && !editor.Model().SendPending(); });
    }
    Pause(300);
}

// The configuration each panel shows for its pictures.
void DressPanel(VirtualPanel& panel, bool locked) {
    panel.SetGpioOutput(2, true);
    panel.SetGpi(3, true);
    panel.SetGpioOutput(5, true);
    panel.SetGpi(5, true);
    panel.SetKeyState(2, 1);
    ConfigBlock block = panel.Configuration();
    block[ConfigMODE17] = 1;
    block[ConfigMODE18] = 2;
    block[ConfigLOCK] = 1;
    block[RecordOffset(4) + RecordMODE] = ModePulse;
    block[RecordOffset(6) + RecordMODE] = ModeFixed;
    block[RecordOffset(7) + RecordGROUP] = 3;
    block[ColourOffset(8, 0) + ColourIntensity] = 0;
    block[ColourOffset(8, 0)] = 0;
    block[ColourOffset(8, 0) + 1] = 0;
    block[ColourOffset(8, 0) + 2] = 0;
    for (const int slot : {1, 3, 6}) {
        block[RecordOffset(slot) + RecordISMEM] = 1;
        block[MemoryByteOffset(slot, 0)] = std::uint8_t(0b1010 >> (slot % 2));
        block[MemoryByteOffset(slot, 1)] = 0b0011;
    }
    block[MemoryByteOffset(2, 0)] = 0b0110;
    panel.SetConfiguration(block);
    panel.SetLockState(locked ? 1 : 0);
}

// The pictures of the first panel's editor: edits, menus, the virtual panels.
bool SaveEditingPictures(TFormEdit& editor, VirtualPanelsWindow& virtualPanels,
                         const QString& outFolder) {
    EditSomeChannels(editor);
    bool ok = Save(editor, outFolder + "/editor-edited.png");
    ok = SaveWithMenu(editor, FindControl<ColourButton>(editor, "BtnCtrl2"),
                      outFolder + "/editor-f2-menu.png") &&
         ok;
    EditSomeColours(editor);
    ok = Save(editor, outFolder + "/editor-colours.png") && ok;
    ColourButton* swatch = FindControl<ColourButton>(editor, "BtnC1_6");
    editor.Menus().AimColourMenu(6, 1);
    ok = SaveWithMenu(editor, swatch, outFolder + "/editor-colour-menu.png", 4) && ok;
    ColourButton* legend = FindControl<ColourButton>(editor, "BtnC2");
    editor.Menus().AimBrightnessMenu(2);
    ok = SaveWithMenu(editor, legend, outFolder + "/editor-brightness-menu.png") && ok;
    return SaveVirtualPanels(editor, virtualPanels, outFolder) && ok;
}

// Opens the panel of `row` and saves its editor's pictures.
bool SaveEditorPictures(TFormMain& main, TFormEdit& editor, VirtualPanelsWindow& virtualPanels,
                        int row, const QString& outFolder) {
    const TGPIItem entry = main.ListedEntries()[row];
    DressPanel(*VirtualBus::Instance().Panel(entry.LocationId), row == 0);
    const QString name = QString::fromStdString(entry.Description);
    bool ok = true;
    const bool online = RunEditorOnline(
        main, editor, row,
        [&] {
            Pause(400);
            ok = Save(editor, QString("%1/editor-%2.png").arg(outFolder, name));
            ok = SaveMemoryMap(editor, QString("%1/editor-memory-%2.png").arg(outFolder, name)) &&
                 ok;
            if (row == 0) {
                ok = SaveEditingPictures(editor, virtualPanels, outFolder) && ok;
            }
        },
        5000);
    if (!online) {
        std::puts("the editor did not go online");
    }
    return online && ok;
}

// The editor in German and French, on a screen too small for it (scroll bars), and the
// device list under a dark desktop theme: fresh windows, so that they are built
// in the language and colours they show.
bool SaveLanguageAndScreenPictures(const QString& outFolder) {
    AddDefaultVirtualPanels();
    bool ok = true;
    for (const auto& [locale, name] :
         {std::pair{QLocale(QLocale::German, QLocale::Germany), QString("german")},
          std::pair{QLocale(QLocale::French, QLocale::France), QString("french")}}) {
        const ProgramTranslations translations{locale};
        const QTemporaryDir settings;
        const EditorWindows windows = ShowEditorWindows(settings.filePath("QUVO8261.dat"), true);
        TFormMain& main = *windows.main;
        TFormEdit& editor = *windows.editor;
        ok = WaitUntil([&] { return main.ListedEntries().size() == 2; }) && ok;
        const bool online = RunEditorOnline(
            main, editor, 0,
            [&] {
                Pause(400);
                ok = Save(editor, outFolder + "/editor-" + name + ".png") && ok;
                ok = SaveMemoryMap(editor, outFolder + "/editor-memory-" + name + ".png") && ok;
                if (name == "german") {
                    // A 1600 x 1000 screen at scale factor 2.
                    editor.FitToWorkArea(QRect(0, 0, 800, 500));
                    Pause(200);
                    ok = Save(editor, outFolder + "/editor-small-screen.png") && ok;
                }
            },
            5000);
        if (!online) {
            std::printf("the %s editor did not go online\n", qPrintable(name));
            ok = false;
        }
        main.close();
    }
    const QPalette desktop = QApplication::palette();
    QPalette dark(QColor(0x30, 0x30, 0x30), QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0));
    dark.setColor(QPalette::Text, QColor(0xF0, 0xF0, 0xF0));
    dark.setColor(QPalette::ButtonText, QColor(0xF0, 0xF0, 0xF0));
    dark.setColor(QPalette::Base, QColor(0x18, 0x18, 0x18));
    QApplication::setPalette(dark);
    {
        const QTemporaryDir settings;
        TFormMain main(settings.filePath("QUVO8261.dat"));
        main.show();
        ok = WaitUntil([&] { return main.ListedEntries().size() == 2; }) && ok;
        Pause(200);
        ok = Save(main, outFolder + "/device-list-dark.png") && ok;
        main.close();
    }
    QApplication::setPalette(desktop);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    const QString outFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : "screenshots";
    QDir().mkpath(outFolder);
    Dialogs::SetRecorder([](const Dialogs::Message& message) {
        std::fprintf(stderr, "message: %s\n", qPrintable(message.text));
    });
    // Questions (whether to restore the configuration from before the panel
    // test) are answered No: the tour goes on unattended.
    Dialogs::SetAnswerer([](const QString& question) {
        std::fprintf(stderr, "question: %s - No\n", qPrintable(question));
        return false;
    });
    RegisterFonts();
    SetFtdiApi(UseVirtualPanels());

    const QTemporaryDir settings;
    const EditorWindows windows = ShowEditorWindows(settings.filePath("QUVO8261.dat"), true);
    TFormMain& main = *windows.main;
    TFormEdit& editor = *windows.editor;
    VirtualPanelsWindow virtualPanels;
    virtualPanels.move(main.frameGeometry().topRight() + QPoint(10, 0));
    virtualPanels.show();
    if (!WaitUntil([&] { return main.ListedEntries().size() == 2; })) {
        std::puts("the device list did not fill");
        return 1;
    }
    Pause(200);
    bool ok = Save(main, outFolder + "/device-list.png");
    for (int row = 0; row < 2; ++row) {
        ok = SaveEditorPictures(main, editor, virtualPanels, row, outFolder) && ok;
    }
    // With every panel unplugged the list says so.
    VirtualBus::Instance().RemoveAllDevices();
    main.TimerTimer(false);
    Pause(300);
    ok = Save(main, outFolder + "/device-list-empty.png") && ok;
    const QTemporaryDir sysfs;
    main.SetDiagnosisSources(MakeHeldPanelSysfs(sysfs), "/dev/bus/usb");
    main.TimerTimer(false);
    Pause(300);
    ok = Save(main, outFolder + "/device-list-held-by-ftdi_sio.png") && ok;
    main.close();
    ok = SaveLanguageAndScreenPictures(outFolder) && ok;
    return ok ? 0 : 1;
}
