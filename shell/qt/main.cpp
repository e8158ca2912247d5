// zorbinta: the desktop catalogue of web-hosting offers.

#include "shell/qt/DesktopStart.h"

int main(int argc, char** argv) {
    return zorbinta::qt::runDesktopProgram(argc, argv);
}
