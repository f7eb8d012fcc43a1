// SPDX-License-Identifier: Apache-2.0
#include "app/ProgramStart.h"

#include "link/Translations.h"

#include "app/EditorWindows.h"
#include "app/SingleInstance.h"
#include "app/UnitMain.h"
#include "app/VirtualPanelsWindow.h"
#include "editor/UnitGPI.h"
#include "link/BackEndChoice.h"
#include "link/D2XXUnit_mod.h"
#include "link/MachineReport.h"
#include "link/PanelDiagnosis.h"
#include "link/PanelFilter.h"
#include "link/RecentMessages.h"
#include "model/ProgramPaths.h"
#include "model/RegularFile.h"
#include "model/SettingsFiles.h"
#include "sim/VirtualBus.h"
#include "ui/Dialogs.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QScreen>

#include <cstdio>
#include <optional>

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    line.showTestButton =
        !arguments.isEmpty() && arguments.first().trimmed().toLower() == QLatin1String("test");
    QCommandLineParser parser;
    AddBackEndOptions(parser);
    parser.addOption(QCommandLineOption("diagnose"));
    parser.addOption(QCommandLineOption(QStringList{"h", "help"}));
    parser.addOption(QCommandLineOption("version"));
    if (!parser.parse(QStringList{QString()} + arguments)) {
        line.error = parser.errorText();
        return line;
    }
    try {
        line.backEnd = BackEndFromOptions(parser);
    } catch (const UnknownDriver& error) {
        line.error = QString::fromStdString(error.what());
    }
    line.diagnose = parser.isSet("diagnose");
    line.help = parser.isSet("help");
    line.version = parser.isSet("version");
    QStringList files = parser.positionalArguments();
    if (line.showTestButton) {
        files.removeFirst();
    }
    if (files.size() > 1) {
        line.error = QObject::tr("Only one settings file can be opened: %1").arg(files.join(", "));
    } else if (!files.isEmpty()) {
        line.settingsFile = files.first();
    }
    return line;
}

QString UsageText() {
    return "Usage: QUVO8261 [test] [options] [FILE.gpi]\n"
           "\n"
           "Arguments:\n"
           "  test                show the editor's TEST button (first argument only)\n"
           "  FILE.gpi            a settings file: each panel opened is compared with it,\n"
           "                      and its differences can be loaded (Compare with File)\n"
           "\n"
           "Options:\n"
           "  --driver=d2xx       use FTDI's own D2XX library, downloaded from FTDI;\n"
           "                      QUVO_D2XX_LIBRARY names its file if it is not found by\n"
           "                      the usual name. It cannot use a chip the kernel's\n"
           "                      ftdi_sio driver holds.\n"
           "  --driver=libftdi    use the open-source libftdi1 your distribution packages:\n"
           "                      nothing to download, and it detaches ftdi_sio by itself\n"
           "  --driver=sim        use two virtual panels instead of hardware\n"
           "  --simulate          the same as --driver=sim\n"
           "  --diagnose          print every FTDI device the driver library and the\n"
           "                      system see, each panel's state and what to do when it\n"
           "                      cannot be used; exit code 0 when a panel is usable, 1\n"
           "                      when none is\n"
           "  -h, --help          show this text\n"
           "  --version           show the program's version\n"
           "\n"
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
    const LibraryDevices library = ListLibraryDevices();
    const std::vector<QString>& usableSerials = library.usableSerials;
    std::vector<AttachedChip> chips = FindAttachedChips(sysfsRoot, deviceRoot, canOpen);
    MarkPanelsInUse(chips, usableSerials);
    out << DiagnosisReport(library.lines, chips);
    out << (usableSerials.empty() ? "No usable QUVO-8261 panel.\n"
                                  : QString("%1 usable panel(s).\n").arg(usableSerials.size()));
    return usableSerials.empty() ? 1 : 0;
}

void OfferSettingsFile(const QString& file, QWidget& deviceList, TFormEdit& editor) {
    if (file.isEmpty()) {
        return;
    }
    try {
        ReadSettingsFile(FilePath(file), true);
        editor.OfferFileWhenOnline(QFileInfo(file).absoluteFilePath());
    } catch (const std::exception& error) {
        Dialogs::ShowMessage(&deviceList, QString::fromStdString(error.what()),
                             QObject::tr("Error"), Dialogs::Icon::Error);
    }
}

bool ShowsVirtualPanels(const CommandLine& line) {
    return line.backEnd == BackEnd::VirtualPanels;
}

namespace {

// What the command line asks that needs no window: an exit code, or none.
std::optional<int> AnswerWithoutWindows(const CommandLine& line, int argc, char** argv) {
    if (line.version) {
        std::printf("QUVO8261 %s\n", QUVO_VERSION);
        return 0;
    }
    if (line.help || !line.error.isEmpty()) {
        if (!line.error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(line.error));
        }
        std::fputs(qPrintable(UsageText()), line.help ? stdout : stderr);
        return line.help ? 0 : 2;
    }
    if (!line.diagnose) {
        return std::nullopt;
    }
    const QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    try {
        UseBackEnd(line.backEnd, [] { return UseVirtualPanels(); });
    } catch (const NoBackEnd& error) {
        std::fprintf(stderr, "QUVO8261: %s\n", error.what());
        return 1;
    }
    return RunDiagnosis(out);
}

// The single instance and the back-end, with the back-end in a report's words;
// false when the program must end.
bool ReadyToRun(const CommandLine& line, const SingleInstance& instance, QString& backEndWords) {
    if (instance.Result() == SingleInstance::Outcome::Failed) {
        return false;
    }
    if (instance.Result() == SingleInstance::Outcome::AlreadyRunning) {
        Dialogs::ShowMessage(nullptr, QObject::tr("QUVO USB driver used by another application"),
                             QObject::tr("Cannot run program"), Dialogs::Icon::Warning);
        return false;
    }
    try {
        const InstalledBackEnd installed =
            UseBackEnd(line.backEnd, [] { return UseVirtualPanels(); });
        backEndWords = BackEndWords(line.backEnd, installed.backEnd, installed.d2xxNotLoaded);
    } catch (const NoBackEnd& error) {
        Dialogs::ShowMessage(nullptr, QString(error.what()).replace("\n", "\r\n"),
                             QObject::tr("Cannot run program"), Dialogs::Icon::Error);
        return false;
    }
    return true;
}

// The "Virtual panels" window beside the device list, never over it while the
// screen has room on a side; it scrolls where it is smaller than its panels.
std::unique_ptr<VirtualPanelsWindow> ShowVirtualPanelsBeside(const QWidget& deviceList) {
    auto window = std::make_unique<VirtualPanelsWindow>();
    // The program still ends when the device list window closes.
    window->setAttribute(Qt::WA_QuitOnClose, false);
    window->show();
    const QSize frame = window->frameGeometry().size() - window->size();
    const QRect place =
        BesideWithoutCovering(deviceList.frameGeometry(), window->FullSize() + frame,
                              deviceList.screen()->availableGeometry());
    window->resize(place.size() - frame);
    window->move(place.topLeft());
    return window;
}

} // namespace

int RunProgram(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const CommandLine line = ParseCommandLine(arguments);
    KeepRecentMessages();
    if (const std::optional<int> code = AnswerWithoutWindows(line, argc, argv)) {
        return *code;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    QGuiApplication::setDesktopFileName(DesktopFileId);
    // The system's language: LANG, LC_ALL and LC_MESSAGES as the desktop sets them.
    const ProgramTranslations translations{QLocale()};
    if (qEnvironmentVariableIntValue("QUVO_MESSAGES_TO_STDERR") != 0) {
        Dialogs::SetRecorder([](const Dialogs::Message& message) {
            std::fprintf(stderr, "[%s] %s\n", qPrintable(message.caption),
                         qPrintable(QString(message.text).replace("\r\n", "\n")));
        });
    }
    CurrentPaths() = PathsForProgram(QApplication::applicationFilePath());
    const SingleInstance instance("QUVO_8261_OneCopy");
    QString backEndWords;
    if (!ReadyToRun(line, instance, backEndWords)) {
        return 0;
    }

    RegisterFonts();
    const EditorWindows windows =
        ShowEditorWindows(CurrentPaths().programSettingsFile, line.showTestButton);
    windows.main->SetBackEndWords(backEndWords);
    OfferSettingsFile(line.settingsFile, *windows.main, *windows.editor);
    // Only the virtual panels can be seen and operated this way.
    const std::unique_ptr<VirtualPanelsWindow> virtualPanels =
        ShowsVirtualPanels(line) ? ShowVirtualPanelsBeside(*windows.main) : nullptr;
    QApplication::exec();
    return 0;
}
