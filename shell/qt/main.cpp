// zorbinta: the desktop catalogue of web-hosting offers.

#include <unistd.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "pages/qt/QtBrowserPane.h"
#include "shell/qt/DesktopApplication.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/Pictures.h"

int main(int argc, char** argv) {
    // The engine refuses to start its sandbox as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    zorbinta::qt::registerPaneSchemes();
    zorbinta::qt::DesktopApplication app(argc, argv);
    QApplication::setApplicationName("zorbinta");
    QApplication::setApplicationVersion(zorbinta::ProgramVersion);
    QApplication::setDesktopFileName("zorbinta");
    QApplication::setWindowIcon(zorbinta::qt::pictureIcon(zorbinta::qt::Picture::Program));

    // The program speaks Russian; so do the toolkit's own dialogs and buttons.
    QTranslator toolkit;
    if (toolkit.load(QLocale(QLocale::Russian), "qtbase", "_",
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&toolkit);
    }

    // Every file of the program is found beside its executable.
    zorbinta::qt::DesktopProgram program(QApplication::applicationDirPath().toStdString());
    program.show();
    return QApplication::exec();
}
