#include "shell/qt/DesktopStart.h"

#include <unistd.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "pages/qt/QtBrowserPane.h"
#include "shell/qt/DesktopApplication.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/Pictures.h"

namespace zorbinta::qt {

int runDesktopProgram(int argc, char** argv, const std::string& programDir,
                      const std::function<void(DesktopProgram&)>& started) {
    // The engine refuses to start its sandbox as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    registerPaneSchemes();
    DesktopApplication app(argc, argv);
    QApplication::setApplicationName("zorbinta");
    QApplication::setApplicationVersion(ProgramVersion);
    QApplication::setDesktopFileName("zorbinta");
    QApplication::setWindowIcon(pictureIcon(Picture::Program));

    // The program speaks Russian; so do the toolkit's own dialogs and buttons.
    QTranslator toolkit;
    if (toolkit.load(QLocale(QLocale::Russian), "qtbase", "_",
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&toolkit);
    }

    // Every file of the program is found beside its executable.
    DesktopProgram program(programDir.empty() ? QApplication::applicationDirPath().toStdString()
                                              : programDir);
    if (started) started(program);
    program.show();
    return QApplication::exec();
}

}  // namespace zorbinta::qt
