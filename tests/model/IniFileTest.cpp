#include "IniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString Path() const { return dir.filePath("settings.dat"); }
    void WriteFile(const std::string& text) {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), qint64(text.size()));
    }
    std::string ReadFile() {
        QFile file(Path());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll().toStdString();
    }
    QTemporaryDir dir;
};

TEST_F(IniFileTest, MissingFileReadsDefaults) {
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("WINDOW", "LEFT", 17), 17);
    EXPECT_EQ(ini.ReadString("WINDOW", "PATH", "x"), "x");
    EXPECT_FALSE(ini.ReadBool("WINDOW", "MAXIMIZED", false));
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndBadNumbersFallBack) {
    WriteFile("[gpio5]\r\nduration=5\r\nMODE = 2\r\nGROUP=abc\r\nSAVE=-1\r\n");
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("GPIO5", "DURATION", 3), 5);
    EXPECT_EQ(ini.ReadInteger("GPIO5", "MODE", 0), 2);
    EXPECT_EQ(ini.ReadInteger("GPIO5", "GROUP", 7), 7);
    EXPECT_EQ(ini.ReadInteger("GPIO5", "SAVE", 0), -1);
    EXPECT_TRUE(ini.ReadBool("GPIO5", "SAVE", false));
    EXPECT_EQ(ini.ReadInteger("GPIO6", "MODE", 9), 9);
}

TEST_F(IniFileTest, NewFileGetsSectionsAndKeysInWrittenOrder) {
    IniFile ini(Path());
    ini.WriteInteger("COMMON", "SAVE", 0);
    ini.WriteInteger("COMMON", "LOCK", 1);
    ini.WriteInteger("GPIO1", "GROUP", 0);
    ini.UpdateFile();
    EXPECT_EQ(ReadFile(), "[COMMON]\nSAVE=0\nLOCK=1\n\n[GPIO1]\nGROUP=0\n\n");
}

TEST_F(IniFileTest, UpdateKeepsOtherContentAndReplacesInPlace) {
    WriteFile("; a comment\n[DEFAULT]\nDATA=00FF\n\n[WINDOW]\nLEFT=5\nEXTRA=keep\n");
    IniFile ini(Path());
    ini.WriteInteger("window", "left", 40);
    ini.WriteInteger("WINDOW", "TOP", 50);
    ini.WriteString("OTHER", "X", "y");
    ini.UpdateFile();
    EXPECT_EQ(ReadFile(), "; a comment\n[DEFAULT]\nDATA=00FF\n\n[WINDOW]\nLEFT=40\nEXTRA=keep\n"
                          "TOP=50\n\n[OTHER]\nX=y\n\n");
    IniFile again(Path());
    EXPECT_EQ(again.ReadString("DEFAULT", "DATA", ""), "00FF");
    EXPECT_EQ(again.ReadInteger("WINDOW", "LEFT", 0), 40);
}

TEST_F(IniFileTest, WriteToAMissingFolderThrows) {
    IniFile ini(dir.filePath("no/such/folder/file.dat"));
    ini.WriteInteger("A", "B", 1);
    EXPECT_THROW(ini.UpdateFile(), std::runtime_error);
}

} // namespace
