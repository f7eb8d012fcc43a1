// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "app/EditorWindows.h"
#include "app/UnitMain.h"
#include "editor/ChannelStrip.h"
#include "editor/EditorControls.h"
#include "editor/MemoryMapView.h"
#include "editor/StripMenus.h"
#include "editor/UnitGPI.h"
#include "link/D2XXUnit_mod.h"
#include "model/ProgramPaths.h"
#include "sim/VirtualBus.h"
#include "tests/support/DialogHooks.h"
#include "tests/support/VirtualBusTest.h"
#include "ui/Dialogs.h"
#include "ui/EventLoopWait.h"
#include "ui/FindControl.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Both windows on the virtual bus, with message boxes recorded.
class WindowsFixture : public VirtualBusTest {
protected:
    static constexpr std::uint32_t Panel16 = 0x5001;
    static constexpr std::uint32_t Panel8 = 0x5002;

    void SetUp() override {
        VirtualBusTest::SetUp();
        Dialogs::SetRecorder(
            [this](const Dialogs::Message& message) { messages.push_back(message); });
        // Questions are answered No unless a test answers them itself.
        Dialogs::SetAnswerer([this](const QString& question) {
            questions.push_back(question);
            return false;
        });
        CurrentPaths() = PathsForProgram(settingsFolder.filePath("QUVO8261"));
    }
    void TearDown() override {
        main.reset();
        editor.reset();
        // Whatever a test answered dialogs with ends with it.
        ResetDialogHooks();
        VirtualBusTest::TearDown();
    }

    std::shared_ptr<VirtualPanel> AddPanel(std::uint32_t location, const std::string& serial,
                                           const std::string& description,
                                           std::uint32_t type = FT_DEVICE_232R,
                                           bool openElsewhere = false) {
        return VirtualBus::Instance().AddDevice(
            {location, serial, description, type, openElsewhere});
    }
    void AddDefaultPanels() {
        panel16 = AddPanel(Panel16, "QV1.FFFF", "QUVO-8261-16");
        panel8 = AddPanel(Panel8, "QV2.FF00", "QUVO-8261-08");
    }

    QString SettingsFile() const { return CurrentPaths().programSettingsFile; }

    void CreateWindows(bool testButton = false) {
        EditorWindows windows = ShowEditorWindows(SettingsFile(), testButton);
        main = std::move(windows.main);
        editor = std::move(windows.editor);
        ASSERT_TRUE(WaitFor([&] { return main->RefreshRunning() || !messages.empty(); }));
    }

    static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000) {
        return ProcessEventsUntil(done, timeoutMs);
    }
    static void Settle(int ms) {
        WaitFor([] { return false; }, ms);
    }

    // The editor's menu item of that name.
    QAction* Item(const QString& name) { return editor->findChild<QAction*>(name); }

    void Select(int row) { main->SelectRow(row); }

    // Opens the selected panel with `open` and runs `whileOpen` while the editor
    // is shown modally; the body closes the editor itself unless the link does.
    void RunEditor(const std::function<void()>& open, const std::function<void()>& whileOpen) {
        EXPECT_TRUE(RunWhileEditorShown(*editor, open, whileOpen)) << "the editor was not shown";
    }
    // Creates the windows, opens the panel in `row`, runs `body` once the editor
    // is online and closes the editor afterwards unless it closed itself.
    void WithEditorOnline(int row, const std::function<void()>& body) {
        CreateWindows();
        if (!RunEditorOnline(*main, *editor, row, body)) {
            ADD_FAILURE() << "the editor did not go online";
        }
    }
    // Opens the 16-channel default panel and runs `body` online with a clean frame log.
    void WithPanel16Online(const std::function<void()>& body) {
        AddDefaultPanels();
        WithEditorOnline(0, [&] {
            panel16->ClearReceivedFrames();
            body();
        });
    }
    // After a link failure the editor closes itself; fails the test if it does not.
    void ExpectEditorClosesItself() {
        if (!WaitFor([&] { return !editor->isVisible(); }, 5000)) {
            ADD_FAILURE() << "the editor stayed open";
            editor->reject();
        }
    }
    bool WaitOnline() {
        return WaitFor([&] { return editor->Model().Online(); });
    }
    std::vector<std::vector<std::uint8_t>> CommandsSentTo(VirtualPanel& panel) {
        std::vector<std::vector<std::uint8_t>> commands;
        for (const auto& frame : panel.ReceivedFrames()) {
            if (frame.bytes[3] != 1) {
                commands.push_back(frame.bytes);
            }
        }
        return commands;
    }

    // The configuration blocks written to the panel (command 4), in order.
    std::vector<ConfigBlock> WrittenBlocks(VirtualPanel& panel) {
        std::vector<ConfigBlock> blocks;
        for (const auto& command : CommandsSentTo(panel)) {
            if (command[3] == 4 && command.size() == ConfigBlockSize + 5) {
                ConfigBlock block;
                std::copy_n(command.begin() + 4, ConfigBlockSize, block.begin());
                blocks.push_back(block);
            }
        }
        return blocks;
    }
    // Waits until every send has been read back and nothing more is pending.
    bool WaitSendsAnswered() {
        return WaitFor(
            [&] { return editor->Model().ConfigReceived() && !editor->Model().SendPending(); });
    }

    QTemporaryDir settingsFolder;
    std::vector<Dialogs::Message> messages;
    QStringList questions;
    std::unique_ptr<TFormMain> main;
    std::unique_ptr<TFormEdit> editor;
    std::shared_ptr<VirtualPanel> panel16;
    std::shared_ptr<VirtualPanel> panel8;
};
