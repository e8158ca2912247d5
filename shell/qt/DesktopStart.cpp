// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/DesktopStart.h"

#include <unistd.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "catalogue/core/ProgramFiles.h"
#include "pages/qt/ColourScheme.h"
#include "pages/qt/QtBrowserPane.h"
#include "shell/qt/DesktopApplication.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/Pictures.h"

namespace zorbinta::qt {

void prepareDesktopEnvironment() {
    // The engine refuses to start its sandbox as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // The page is all the program shows: screen readers must see it, and
    // the engine shows pages to Linux accessibility only when asked so.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY")) {
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    }
}

int runDesktopProgram(int argc, char** argv, const std::string& programDir,
                      const std::function<void(DesktopProgram&)>& started) {
    prepareDesktopEnvironment();
    registerPaneSchemes();
    DesktopApplication app(argc, argv);
    QApplication::setApplicationName("zorbinta");
    QApplication::setApplicationVersion(ProgramVersion);
    // Beside the executable in a portable folder (or in programDir when
    // given); installed, the shipped files and the user's own.
    const ProgramFiles files =
        programDir.empty() ? locateProgramFiles(QApplication::applicationDirPath().toStdString(),
                                                currentUserEnvironment())
                           : ProgramFiles(programDir);
    // The name of the menu entry: the package installs it under the
    // program's AppStream id, a portable folder beside the program.
    QApplication::setDesktopFileName(files.portable() ? "zorbinta" : "ru.zorbinta.zorbinta");
    QApplication::setWindowIcon(pictureIcon(Picture::Program));

    // The program speaks Russian; so do the toolkit's own dialogs and buttons.
    QTranslator toolkit;
    if (toolkit.load(QLocale(QLocale::Russian), "qtbase", "_",
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&toolkit);
    }

    // The palette is known once the application exists; the engine starts
    // with the first page.
    followPaletteColourScheme();
    DesktopProgram program(files);
    if (started) started(program);
    program.show();
    return QApplication::exec();
}

}  // namespace zorbinta::qt
