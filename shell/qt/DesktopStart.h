// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop program's start, shared by its executable and the tools that
// time it: the engine's needs before the application object exists, the
// application with its title, icon and translations, then the program on
// its folder, run until its main window closes.

#include <functional>
#include <string>

namespace zorbinta::qt {

class DesktopProgram;

// What the environment must hold before the application object exists:
// the engine's sandbox off as root, the page shown to screen readers (each
// unless the user has set it).
void prepareDesktopEnvironment();

// programDir empty: the files found from the running executable (a portable
// folder beside it, or the installed layout); else a portable folder there. started, when
// given, sees the program once its windows exist, before the first is shown.
int runDesktopProgram(int argc, char** argv, const std::string& programDir = {},
                      const std::function<void(DesktopProgram&)>& started = {});

}  // namespace zorbinta::qt
