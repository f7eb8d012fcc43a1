// SPDX-License-Identifier: Apache-2.0
#include "model/IniFile.h"

#include <QFile>
#include <QFileInfo>
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

TEST_F(IniFileTest, LineEndingsAndCarriageReturnsNeverLoseAValue) {
    // Every line ending reads the same; blanks and CRs are not part of names and values.
    for (const std::string text :
         {"[W]\nA=1\nB = 2 \n", "[W]\r\nA=1\r\nB = 2 \r\n", "[W]\rA=1\rB = 2 \r",
          "\xEF\xBB\xBF[W]\r\nA=1\r\r\nB = 2 \r\r", "[W]\r\rA=1\r\rB=2\r\r"}) {
        const IniFile ini = IniFile::FromText(text);
        EXPECT_EQ(ini.ReadInteger("W", "A", 0), 1) << text;
        EXPECT_EQ(ini.ReadString("W", "B", ""), "2") << text;
    }
    // "[window]\r\r" is a header when loaded, so the program's WINDOW values read back.
    WriteFile("[window]\r\r");
    {
        IniFile ini(Path());
        ini.WriteInteger("WINDOW", "LEFT", 40);
        ini.UpdateFile();
    }
    EXPECT_EQ(ReadFile(), "[window]\rLEFT=40\r\r");
    EXPECT_EQ(IniFile(Path()).ReadInteger("WINDOW", "LEFT", 0), 40);
}

TEST_F(IniFileTest, SaveThenReloadIsAFixedPoint) {
    const std::string inputs[] = {"\r\r",
                                  "a=\r\r=b",
                                  "[x]\r\n\r[x]\nk=1\r\n",
                                  "\xEF\xBB\xBF",
                                  "[ s ]\n k = v \n;c=1\n[]\n=\n[[t]]\n",
                                  std::string("\0=\0", 3)};
    for (const std::string& input : inputs) {
        const std::string once = IniFile::FromText(input).Text();
        EXPECT_EQ(IniFile::FromText(once).Text(), once) << input;
    }
    const IniFile kept = IniFile::FromText("[ s ]\r\n k = v \r\n");
    EXPECT_EQ(kept.Text(), "[s]\r\n k = v \r\n");
    EXPECT_EQ(kept.ReadString("S", "K", ""), "v");
}

TEST_F(IniFileTest, OneSignThenDigits) {
    EXPECT_EQ(ParseInteger("+-3"), std::nullopt);
    EXPECT_EQ(ParseInteger("-+3"), std::nullopt);
    EXPECT_EQ(ParseInteger("++3"), std::nullopt);
    EXPECT_EQ(ParseInteger("+"), std::nullopt);
    EXPECT_EQ(ParseInteger(" +3 "), 3);
    EXPECT_EQ(ParseInteger("-3"), -3);
    EXPECT_EQ(ParseInteger("99999999999999999999"), std::nullopt);
}

TEST_F(IniFileTest, ValuesAndNamesThatWouldNotReadBackAreNotWritten) {
    IniFile ini(Path());
    EXPECT_FALSE(ini.WriteString("WINDOW", "PATH", "/tmp/a\n[DEFAULT]\nDATA=00"));
    EXPECT_FALSE(ini.WriteString("WINDOW", "PATH", "/tmp/a\rb"));
    EXPECT_FALSE(ini.WriteString("WIN\nDOW", "PATH", "x"));
    EXPECT_FALSE(ini.WriteString("WINDOW", "A=B", "x"));
    EXPECT_FALSE(ini.WriteString("WINDOW", "", "x"));
    EXPECT_FALSE(ini.WriteString("WIN]DOW", "A", "x"));
    EXPECT_TRUE(ini.WriteString("WINDOW", "PATH", "/tmp/a b/"));
    // Blanks at the ends of a value, and quotes around it, survive in quotes.
    EXPECT_TRUE(ini.WriteString("WINDOW", "LEADING", " /tmp/x/"));
    EXPECT_TRUE(ini.WriteString("WINDOW", "TRAILING", "/tmp/ends in blank /"));
    EXPECT_TRUE(ini.WriteString("WINDOW", "QUOTED", "\"q\""));
    ini.UpdateFile();
    const IniFile again(Path());
    EXPECT_EQ(again.ReadString("DEFAULT", "DATA"), std::nullopt);
    EXPECT_EQ(again.ReadString("WINDOW", "PATH", ""), "/tmp/a b/");
    EXPECT_EQ(again.ReadString("WINDOW", "LEADING", ""), " /tmp/x/");
    EXPECT_EQ(again.ReadString("WINDOW", "TRAILING", ""), "/tmp/ends in blank /");
    EXPECT_EQ(again.ReadString("WINDOW", "QUOTED", ""), "\"q\"");
}

TEST_F(IniFileTest, AFileLargerThanOneMebibyteIsNeitherReadNorOverwritten) {
    const std::string huge = "[WINDOW]\nLEFT=5\n" + std::string(50 * 1024 * 1024, '\n');
    WriteFile(huge);
    IniFile ini(Path());
    EXPECT_FALSE(ini.LoadError().isEmpty());
    EXPECT_TRUE(ini.LoadError().contains(Path()));
    EXPECT_EQ(ini.ReadInteger("WINDOW", "LEFT", 7), 7) << "not read";
    EXPECT_LT(ini.Text().size(), 100u);
    ini.WriteInteger("WINDOW", "LEFT", 1);
    EXPECT_THROW(ini.UpdateFile(), std::runtime_error);
    EXPECT_EQ(QFileInfo(Path()).size(), qint64(huge.size())) << "left as it was";
}

TEST_F(IniFileTest, WriteToAMissingFolderThrows) {
    IniFile ini(dir.filePath("no/such/folder/file.dat"));
    ini.WriteInteger("A", "B", 1);
    EXPECT_THROW(ini.UpdateFile(), std::runtime_error);
}

} // namespace
