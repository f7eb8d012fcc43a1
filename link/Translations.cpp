// SPDX-License-Identifier: Apache-2.0
#include "link/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

ProgramTranslations::ProgramTranslations(const QLocale& locale) {
    if (program_.load(locale, "quvo8261", "_", ":/translations")) {
        programInstalled_ = QCoreApplication::installTranslator(&program_);
    }
    if (qtBase_.load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qtBaseInstalled_ = QCoreApplication::installTranslator(&qtBase_);
    }
}

ProgramTranslations::~ProgramTranslations() {
    if (programInstalled_) {
        QCoreApplication::removeTranslator(&program_);
    }
    if (qtBaseInstalled_) {
        QCoreApplication::removeTranslator(&qtBase_);
    }
}
