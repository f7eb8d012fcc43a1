// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// Paths the program computes at start. The settings folder changes at run time
// (stored PATH, the .gpi dialogs); the others never do.
struct ProgramPaths {
    QString programFolder;       // with a trailing separator
    QString settingsFolder;      // with a trailing separator
    QString programSettingsFile; // the program file with extension ".dat"
};

// Derives the paths from the program file's full path. Where the program's folder
// cannot be written to (an installed program), the program settings file lives in
// the user's configuration folder, with what a file beside the program held carried
// over, and the settings folder starts in the user's documents.
ProgramPaths PathsForProgram(const QString& programFile);

// Puts every key of the settings file `from` that the file `to` lacks into `to`:
// settings kept beside the program before its folder became read-only are never
// lost when the file moves to the user's folder. True when `to` was written.
bool CarryOverProgramSettings(const QString& from, const QString& to);

// Whether a file can be created in the folder (tried, not judged from the modes).
bool FolderIsWritable(const QString& folder);

ProgramPaths& CurrentPaths();

// The folder with exactly one trailing separator.
QString WithTrailingSeparator(const QString& folder);
