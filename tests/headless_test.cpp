// zorbinta-headless driven through its script contract.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "tests/FakePlatform.h"
#include "tests/LocalHttpServer.h"

namespace zorbinta {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    std::string out;
    int status = -1;
};

Outcome runHeadless(const fs::path& dir, const std::string& script, const std::string& flags = "") {
    const fs::path scriptFile = dir / "script.txt";
    std::ofstream(scriptFile) << script;
    const std::string command = std::string(ZORBINTA_HEADLESS) + " " + flags + " '" + dir.string() +
                                "' < '" + scriptFile.string() + "' 2>&1";
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// A copy of the installed program folder with its sample catalogue.
class Installed : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(ZORBINTA_APP_DIR, folder.dir,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
    testing::ProgramFolder folder;
};

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

TEST_F(Installed, DialogStillOpenAtTheEndIsClosed) {
    const Outcome run = runHeadless(folder.dir, "start\nmenu N12\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("=== dialog О программе\nЗорбинта\nВерсия: 3.1\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("=== closed О программе\n"), std::string::npos);
}

// One provider, one plan, one free and one domain offer.
std::string smallCatalogue() {
    std::string catalogue = "prov|1|Firm1|Addr|1|2|3|4|5|6|www.p1.ru|m@p.ru|01.01.2005||";
    for (int f = 0; f < 10; ++f) catalogue += "0|";
    catalogue += "vs|Plan1|1|1|100|1000|5|5|1|10|1|0|";
    for (int f = 0; f < 15; ++f) catalogue += "1|";
    return catalogue + "free|www.free.ru|yes|php|none|50|1|dom|ru|0|1|600|600|1|";
}

// Every page the run wrote: its location and its text.
std::vector<std::pair<std::string, std::string>> pagesOf(const std::string& out) {
    std::vector<std::pair<std::string, std::string>> pages;
    const std::string head = "=== page ";
    for (size_t at = out.find(head); at != std::string::npos; at = out.find(head, at + 1)) {
        if (at > 0 && out[at - 1] != '\n') continue;
        const size_t text = out.find('\n', at) + 1;
        const size_t end = out.find("\n=== end\n", text);
        pages.emplace_back(out.substr(at + head.size(), text - 1 - at - head.size()),
                           out.substr(text, end - text));
    }
    return pages;
}

// The download dialog through the program's HTTP client: --server names the
// catalogue server; --offline answers "not connected" before any request.
TEST_F(Installed, DownloadFromTheNamedServerUnlessOffline) {
    const std::string catalogue = smallCatalogue();
    struct Case {
        const char* flag;
        const char* shown;
        const char* then;
        std::size_t requests;
    };
    // A download that loaded goes on to the page of what it changed.
    for (const Case& c :
         {Case{"", "=== closed Обновление\n=== page file://", "templ/main.htm?izmen\n", 2},
          Case{"--offline", "=== message Подключитесь к интернету\n", "", 0}}) {
        testsupport::LocalHttpServer server(
            testsupport::inOrder({testsupport::httpReply(200, catalogue)}));
        const Outcome run = runHeadless(folder.dir, "start\nmenu N11\npress Button1\nshow counts\n",
                                        "--server " + server.url() + " " + c.flag);
        EXPECT_EQ(run.status, 0) << run.out;
        const std::size_t shown = run.out.find(c.shown);
        ASSERT_NE(shown, std::string::npos) << c.flag << "\n" << run.out;
        const std::size_t end = run.out.find('\n', shown + std::strlen(c.shown));
        EXPECT_TRUE(run.out.substr(shown, end + 1 - shown).ends_with(c.then)) << c.flag << "\n"
                                                                              << run.out;
        if (c.requests > 0) {
            EXPECT_NE(run.out.find("=== counts providers=1 plans=1 "), std::string::npos)
                << run.out;
        }
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), c.requests) << c.flag;
        for (const auto& r : requests) EXPECT_EQ(r.path, "/base.db");
    }
}

// The same catalogue downloaded twice: the second download replaces nothing,
// says so, and Сервис → Изменения каталога still shows what the first changed.
TEST_F(Installed, TheSameCatalogueTwiceKeepsTheLastRealChange) {
    const std::string sample = folder.read("base.db");
    testsupport::LocalHttpServer server(
        testsupport::inOrder({testsupport::httpReply(200, smallCatalogue())}));
    const Outcome run = runHeadless(
        folder.dir, "start\nmenu N11\npress Button1\nmenu N11\npress Button1\nmenu N16\n",
        "--server " + server.url());
    EXPECT_EQ(run.status, 0) << run.out;
    const auto pages = pagesOf(run.out);
    const std::string templ = "file://" + folder.path() + "templ/";
    ASSERT_EQ(pages.size(), 4u) << run.out;
    EXPECT_EQ(pages[1].first, templ + "main.htm?izmen");
    EXPECT_EQ(pages[2].first, templ + "main.htm?nochange");
    EXPECT_EQ(pages[3].first, templ + "main.htm?izmen");
    EXPECT_NE(pages[1].second.find("Удалённые хостинг-провайдеры"), std::string::npos);
    EXPECT_NE(pages[2].second.find("каталог не изменился"), std::string::npos);
    EXPECT_EQ(pages[3].second, pages[1].second);
    EXPECT_EQ(folder.read("base.db.prev"), sample);
    EXPECT_EQ(folder.read("base.db"), smallCatalogue());
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

}  // namespace
}  // namespace zorbinta
