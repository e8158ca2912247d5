// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's commands, listed once: every menu item, toolbar button
// and the provider panel's close button by its name, with the controller's
// handler it runs. The Qt window wires its widgets by these names and
// zorbinta-headless runs them by the same names from a script.

#include <span>
#include <string_view>

namespace zorbinta {

class MainController;

enum class CommandKind { Menu, Toolbar, Button };

// Whether the command asks the save dialog for a file name.
enum class SaveName { NotAsked, Asked };

struct MainCommand {
    std::string_view name;
    CommandKind kind = CommandKind::Menu;
    // nullptr: a menu of the menu bar, which only opens.
    void (MainController::*run)() = nullptr;
    SaveName saveName = SaveName::NotAsked;
    // Whether it can be used now; nullptr: always. A disabled command's
    // handler does nothing.
    bool (*enabled)(const MainController&) = nullptr;
};

// In the order of the menu bar, then the toolbar, then the panel.
std::span<const MainCommand> mainCommands();

// nullptr when there is no command of that kind by that name.
const MainCommand* findMainCommand(CommandKind kind, std::string_view name);

bool isEnabled(const MainCommand& command, const MainController& controller);

}  // namespace zorbinta
