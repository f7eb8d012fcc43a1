#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for.
struct CommandLine {
    enum class Driver { D2xx, Simulator };

    bool showTestButton = false; // first argument "test", trimmed, any letter case
    Driver driver = Driver::D2xx;
    bool help = false;
    QString error; // an argument the program does not know
};

// `arguments` without the program name.
CommandLine ParseCommandLine(const QStringList& arguments);
QString UsageText();

// Whether the "Virtual panels" window is shown: with the virtual panels only.
bool ShowsVirtualPanels(const CommandLine& line);

// Registers the fonts the windows name, where their files exist.
void RegisterFonts();

// The whole program: single instance, back-end, windows, message loop. Returns
// the exit code.
int RunProgram(int argc, char** argv);
