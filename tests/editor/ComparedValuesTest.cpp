// SPDX-License-Identifier: Apache-2.0
#include "editor/ComparedValues.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* name;
    std::size_t offset;
    std::uint8_t fileValue;
    std::map<std::size_t, long long> outOfRange;
    QStringList expected;
};

// Each setting worded as the editor shows it; a value a panel cannot hold as
// the file holds it, also where its low 8 bits match the panel.
TEST(ComparedValues, EachSettingAsTheEditorShowsIt) {
    const std::size_t channel3 = RecordOffset(3);
    const Case cases[] = {
        {"F1 function", ConfigMODE17, 1, {}, {"COMMON MODE17: panel None, file UnLock"}},
        {"F2 function", ConfigMODE18, 2, {}, {"COMMON MODE18: panel None, file MEM"}},
        {"F2 GPIO off", ConfigMODE18, 1, {}, {"COMMON MODE18: panel None, file GPIO OFF"}},
        {"unknown function", ConfigMODE17, 9, {}, {"COMMON MODE17: panel None, file 9"}},
        {"restore", ConfigSAVE, 1, {}, {"COMMON SAVE: panel off, file on"}},
        {"unknown mode", channel3 + RecordMODE, 7, {}, {"GPIO3 MODE: panel Free, file 7"}},
        {"group", channel3 + RecordGROUP, 16, {}, {"GPIO3 GROUP: panel n/a, file 16"}},
        {"duration out of range",
         channel3 + RecordDURATION,
         300 & 0xFF,
         {{channel3 + RecordDURATION, 300}},
         {"GPIO3 DURATION: panel 0.3 s, file 300 (out of range)"}},
        {"out of range with the panel's low byte",
         channel3 + RecordDURATION,
         3,
         {{channel3 + RecordDURATION, 259}},
         {"GPIO3 DURATION: panel 0.3 s, file 259 (out of range)"}},
        {"negative group",
         channel3 + RecordGROUP,
         0xFF,
         {{channel3 + RecordGROUP, -1}},
         {"GPIO3 GROUP: panel n/a, file -1 (out of range)"}},
        {"colour out of range",
         ColourOffset(3, 1) + ColourRed,
         0,
         {{ColourOffset(3, 1) + ColourRed, 512}},
         {"GPIO3 COLOR1: the file's GPIO3 COLOR1_R = 512 is out of range"}},
    };
    ConfigBlock panel;
    LoadFactoryValues(panel);
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        ConfigBlock file = panel;
        file[row.offset] = row.fileValue;
        EXPECT_EQ(ComparedLines(panel, file, row.outOfRange), row.expected);
    }
    EXPECT_TRUE(ComparedLines(panel, panel, {}).isEmpty());
}

} // namespace
