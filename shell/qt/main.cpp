// zorbinta: the desktop catalogue of web-hosting offers.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "catalogue/core/ProgramFiles.h"
#include "pages/qt/QtBrowserPane.h"
#include "shell/qt/DesktopApplication.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/Pictures.h"

namespace {

// --help and --version are answered before any window or the web engine
// starts, so they need no display. Everything else is left to Qt, which
// takes options of its own (-platform, -style ...).
bool answeredCommandLine(int argc, char** argv, int& status) {
    CLI::App cli{
        "Zorbinta: a catalogue of web-hosting offers. Browse hosting providers and their\n"
        "plans, search virtual-server plans, compare them side by side, list free hosting\n"
        "and domain-registration prices, and download a fresh catalogue.\n\n"
        "Installed, the program reads its files from PREFIX/share/zorbinta/ and keeps each\n"
        "user's downloaded catalogue and settings in $XDG_DATA_HOME/zorbinta/\n"
        "(~/.local/share/zorbinta/); a portable folder keeps everything beside the program.",
        "zorbinta"};
    cli.set_version_flag("--version", std::string("zorbinta ") + zorbinta::ProgramVersion);
    cli.allow_extras();
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        status = cli.exit(e);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (int status = 0; answeredCommandLine(argc, argv, status)) return status;
    // The engine refuses to start its sandbox as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    zorbinta::qt::registerPaneSchemes();
    zorbinta::qt::DesktopApplication app(argc, argv);
    QApplication::setApplicationName("zorbinta");
    QApplication::setApplicationVersion(zorbinta::ProgramVersion);
    // Beside the executable in a portable folder; installed, the shipped
    // files and the user's own.
    const zorbinta::ProgramFiles files = zorbinta::locateProgramFiles(
        QApplication::applicationDirPath().toStdString(), zorbinta::currentUserEnvironment());
    // The name of the menu entry: the package installs it under the
    // program's AppStream id, a portable folder beside the program.
    QApplication::setDesktopFileName(files.portable() ? "zorbinta" : "ru.zorbinta.Zorbinta");
    QApplication::setWindowIcon(zorbinta::qt::pictureIcon(zorbinta::qt::Picture::Program));

    // The program speaks Russian; so do the toolkit's own dialogs and buttons.
    QTranslator toolkit;
    if (toolkit.load(QLocale(QLocale::Russian), "qtbase", "_",
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&toolkit);
    }

    zorbinta::qt::DesktopProgram program(files);
    program.show();
    return QApplication::exec();
}
