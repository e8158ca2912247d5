// SPDX-License-Identifier: GPL-3.0-or-later
// zorbinta-headless downloading from a local server: --server, --offline and
// --key.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "tests/HeadlessRun.h"
#include "tests/LocalHttpServer.h"
#include "tests/MinisignTestKey.h"
#include "tests/SampleCatalogue.h"

namespace zorbinta {
namespace {

namespace fs = std::filesystem;

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

// --key makes this run ask for a signature by that key.
TEST_F(Installed, KeyAsksForASignatureByThatKey) {
    const std::string catalogue = testing::minisignData("catalogue.db");
    const std::string key = testing::minisignData("test.pub");
    const std::string keyLine = key.substr(key.find('\n') + 1, 56);
    const struct {
        const char* signature;  // a file of tests/data/minisign
        const char* shown;
    } cases[] = {
        {"catalogue.db.minisig", "=== closed Обновление\n=== page file://"},
        {"catalogue.db.other-key.minisig", "=== message Подпись каталога не подтверждена\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signature);
        testsupport::LocalHttpServer server(testsupport::serveFiles(
            {{"/base.db", catalogue}, {"/base.db.minisig", testing::minisignData(c.signature)}}));
        const Outcome run = runHeadless(folder.dir, "start\nmenu N11\npress Button1\n",
                                        "--server " + server.url() + " --key " + keyLine);
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_NE(run.out.find(c.shown), std::string::npos) << run.out;
        EXPECT_EQ(server.requests().back().path, "/base.db.minisig");
    }
    const Outcome bad = runHeadless(folder.dir, "start\n", "--key RWnotakey");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("--key"), std::string::npos) << bad.out;
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

// Installed as the package installs it (PREFIX/bin, PREFIX/share/zorbinta)
// and started without a PROGRAM_DIR, it reads the installed files and writes
// only into each user's $XDG_DATA_HOME/zorbinta/ (~/.local/share/zorbinta/).
TEST(InstalledHeadless, EachUserDownloadsIntoTheirOwnFolder) {
    testing::ProgramFolder tree;
    const fs::path share = tree.dir / "usr/share/zorbinta";
    fs::create_directories(tree.dir / "usr/bin");
    fs::create_directories(share);
    for (const char* file : {"templ", "image", "style.css", "base.db"}) {
        fs::copy(fs::path(ZORBINTA_APP_DIR) / file, share / file, fs::copy_options::recursive);
    }
    const fs::path program = tree.dir / "usr/bin/zorbinta-headless";
    std::error_code linked;
    fs::create_hard_link(ZORBINTA_HEADLESS, program, linked);
    if (linked) fs::copy_file(ZORBINTA_HEADLESS, program);
    const auto installed = [&share] {
        std::string all;
        for (const auto& e : fs::recursive_directory_iterator(share)) {
            if (e.is_regular_file()) all += e.path().string() + "\n" + readFileBytes(e.path());
        }
        return all;
    };
    const std::string before = installed();

    testsupport::LocalHttpServer server(
        testsupport::inOrder({testsupport::httpReply(200, testing::makeCatalogue(1, 1))}));
    const auto run = [&](const std::string& env, const std::string& script) {
        return runScript(
            "env -u XDG_DATA_HOME " + env + " '" + program.string() + "' --server " + server.url(),
            tree.dir / "script.txt", script);
    };
    const std::string home = (tree.dir / "home").string();
    const Outcome first =
        run("HOME=" + home + "/ann", "start\nshow counts\nmenu N11\npress Button1\n");
    ASSERT_EQ(first.status, 0) << first.out;
    const std::string startPage = "=== page file://" + share.string() + "/templ/main.htm\n";
    EXPECT_TRUE(first.out.starts_with(startPage)) << first.out.substr(0, 200);
    EXPECT_NE(first.out.find("templ/main.htm?izmen\n"), std::string::npos) << first.out;
    const std::string own = home + "/ann/.local/share/zorbinta/";
    EXPECT_EQ(readFileBytes(own + "base.db"), testing::makeCatalogue(1, 1));
    EXPECT_EQ(readFileBytes(own + "base.db.prev"), readFileBytes(share / "base.db"));

    // The next start loads the user's catalogue; the changes page still
    // compares it with the shipped one.
    const std::string look = "start\nshow counts\nshow menu N16\nmenu N16\n";
    const Outcome next = run("HOME=" + home + "/ann", look);
    EXPECT_NE(next.out.find("=== counts providers=1 plans=1 "), std::string::npos) << next.out;
    EXPECT_NE(next.out.find("=== menu N16 on\n=== page file://" + share.string() +
                            "/templ/main.htm?izmen\n"),
              std::string::npos)
        << next.out;
    EXPECT_EQ(next.out.find("Каталог не изменился"), std::string::npos);

    // XDG_DATA_HOME, when absolute, takes the place of ~/.local/share.
    const Outcome xdg = run("HOME=" + home + "/cid XDG_DATA_HOME=" + home + "/data",
                            "start\nmenu N11\npress Button1\n");
    EXPECT_EQ(xdg.status, 0) << xdg.out;
    EXPECT_TRUE(fs::exists(home + "/data/zorbinta/base.db"));
    EXPECT_FALSE(fs::exists(home + "/cid"));

    EXPECT_EQ(installed(), before);
}

}  // namespace
}  // namespace zorbinta
