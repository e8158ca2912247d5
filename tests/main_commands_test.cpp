// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/MainCommands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace zorbinta {
namespace {

// The headless contract names the main window's commands; the one list of
// them holds every one, of its kind, with a handler, asking for a file name
// exactly where the contract gives a PATH.
TEST(MainCommands, EveryCommandOfTheHeadlessContractIsListed) {
    std::ifstream in(ZORBINTA_SOURCE_DIR "/docs/headless.md");
    std::stringstream text;
    text << in.rdbuf();
    const std::map<std::string, CommandKind> kinds = {{"menu", CommandKind::Menu},
                                                      {"toolbar", CommandKind::Toolbar},
                                                      {"button", CommandKind::Button}};
    std::map<std::pair<CommandKind, std::string>, bool> named;  // -> with a PATH
    const std::string contract = text.str();
    const std::regex mention("`(menu|toolbar|button) (\\w+)( PATH)?[^`]*`");
    for (auto it = std::sregex_iterator(contract.begin(), contract.end(), mention);
         it != std::sregex_iterator(); ++it) {
        named[{kinds.at((*it)[1]), (*it)[2]}] |= (*it)[3].matched;
    }
    ASSERT_EQ(named.size(), 21u);
    for (const auto& [command, withPath] : named) {
        const MainCommand* listed = findMainCommand(command.first, command.second);
        ASSERT_NE(listed, nullptr) << command.second;
        EXPECT_NE(listed->run, nullptr) << command.second;
        EXPECT_EQ(listed->saveName == SaveName::Asked, withPath) << command.second;
    }
}

TEST(MainCommands, NoNameTwice) {
    std::set<std::pair<CommandKind, std::string_view>> seen;
    for (const MainCommand& c : mainCommands()) {
        EXPECT_TRUE(seen.insert({c.kind, c.name}).second) << c.name;
    }
}

}  // namespace
}  // namespace zorbinta
