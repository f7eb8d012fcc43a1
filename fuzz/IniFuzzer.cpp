// SPDX-License-Identifier: Apache-2.0
// INI text as the program reads it: parse, write, parse again must give the
// same text and lose no value.
#include "model/IniFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const IniFile first = IniFile::FromText(text);
    const std::string written = first.Text();
    const IniFile second = IniFile::FromText(written);
    if (second.Text() != written) {
        std::abort();
    }
    for (const IniFile::Entry& entry : first.Entries()) {
        if (second.ReadString(entry.section, entry.key) !=
            first.ReadString(entry.section, entry.key)) {
            std::abort();
        }
    }
    // What the program writes into a parsed file must read back as written.
    IniFile edited = IniFile::FromText(text);
    if (edited.WriteString("WINDOW", "PATH", "/a b/") &&
        IniFile::FromText(edited.Text()).ReadString("window", "path") != "/a b/") {
        std::abort();
    }
    // Any value without a line break, blanks and quotes at its ends included.
    const std::string value = text.substr(0, text.find_first_of("\r\n"));
    if (edited.WriteString("WINDOW", "VALUE", value) &&
        IniFile::FromText(edited.Text()).ReadString("WINDOW", "VALUE") != value) {
        std::abort();
    }
    return 0;
}
