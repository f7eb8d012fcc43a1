// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QLocale>
#include <QTranslator>

// The program's texts and Qt's own (dialog buttons, file dialogs) in the
// language of `locale`, for as long as this lives. English, the language the
// texts are written in, needs none; a language the program has no translation
// for keeps them English. File keys, section names and wire data never change.
class ProgramTranslations {
public:
    explicit ProgramTranslations(const QLocale& locale);
    ~ProgramTranslations();
    ProgramTranslations(const ProgramTranslations&) = delete;
    ProgramTranslations& operator=(const ProgramTranslations&) = delete;

    // The program's own texts were found for the language.
    bool Loaded() const { return programInstalled_; }

private:
    QTranslator program_;
    QTranslator qtBase_;
    bool programInstalled_ = false;
    bool qtBaseInstalled_ = false;
};
