// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/MainCommands.h"

#include <algorithm>
#include <array>

#include "shell/core/MainController.h"

namespace zorbinta {
namespace {

using Kind = CommandKind;
using C = MainController;

bool changesKept(const C& c) {
    return c.changesEnabled;
}
bool hasList(const C& c) {
    return c.hasList();
}
bool backEnabled(const C& c) {
    return c.backEnabled;
}
bool forwardEnabled(const C& c) {
    return c.forwardEnabled;
}

constexpr std::array kCommands = {
    // Файл
    MainCommand{"N1", Kind::Menu},
    MainCommand{"N2", Kind::Menu, &C::N2Click, SaveName::Asked},
    MainCommand{"N25", Kind::Menu, &C::N25Click, SaveName::Asked, &hasList},
    MainCommand{"N4", Kind::Menu, &C::N4Click},
    // Поиск
    MainCommand{"N5", Kind::Menu},
    MainCommand{"N6", Kind::Menu, &C::N6Click},
    MainCommand{"N20", Kind::Menu, &C::N20Click},
    MainCommand{"N21", Kind::Menu, &C::N21Click},
    MainCommand{"N22", Kind::Menu, &C::N22Click},
    // Показать
    MainCommand{"N7", Kind::Menu},
    MainCommand{"N8", Kind::Menu, &C::N8Click},
    MainCommand{"N9", Kind::Menu, &C::N9Click},
    MainCommand{"N13", Kind::Menu, &C::N13Click},
    MainCommand{"N23", Kind::Menu, &C::N23Click},
    MainCommand{"N17", Kind::Menu, &C::N17Click},
    MainCommand{"N18", Kind::Menu, &C::N18Click},
    MainCommand{"N19", Kind::Menu, &C::N19Click},
    // Сервис
    MainCommand{"N10", Kind::Menu},
    MainCommand{"N11", Kind::Menu, &C::N11Click},
    MainCommand{"N16", Kind::Menu, &C::N16Click, SaveName::NotAsked, &changesKept},
    // О программе, an item of the bar itself
    MainCommand{"N12", Kind::Menu, &C::N12Click},
    // The toolbar, left to right.
    MainCommand{"ToolButton5", Kind::Toolbar, &C::ToolButton5Click, SaveName::NotAsked,
                &backEnabled},
    MainCommand{"ToolButton6", Kind::Toolbar, &C::ToolButton6Click, SaveName::NotAsked,
                &forwardEnabled},
    MainCommand{"ToolButton1", Kind::Toolbar, &C::ToolButton1Click, SaveName::Asked},
    MainCommand{"ToolButton3", Kind::Toolbar, &C::ToolButton3Click},
    MainCommand{"ToolButton2", Kind::Toolbar, &C::ToolButton2Click},
    MainCommand{"ToolButton4", Kind::Toolbar, &C::ToolButton4Click},
    // The provider panel's close button.
    MainCommand{"BitBtn4", Kind::Button, &C::BitBtn4Click},
};

}  // namespace

std::span<const MainCommand> mainCommands() {
    return kCommands;
}

const MainCommand* findMainCommand(CommandKind kind, std::string_view name) {
    const auto it = std::find_if(kCommands.begin(), kCommands.end(), [&](const MainCommand& c) {
        return c.kind == kind && c.name == name;
    });
    return it == kCommands.end() ? nullptr : &*it;
}

bool isEnabled(const MainCommand& command, const MainController& controller) {
    return command.enabled == nullptr || command.enabled(controller);
}

}  // namespace zorbinta
