// SPDX-License-Identifier: Apache-2.0
#include "model/SettingsFiles.h"
#include "model/IniFile.h"
#include "model/ProgramPaths.h"

#include "tests/support/TemporaryFolderTest.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SettingsFiles : public TemporaryFolderTest {
protected:
    static ConfigBlock Factory() {
        ConfigBlock block;
        LoadFactoryValues(block);
        return block;
    }
};

TEST_F(SettingsFiles, MissingKeysKeepFactoryValuesAndIntegersKeepTheirLowByte) {
    Write("five.gpi", "[GPIO5]\nMODE=2\n");
    ConfigBlock expected = Factory();
    expected[RecordOffset(5) + RecordMODE] = 2;
    EXPECT_EQ(ReadSettingsFile(FilePath(PathOf("five.gpi"))), expected);

    Write("odd.gpi", "\xEF\xBB\xBF[gpio2]\rduration=300\rGROUP=-1\rMODE=abc\rcolor1_b = 5 \r"
                     "[COMMON]\r\nLOCK=1\r\n");
    const ConfigBlock odd = ReadSettingsFile(FilePath(PathOf("odd.gpi")));
    EXPECT_EQ(odd[RecordOffset(2) + RecordDURATION], 44);
    EXPECT_EQ(odd[RecordOffset(2) + RecordGROUP], 255);
    EXPECT_EQ(odd[RecordOffset(2) + RecordMODE], 0) << "not an integer: factory value";
    EXPECT_EQ(odd[ColourOffset(2, 1) + ColourBlue], 5);
    EXPECT_EQ(odd[ConfigLOCK], 1);
}

TEST_F(SettingsFiles, AFactoryFileIsTheFormatsLayoutAndReadsBackWhole) {
    WriteSettingsFile(FilePath(PathOf("factory.gpi")), Factory());
    QByteArray expected = "[COMMON]\r\nSAVE=0\r\nLOCK=0\r\nMODE17=0\r\nMODE18=0\r\n\r\n";
    for (int channel = 1; channel <= 16; ++channel) {
        expected +=
            "[GPIO" + QByteArray::number(channel) + "]\r\nGROUP=0\r\nMODE=0\r\nDURATION=3\r\n";
        expected += "COLOR0_R=127\r\nCOLOR0_G=127\r\nCOLOR0_B=127\r\nCOLOR0_I=2\r\n";
        expected += "COLOR1_R=0\r\nCOLOR1_G=127\r\nCOLOR1_B=0\r\nCOLOR1_I=96\r\n";
        expected += "COLOR2_R=127\r\nCOLOR2_G=0\r\nCOLOR2_B=0\r\nCOLOR2_I=96\r\n";
        expected += "COLOR3_R=127\r\nCOLOR3_G=127\r\nCOLOR3_B=0\r\nCOLOR3_I=96\r\n";
        expected += "MEM0=0\r\nMEM1=0\r\nMEM2=0\r\nMEM3=0\r\nISMEM=0\r\n\r\n";
    }
    EXPECT_EQ(Read("factory.gpi"), expected);

    ConfigBlock varied{};
    for (std::size_t i = 0; i < varied.size(); ++i) {
        varied[i] = std::uint8_t(i * 7 + 3);
    }
    for (int channel = 1; channel <= 16; ++channel) {
        varied[RecordOffset(channel) + RecordCHANNEL] = std::uint8_t(channel);
    }
    WriteSettingsFile(FilePath(PathOf("varied.gpi")), varied);
    EXPECT_EQ(ReadSettingsFile(FilePath(PathOf("varied.gpi"))), varied);
}

TEST_F(SettingsFiles, SavingIntoAnExistingFileKeepsItsContentAndLineEnding) {
    Write("mine.gpi", "; my rack\n[NOTES]\nwho=me\n\n[GPIO3]\nMODE=1\nextra=1\n");
    ConfigBlock block = Factory();
    block[RecordOffset(3) + RecordMODE] = 2;
    WriteSettingsFile(FilePath(PathOf("mine.gpi")), block);
    const QByteArray text = Read("mine.gpi");
    EXPECT_TRUE(
        text.startsWith("; my rack\n[NOTES]\nwho=me\n\n[GPIO3]\nMODE=2\nextra=1\nGROUP=0\n"))
        << text.left(120).toStdString();
    EXPECT_FALSE(text.contains('\r'));
    EXPECT_EQ(ReadSettingsFile(FilePath(PathOf("mine.gpi"))), block);
}

TEST_F(SettingsFiles, DefaultValuesRepairAMissingOrDamagedValue) {
    const QString settings = PathOf("QUVO8261.dat");
    ConfigBlock varied = Factory();
    varied[ConfigMODE18] = 2;
    varied[ColourOffset(9, 3) + ColourRed] = 0xAB;
    const std::string hex = EncodeDefaultData(varied);
    ASSERT_EQ(hex.size(), 808u);
    EXPECT_NE(hex.find("AB"), std::string::npos);
    struct Case {
        const char* name;
        QByteArray data; // empty: no DATA key
        ConfigBlock expected;
        bool repaired;
    };
    QByteArray lower = QByteArray::fromStdString(hex).toLower();
    const Case cases[] = {
        {"absent", {}, Factory(), true},
        {"806 digits", QByteArray::fromStdString(hex.substr(0, 806)), Factory(), true},
        {"809 characters", QByteArray::fromStdString(hex) + "F", varied, false},
        {"lower case", lower, varied, false},
        {"not hexadecimal", QByteArray(808, 'G'), Factory(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write("QUVO8261.dat",
              "[WINDOW]\nLEFT=5\n" +
                  (c.data.isEmpty() ? QByteArray() : "[DEFAULT]\nDATA=" + c.data + "\n"));
        ConfigBlock block{};
        LoadDefaultValues(block, settings);
        EXPECT_EQ(block, c.expected);
        const IniFile ini(settings);
        EXPECT_EQ(ini.ReadInteger("WINDOW", "LEFT", 0), 5);
        if (c.repaired) {
            EXPECT_EQ(ini.ReadString("DEFAULT", "DATA", ""), EncodeDefaultData(Factory()));
        }
    }
    SaveDefaultValues(varied, settings);
    ConfigBlock back{};
    LoadDefaultValues(back, settings);
    EXPECT_EQ(back, varied);
}

TEST_F(SettingsFiles, FilesThatCannotBeUsedAreRefusedWithTheirNameAndNothingIsLeft) {
    QDir(dir.path()).mkdir("folder.gpi");
    QByteArray random(5 * 1024 * 1024, '\0');
    QRandomGenerator generator(7);
    for (char& byte : random) {
        byte = char(generator.bounded(256));
    }
    Write("random.gpi", random);
    Write("junk.gpi", QByteArray("[GPIO1]\nMODE=1\n\x01\x02\x03", 18));
    for (const QString name : {"folder.gpi", "random.gpi", "junk.gpi", "missing.gpi"}) {
        SCOPED_TRACE(name.toStdString());
        try {
            ReadSettingsFile(FilePath(PathOf(name)));
            ADD_FAILURE() << "read";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(PathOf(name).toStdString()), std::string::npos)
                << error.what();
        }
    }
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    EXPECT_THROW(WriteSettingsFile(FilePath(PathOf("no/such/folder/x.gpi")), Factory()),
                 std::runtime_error);
    EXPECT_THROW(WriteSettingsFile(FilePath("/proc/quvo-test.gpi"), Factory()), std::runtime_error);
    EXPECT_THROW(WriteSettingsFile(FilePath(PathOf("junk.gpi")), Factory()), std::runtime_error)
        << "a file that is no settings file is not overwritten";
    EXPECT_THROW(SaveDefaultValues(Factory(), "/proc/QUVO8261.dat"), std::runtime_error);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before)
        << "no partial file left";
    EXPECT_EQ(Read("junk.gpi").size(), 18);
}

TEST(ProgramPaths, SettingsBesideAReadOnlyProgramAreCarriedIntoTheUsersFile) {
    const QTemporaryDir folder;
    const QString beside = folder.filePath("QUVO8261.dat");
    const QString mine = folder.filePath("user/QUVO8261.dat");
    QDir().mkpath(folder.filePath("user"));
    ConfigBlock defaults;
    LoadFactoryValues(defaults);
    defaults[ConfigLOCK] = 1;
    SaveDefaultValues(defaults, beside);
    {
        IniFile window(beside);
        window.WriteInteger("WINDOW", "LEFT", 40);
        window.UpdateFile();
    }
    EXPECT_TRUE(CarryOverProgramSettings(beside, mine));
    ConfigBlock loaded{};
    LoadDefaultValues(loaded, mine);
    EXPECT_EQ(loaded, defaults) << "saved defaults are not replaced by factory values";
    EXPECT_EQ(IniFile(mine).ReadInteger("WINDOW", "LEFT", 0), 40);

    // What the user's file already holds wins; a second start adds nothing.
    IniFile changed(mine);
    changed.WriteInteger("WINDOW", "LEFT", 7);
    changed.UpdateFile();
    EXPECT_FALSE(CarryOverProgramSettings(beside, mine));
    EXPECT_EQ(IniFile(mine).ReadInteger("WINDOW", "LEFT", 0), 7);
    EXPECT_FALSE(CarryOverProgramSettings(folder.filePath("none.dat"), mine));
}

TEST(ProgramPaths, AnUnwritableProgramFolderKeepsSettingsWithTheUser) {
    const QTemporaryDir writable;
    const ProgramPaths beside = PathsForProgram(writable.filePath("QUVO8261"));
    EXPECT_EQ(beside.programSettingsFile, writable.filePath("QUVO8261.dat"));
    EXPECT_EQ(beside.settingsFolder, writable.path() + "/");

    const ProgramPaths installed = PathsForProgram("/proc/QUVO8261");
    EXPECT_EQ(installed.programSettingsFile,
              QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                  "/QUVO8261.dat");
    EXPECT_TRUE(FolderIsWritable(QFileInfo(installed.programSettingsFile).absolutePath()));
    EXPECT_NE(installed.settingsFolder, "/proc/");
}

TEST(ProgramPaths, AProgramInASystemFolderKeepsSettingsWithTheUserEvenForRoot) {
    const QString usersFile =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/QUVO8261.dat";
    for (const char* program : {"/usr/bin/QUVO8261", "/usr/local/bin/QUVO8261", "/bin/QUVO8261",
                                "/usr/bin/../bin/QUVO8261"}) {
        EXPECT_EQ(PathsForProgram(program).programSettingsFile, usersFile) << program;
    }
    const QTemporaryDir portable;
    QDir().mkpath(portable.filePath("usr/bin"));
    EXPECT_FALSE(IsSystemProgramFolder(portable.filePath("usr/bin")));
    EXPECT_FALSE(IsSystemProgramFolder("/usr"));
    EXPECT_FALSE(IsSystemProgramFolder("/opt/quvo/bin"));
    EXPECT_EQ(PathsForProgram(portable.filePath("usr/bin/QUVO8261")).programSettingsFile,
              portable.filePath("usr/bin/QUVO8261.dat"));
}

} // namespace
