// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/BackEndChoice.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

class QWidget;
class TFormEdit;

// What the command line asks for.
struct CommandLine {
    bool showTestButton = false; // first argument "test", trimmed, any letter case
    BackEnd backEnd = BackEnd::Automatic;
    bool help = false;
    bool version = false;
    bool diagnose = false;
    QString settingsFile; // a .gpi file to compare each opened panel with (the file manager's %f)
    QString error;        // an argument the program does not know
};

// `arguments` without the program name.
CommandLine ParseCommandLine(const QStringList& arguments);
QString UsageText();

// `--diagnose`: what the driver library and the system see of the attached FTDI
// devices, each panel's state and what to do. 0 when a panel is usable, else 1.
// The back-end must be chosen before.
int RunDiagnosis(QTextStream& out, const QString& sysfsRoot = "/sys/bus/usb/devices",
                 const QString& deviceRoot = "/dev/bus/usb",
                 const std::function<bool(const QString& node)>& canOpen = {});

// The settings file the program was started with (none: empty), checked now so
// that a file that cannot be read is said at once over `deviceList`, with its
// name; each panel opened in `editor` is then compared with a readable one.
void OfferSettingsFile(const QString& file, QWidget& deviceList, TFormEdit& editor);

// Whether the "Virtual panels" window is shown: with the virtual panels only.
bool ShowsVirtualPanels(const CommandLine& line);

// Registers the fonts the windows name, where their files exist.
void RegisterFonts();

// The whole program: single instance, back-end, windows, message loop. Returns
// the exit code.
int RunProgram(int argc, char** argv);
