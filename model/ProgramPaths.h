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

// Derives the paths from the program file's full path. An installed program (in a
// system folder for programs, or in any folder it cannot write to) keeps its
// program settings file in the user's configuration folder, with what a file
// beside the program held carried over, and its settings folder starts in the
// user's documents. That holds for root too, who could write beside it. A program
// run from its build tree or a portable folder keeps its file beside itself.
ProgramPaths PathsForProgram(const QString& programFile);

// Whether the folder is one of the system's folders for installed programs
// (/usr/bin, /usr/local/bin, ...), also when reached through a link.
bool IsSystemProgramFolder(const QString& folder);

// Puts every key of the settings file `from` that the file `to` lacks into `to`:
// settings kept beside the program before its folder became read-only are never
// lost when the file moves to the user's folder. True when `to` was written.
bool CarryOverProgramSettings(const QString& from, const QString& to);

// Whether a file can be created in the folder (tried, not judged from the modes).
bool FolderIsWritable(const QString& folder);

ProgramPaths& CurrentPaths();

// The folder with exactly one trailing separator.
QString WithTrailingSeparator(const QString& folder);
