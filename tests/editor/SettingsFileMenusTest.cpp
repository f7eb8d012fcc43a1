// SPDX-License-Identifier: Apache-2.0
#include "app/ProgramStart.h"
#include "model/RegularFile.h"
#include "model/SettingsFiles.h"
#include "tests/support/WindowsFixture.h"
#include "ui/ColourButton.h"
#include "ui/FindControl.h"

#include <QAction>
#include <QDir>
#include <QFile>

namespace {

class SettingsFileMenus : public WindowsFixture {
protected:
    void Choose(const char* item) { Item(item)->trigger(); }
    // Answers every question with `yes` and records them.
    void Answer(bool yes) {
        Dialogs::SetAnswerer([this, yes](const QString& question) {
            questions << question;
            return yes;
        });
    }
    void ChooseFile(std::optional<QString> path) {
        Dialogs::SetFileChooser([this, path](Dialogs::FileDialog kind, const QString& folder) {
            dialogs.push_back({kind, folder});
            return path;
        });
    }
    std::vector<std::uint8_t> Codes() {
        std::vector<std::uint8_t> codes;
        for (const auto& command : CommandsSentTo(*panel16)) {
            codes.push_back(command[3]);
        }
        return codes;
    }
    std::vector<std::pair<Dialogs::FileDialog, QString>> dialogs;
};

TEST_F(SettingsFileMenus, QuestionsNoDoesNothingYesSendsTheBlock) {
    WithPanel16Online([&] {
        Answer(false);
        for (const char* item : {"MenuLoadDefault", "MenuLoadFactory", "MenuSaveDefault"}) {
            Choose(item);
        }
        EXPECT_EQ(questions, (QStringList{"Load Default values?", "Load Factory settings?",
                                          "Overwrite Default values?"}));
        Settle(50);
        EXPECT_TRUE(CommandsSentTo(*panel16).empty());
        EXPECT_FALSE(QFile::exists(SettingsFile()));

        ConfigBlock changed = panel16->Configuration();
        changed[RecordOffset(4) + RecordMODE] = ModeFixed;
        panel16->SetConfiguration(changed);
        editor->SendConfiguration(); // the editor's block is what the panel last reported
        ASSERT_TRUE(WaitSendsAnswered());
        const ConfigBlock reported = editor->Model().Configuration();
        Answer(true);
        Choose("MenuSaveDefault");
        Choose("MenuLoadFactory");
        EXPECT_FALSE(editor->Model().ConfigReceived()) << "cleared before the send";
        ASSERT_TRUE(WaitSendsAnswered());
        ConfigBlock factory;
        LoadFactoryValues(factory);
        EXPECT_EQ(panel16->Configuration(), factory);
        panel16->ClearReceivedFrames();
        Choose("MenuLoadDefault");
        ASSERT_TRUE(WaitSendsAnswered());
        Settle(30);
        EXPECT_EQ(Codes(), (std::vector<std::uint8_t>{4, 3}));
        ASSERT_EQ(WrittenBlocks(*panel16).size(), 1u);
        EXPECT_EQ(WrittenBlocks(*panel16)[0], reported);
        EXPECT_EQ(editor->Model().Configuration(), reported);
    });
}

TEST_F(SettingsFileMenus, FilesAreWrittenAndLoadedAndTheFolderFollowsThem) {
    const QString folder = settingsFolder.filePath("racks");
    QDir().mkpath(folder);
    const QString file = folder + "/rack 1.gpi";
    WithPanel16Online([&] {
        ChooseFile(file);
        Choose("MenuSaveFile");
        ASSERT_EQ(dialogs.size(), 1u);
        EXPECT_EQ(dialogs[0].first, Dialogs::FileDialog::Save);
        EXPECT_EQ(CurrentPaths().settingsFolder, folder + "/");
        EXPECT_EQ(ReadSettingsFile(FilePath(file)), editor->Model().Configuration());

        QFile edit(file);
        ASSERT_TRUE(edit.open(QIODevice::ReadWrite));
        QByteArray text = edit.readAll();
        ASSERT_TRUE(text.contains("[GPIO7]\r\nGROUP=0\r\nMODE=0\r\n"));
        text.replace("[GPIO7]\r\nGROUP=0\r\nMODE=0\r\n", "[GPIO7]\r\nGROUP=0\r\nMODE=2\r\n");
        edit.seek(0);
        edit.write(text);
        edit.close();
        Choose("MenuLoadFile");
        EXPECT_EQ(dialogs[1].second, folder + "/") << "starts in the settings folder";
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_EQ(panel16->Configuration()[RecordOffset(7) + RecordMODE], ModePulse);
        EXPECT_TRUE(
            WaitFor([&] { return FindControl<ColourButton>(*editor, "BtnPls", 7)->isChecked(); }));

        // A cancelled load sends the block unchanged.
        const ConfigBlock before = editor->Model().Configuration();
        panel16->ClearReceivedFrames();
        ChooseFile(std::nullopt);
        Choose("MenuLoadFile");
        ASSERT_TRUE(WaitSendsAnswered());
        Settle(30);
        ASSERT_EQ(WrittenBlocks(*panel16).size(), 1u);
        EXPECT_EQ(WrittenBlocks(*panel16)[0], before);
    });
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsFileMenus, AFileThatCannotBeUsedIsReportedOnceAndChangesNothing) {
    const QString junk = settingsFolder.filePath("junk.gpi");
    {
        QFile file(junk);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\x00\x01\x02[GPIO1]", 10));
    }
    WithPanel16Online([&] {
        const ConfigBlock before = editor->Model().Configuration();
        ChooseFile(junk);
        Choose("MenuLoadFile");
        ChooseFile(settingsFolder.filePath("no/such/folder/x.gpi"));
        Choose("MenuSaveFile");
        Settle(50);
        EXPECT_TRUE(CommandsSentTo(*panel16).empty()) << "nothing sent after a failed load";
        EXPECT_EQ(editor->Model().Configuration(), before);
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_TRUE(messages[0].text.contains(junk));
        EXPECT_TRUE(messages[1].text.contains("x.gpi"));
        EXPECT_EQ(messages[1].caption, "Error");
    });
}

TEST_F(SettingsFileMenus, TheSettingsFolderMovesOnlyOnceTheFileWasReadOrWritten) {
    const QString racks = settingsFolder.filePath("racks");
    const QString junk = settingsFolder.filePath("junk/junk.gpi");
    QDir().mkpath(racks);
    QDir().mkpath(settingsFolder.filePath("junk"));
    {
        QFile file(junk);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\x00\x01", 2));
    }
    WithPanel16Online([&] {
        const QString start = CurrentPaths().settingsFolder;
        ChooseFile("/proc/quvo-test.gpi");
        Choose("MenuSaveFile");
        ChooseFile(junk);
        Choose("MenuLoadFile");
        EXPECT_EQ(messages.size(), 2u);
        EXPECT_EQ(CurrentPaths().settingsFolder, start) << "a failed save or load moves nothing";
        ChooseFile(racks + "/rack.gpi");
        Choose("MenuSaveFile");
        EXPECT_EQ(CurrentPaths().settingsFolder, racks + "/");
    });
}

TEST_F(SettingsFileMenus, AMissingProgramFolderIsReportedAndNothingIsSent) {
    WithPanel16Online([&] {
        CurrentPaths().programSettingsFile = settingsFolder.filePath("gone/QUVO8261.dat");
        Answer(true);
        const ConfigBlock before = editor->Model().Configuration();
        Choose("MenuSaveDefault");
        Choose("MenuLoadDefault");
        Settle(50);
        EXPECT_TRUE(CommandsSentTo(*panel16).empty());
        EXPECT_EQ(editor->Model().Configuration(), before);
        ASSERT_EQ(messages.size(), 2u);
        for (const auto& message : messages) {
            EXPECT_TRUE(message.text.contains("gone/QUVO8261.dat")) << message.text.toStdString();
        }
        EXPECT_FALSE(QDir(settingsFolder.filePath("gone")).exists());
    });
}

// Started with a settings file (opened from the file manager): each panel
// opened is compared with it, and loading it is the user's choice; two files
// are a usage error, and a file that holds no settings is said at start, with
// its name, and offered to no panel.
TEST_F(SettingsFileMenus, AFileTheProgramStartedWithIsComparedWithEachPanelOpened) {
    const CommandLine line = ParseCommandLine({"test", "--simulate", "rack.gpi"});
    EXPECT_TRUE(line.showTestButton);
    EXPECT_EQ(line.settingsFile, "rack.gpi");
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"a.gpi", "b.gpi"}).error.isEmpty());

    ConfigBlock file;
    LoadFactoryValues(file);
    file[RecordOffset(3) + RecordMODE] = ModeFixed;
    const QString rack = settingsFolder.filePath("rack.gpi");
    WriteSettingsFile(FilePath(rack), file);
    std::vector<std::pair<QString, QStringList>> offered;
    Dialogs::SetDifferencesAnswerer([&](const QString& name, const QStringList& lines) {
        offered.emplace_back(name, lines);
        return true;
    });
    AddDefaultPanels();
    CreateWindows();
    OfferSettingsFile(rack, *main, *editor);
    EXPECT_TRUE(messages.empty());
    Select(0);
    RunEditor([&] { main->OpenSelectedDevice(); },
              [&] {
                  ASSERT_TRUE(WaitOnline());
                  ASSERT_TRUE(WaitFor([&] { return !offered.empty(); }));
                  EXPECT_TRUE(offered[0].first.endsWith("rack.gpi"));
                  EXPECT_EQ(offered[0].second, QStringList{"GPIO3 MODE: panel Free, file Fixed"});
                  ASSERT_TRUE(WaitSendsAnswered());
                  EXPECT_EQ(panel16->Configuration(), file);
                  editor->reject();
              });

    const QString notes = settingsFolder.filePath("notes.gpi");
    QFile text(notes);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just some notes\n");
    text.close();
    offered.clear();
    CreateWindows();
    OfferSettingsFile(notes, *main, *editor);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains("notes.gpi")) << messages[0].text.toStdString();
    Select(0);
    RunEditor([&] { main->OpenSelectedDevice(); },
              [&] {
                  ASSERT_TRUE(WaitOnline());
                  Settle(50);
                  editor->reject();
              });
    EXPECT_TRUE(offered.empty());
}

} // namespace
