// SPDX-License-Identifier: GPL-3.0-or-later
// zorbinta-headless driven through its script contract.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "tests/HeadlessRun.h"

namespace zorbinta {
namespace {

namespace fs = std::filesystem;

TEST_F(Installed, StartShowsTheSampleCounts) {
    const Outcome run =
        runHeadless(folder.dir, "start\nshow counts\nshow status\nshow window\nshow panel\n");
    EXPECT_EQ(run.status, 0) << run.out;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(run.out, m,
                                  std::regex("=== counts providers=(\\d+) plans=(\\d+) free=(\\d+) "
                                             "domainend=(\\d+)\n")))
        << run.out;
    EXPECT_GT(std::stoi(m[1]), 0);
    EXPECT_NE(run.out.find("=== status Хостинг-провайдеров:" + m[1].str() +
                           " | Тарифных планов:" + m[2].str() + "\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("=== window 0 0 1280 1024\n"), std::string::npos);
    EXPECT_NE(run.out.find("=== panel 1\n"), std::string::npos);
}

TEST_F(Installed, StartPrintsTheStartPageFirstAndN16FollowsBaseDbPrev) {
    const std::string start =
        "=== page file://" + folder.path() + "templ/main.htm\n<!DOCTYPE html>";
    const struct {
        bool prev;
        const char* after;  // what follows the start page
    } cases[] = {
        {false,
         "=== end\n=== menu N16 off\n=== history back=0 forward=0 backbutton=off "
         "forwardbutton=off\n=== menu N13 on\n"},
        {true, "=== end\n=== menu N16 on\n=== page file://"},
    };
    for (const auto& c : cases) {
        fs::remove(folder.dir / "base.db.prev");
        if (c.prev) fs::copy_file(folder.dir / "base.db", folder.dir / "base.db.prev");
        const Outcome run = runHeadless(
            folder.dir, "start\nshow menu N16\nmenu N16\nshow history\nshow menu N13\n");
        EXPECT_EQ(run.status, 0) << run.out;
        ASSERT_TRUE(run.out.starts_with(start)) << run.out.substr(0, 300);
        const size_t end = run.out.find("\n=== end\n") + 1;
        EXPECT_NE(run.out.find("Каталог хостинг-провайдеров"), std::string::npos);
        EXPECT_EQ(run.out.substr(end, std::string(c.after).size()), c.after) << run.out.substr(end);
        if (c.prev) {
            EXPECT_NE(run.out.find("templ/main.htm?izmen\n"), std::string::npos);
            EXPECT_NE(run.out.find("Каталог не изменился"), std::string::npos);
            EXPECT_NE(run.out.find("=== history back=1 "), std::string::npos);
        }
    }
    EXPECT_EQ(runHeadless(folder.dir, "start\nshow menu N3\n").status, 2);  // a separator
}

TEST_F(Installed, NewVersionPromptWritesTheSettingOnce) {
    folder.write("base.db", "update|3.0|http://example.org/new|");
    folder.write("templ/config.txt", "0");
    const Outcome run =
        runHeadless(folder.dir, "start\nshow prompt\ntick CheckBox1\npress Button2\nshow counts\n");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("=== dialog Новая версия\nДоступна новая версия каталога. Скачать?\n"
                           "Больше не показывать данное сообщение\nДа\nНет\n"
                           "=== prompt CheckBox1=0\n=== closed Новая версия\n"),
              std::string::npos)
        << run.out;
    // One prompt: the activation its closing causes does not load again.
    EXPECT_EQ(run.out.find("=== dialog", run.out.find("=== closed")), std::string::npos) << run.out;
    std::ifstream config(folder.dir / "templ/config.txt", std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(config)), {});
    EXPECT_EQ(written, "1");
}

// A new-version link that is not a web address is not opened.
TEST_F(Installed, NewVersionLinkOtherThanTheWebIsRefused) {
    for (const std::string link : {"file:///etc/passwd", "https://example.org/new"}) {
        folder.write("base.db", "update|3.0|" + link + "|");
        folder.write("templ/config.txt", "0");
        const Outcome run = runHeadless(folder.dir, "start\npress Button1\n");
        EXPECT_EQ(run.status, 0) << run.out;
        const std::string shown =
            link.starts_with("https") ? "=== open " + link + "\n" : "=== refused " + link + "\n";
        EXPECT_NE(run.out.find(shown), std::string::npos) << run.out;
    }
}

TEST_F(Installed, DialogStillOpenAtTheEndIsClosed) {
    const Outcome run = runHeadless(folder.dir, "start\nmenu N12\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("=== dialog О программе\nЗорбинта\nВерсия: 3.1\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("=== closed О программе\n"), std::string::npos);
}

TEST_F(Installed, DamagedCatalogueStartPageShowsTheLoadersMessage) {
    folder.write("base.db", "prov|x|");
    const Outcome run = runHeadless(folder.dir, "start\n");
    const auto pages = pagesOf(run.out);
    ASSERT_EQ(pages.size(), 1u) << run.out;
    EXPECT_NE(pages[0].second.find("<b>'x' is not a valid floating point value</b>"),
              std::string::npos)
        << pages[0].second;
    EXPECT_NE(run.out.find("=== error 'x' is not a valid floating point value\n"),
              std::string::npos);
}

TEST_F(Installed, UnknownLineExitsWithStatusTwo) {
    const Outcome run = runHeadless(folder.dir, "start\nfly away\nshow counts\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("line 2"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("=== counts"), std::string::npos);
}

TEST_F(Installed, SearchPagingCompareProviderFreeDomainsHistoryAndSave) {
    const fs::path saved = folder.dir / "saved";
    const std::string script =
        "start\n"
        "menu N6\n"
        "set Edit6 1000\n"
        "key Edit1 5\n"
        "key Edit1 .\n"
        "press Button1\n"
        "navigate space\n"
        "navigate provid=1\n"
        "submit srav 1 2\n"
        "show location\n"
        "menu N9\n"
        "menu N13\n"
        "submit dom .ru 1\n"
        "toolbar ToolButton5\n"
        "show history\n"
        "toolbar ToolButton6\n"
        "show history\n"
        "menu N2 " +
        saved.string() +
        "\n"
        "menu N4\n"
        "show counts\n";
    const Outcome run = runHeadless(folder.dir, script);
    EXPECT_EQ(run.status, 0) << run.out;
    const std::string base = "file://" + folder.path();
    for (const std::string& expected : std::vector<std::string>{
             "=== dialog Поиск виртуального сервера\n",
             "=== key accepted\n=== key refused\n",
             "=== closed Поиск виртуального сервера\n",
             "=== page " + base + "templ/main.htm?stoim\n",
             "=== page " + base + "templ/space\n",
             "=== location http://srav/?nom=1&nom=2\n",
             "=== page http://srav/?nom=1&nom=2\n",
             "=== page " + base + "templ/provid=1\n",
             "=== page " + base + "templ/main.htm?free\n",
             "=== page " + base + "templ/main.htm?dom\n",
             "=== page http://dom/?zona=.ru%7C&norh=1\n",
             "=== history back=6 forward=1 backbutton=on forwardbutton=on\n",
             "=== history back=7 forward=0 backbutton=on forwardbutton=off\n",
             "=== saved " + saved.string() + ".htm\n",
             "=== exit\n",
         }) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n---\n" << run.out;
    }
    EXPECT_EQ(run.out.find("=== counts"), std::string::npos);  // nothing runs after Выход
    EXPECT_TRUE(fs::exists(saved.string() + ".htm"));
}

TEST(HeadlessOptions, HelpAnUnknownOptionAndASecondFolder) {
    testing::ProgramFolder folder;
    const struct {
        const char* flags;
        int status;
        const char* says;
    } cases[] = {
        {"--help", 0, "--server URL"},
        {"--bogus", 2,
         "usage: zorbinta-headless [--server URL] [--offline] [--key KEY] [PROGRAM_DIR]"},
        {"--key RWbogus", 2, "not a minisign public key"},
        {"--server", 2, "usage:"},
        {"one two", 2, "usage:"},
        {"--offline --server http://a/ --server http://b//", 0, ""},
    };
    for (const auto& c : cases) {
        const Outcome run = runScript(std::string(ZORBINTA_HEADLESS) + " " + c.flags,
                                      folder.dir / "script.txt", "");
        EXPECT_EQ(run.status, c.status) << c.flags << "\n" << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.flags << "\n" << run.out;
    }
}

}  // namespace
}  // namespace zorbinta
