#include "ProgramStart.h"

#include "BackEnds.h"
#include "D2XXUnit_mod.h"
#include "PanelDiagnosis.h"
#include "PanelFilter.h"
#include "ProgramPaths.h"
#include "SingleInstance.h"
#include "UnitGPI.h"
#include "UnitMain.h"
#include "VirtualBus.h"
#include "VirtualPanelsWindow.h"
#include "WindowPlacement.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QScreen>

#include <cstdio>

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    line.showTestButton =
        !arguments.isEmpty() && arguments.first().trimmed().toLower() == QLatin1String("test");
    for (const QString& argument : arguments) {
        if (argument == "--simulate") {
            line.backEnd = BackEnd::VirtualPanels;
        } else if (argument.startsWith("--driver=")) {
            const std::optional<BackEnd> named = BackEndNamed(argument.mid(9).toStdString());
            if (named) {
                line.backEnd = *named;
            } else {
                line.error = "Unknown driver " + argument.mid(9) + " (d2xx, libftdi or sim)";
            }
        } else if (argument == "--diagnose") {
            line.diagnose = true;
        } else if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument.startsWith("--")) {
            line.error = "Unknown option " + argument;
        }
    }
    return line;
}

QString UsageText() {
    return "Usage: QUVO8261 [test] [--driver=d2xx|libftdi|sim] [--simulate] [--diagnose]\n"
           "                [--help]\n"
           "  test            show the editor's TEST button (first argument only)\n"
           "  --driver=d2xx   use FTDI's own D2XX library, downloaded from FTDI;\n"
           "                  QUVO_D2XX_LIBRARY names its file if it is not found by the\n"
           "                  usual name. It cannot use a chip the kernel's ftdi_sio\n"
           "                  driver holds.\n"
           "  --driver=libftdi  use the open-source libftdi1 your distribution packages:\n"
           "                  nothing to download, and it detaches ftdi_sio by itself\n"
           "  --driver=sim    use two virtual panels instead of hardware\n"
           "  --simulate      the same as --driver=sim\n"
           "  --diagnose      print every FTDI device the driver library and the system see,\n"
           "                  each panel's state and what to do when it cannot be used;\n"
           "                  exit code 0 when a panel is usable, 1 when none is\n"
           "  --help          show this text\n"
           "Without --driver the program uses D2XX when its library loads, else libftdi1.\n"
           "Set QUVO_MESSAGES_TO_STDERR=1 to print message boxes instead of showing them.\n";
}

void RegisterFonts() {
    const QDir folder("/usr/share/wine/fonts");
    for (const char* file : {"tahoma.ttf", "tahomabd.ttf", "small_fonts.ttf"}) {
        if (folder.exists(file)) {
            QFontDatabase::addApplicationFont(folder.filePath(file));
        }
    }
}

int RunDiagnosis(QTextStream& out, const QString& sysfsRoot, const QString& deviceRoot,
                 const std::function<bool(const QString&)>& canOpen) {
    std::vector<QString> libraryDevices;
    std::vector<QString> usableSerials;
    if (EnumerateDevices() != FT_OK) {
        libraryDevices.push_back("(the library could not list the devices)");
    }
    for (std::uint32_t i = 0; i < DeviceInfoCount; ++i) {
        const FT_DEVICE_LIST_INFO_NODE& node = DeviceInfoList[i];
        const QString serial = QString::fromStdString(SerialNumberOf(node));
        if ((node.Flags & FT_FLAGS_OPENED) != 0 && serial.isEmpty()) {
            libraryDevices.push_back("a device opened by another program (or held by the kernel)");
            continue;
        }
        const bool usable = IsPanelDevice(node);
        libraryDevices.push_back(QString("%1  %2  type %3  location 0x%4%5")
                                     .arg(QString::fromStdString(DescriptionOf(node)), serial)
                                     .arg(node.Type)
                                     .arg(node.LocId, 4, 16, QChar('0'))
                                     .arg(usable ? "  - usable panel" : ""));
        if (usable) {
            usableSerials.push_back(serial);
        }
    }
    std::vector<AttachedChip> chips = FindAttachedChips(sysfsRoot, deviceRoot, canOpen);
    MarkPanelsInUse(chips, usableSerials);
    out << DiagnosisReport(libraryDevices, chips);
    out << (usableSerials.empty() ? "No usable QUVO-8261 panel.\n"
                                  : QString("%1 usable panel(s).\n").arg(usableSerials.size()));
    return usableSerials.empty() ? 1 : 0;
}

bool ShowsVirtualPanels(const CommandLine& line) {
    return line.backEnd == BackEnd::VirtualPanels;
}

int RunProgram(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // Answered before any window system is needed.
    const CommandLine line = ParseCommandLine(arguments);
    if (line.help || !line.error.isEmpty()) {
        if (!line.error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(line.error));
        }
        std::fputs(qPrintable(UsageText()), line.help ? stdout : stderr);
        return line.help ? 0 : 2;
    }

    if (line.diagnose) {
        const QCoreApplication application(argc, argv);
        QTextStream out(stdout);
        std::string error;
        if (!UseBackEnd(line.backEnd, error)) {
            out << QString::fromStdString(error);
            return 1;
        }
        return RunDiagnosis(out);
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);

    if (qEnvironmentVariableIntValue("QUVO_MESSAGES_TO_STDERR") != 0) {
        Dialogs::SetRecorder([](const Dialogs::Message& message) {
            std::fprintf(stderr, "[%s] %s\n", qPrintable(message.caption),
                         qPrintable(QString(message.text).replace("\r\n", "\n")));
        });
    }

    CurrentPaths() = PathsForProgram(QApplication::applicationFilePath());

    const SingleInstance instance("QUVO_8261_OneCopy");
    if (instance.Result() == SingleInstance::Outcome::Failed) {
        return 0;
    }
    if (instance.Result() == SingleInstance::Outcome::AlreadyRunning) {
        Dialogs::ShowMessage(nullptr, "QUVO USB driver used by another application",
                             "Cannot run program", Dialogs::Icon::Warning);
        return 0;
    }

    if (std::string error; !UseBackEnd(line.backEnd, error)) {
        Dialogs::ShowMessage(nullptr,
                             QString::fromStdString(error) +
                                 "\r\nInstall FTDI's D2XX driver (or set QUVO_D2XX_LIBRARY to "
                                 "its file), make the USB devices reachable for libftdi1, or "
                                 "start with --simulate.",
                             "Cannot run program", Dialogs::Icon::Error);
        return 0;
    }
    SetPortErrorDialog([](const std::string& text) {
        Dialogs::ShowMessage(QApplication::activeWindow(), QString::fromStdString(text), "Error",
                             Dialogs::Icon::Error);
    });

    RegisterFonts();
    TFormMain main(CurrentPaths().programSettingsFile);
    TFormEdit editor(line.showTestButton);
    main.SetEditor(&editor);
    main.show();
    // Only the virtual panels can be seen and operated this way.
    std::unique_ptr<VirtualPanelsWindow> virtualPanels;
    if (ShowsVirtualPanels(line)) {
        virtualPanels = std::make_unique<VirtualPanelsWindow>();
        // The program still ends when the device list window closes.
        virtualPanels->setAttribute(Qt::WA_QuitOnClose, false);
        virtualPanels->adjustSize();
        // Beside the device list where the screen has room, else below it.
        const QRect area = main.screen()->availableGeometry();
        const QRect list = main.frameGeometry();
        QRect place(list.topRight() + QPoint(10, 0), virtualPanels->size());
        if (!area.contains(place)) {
            place.moveTopLeft(list.bottomLeft() + QPoint(0, 10));
        }
        virtualPanels->move(KeptInside(place, area));
        virtualPanels->show();
    }
    QApplication::exec();
    return 0;
}
