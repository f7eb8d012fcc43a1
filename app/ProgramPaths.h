#pragma once

#include <QString>

// Paths the program computes at start. The settings folder changes at run time
// (stored PATH, the .gpi dialogs); the others never do.
struct ProgramPaths {
    QString programFolder;       // with a trailing separator
    QString settingsFolder;      // with a trailing separator
    QString programSettingsFile; // the program file with extension ".dat"
};

// Derives the paths from the program file's full path.
ProgramPaths PathsForProgram(const QString& programFile);

ProgramPaths& CurrentPaths();

// The folder with exactly one trailing separator.
QString WithTrailingSeparator(const QString& folder);
