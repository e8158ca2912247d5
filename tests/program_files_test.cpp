// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's files are: a portable folder or the installed layout,
// chosen from the executable's folder, and, when installed, which file each
// load, download and setting reads and writes. The installed files never
// change; each user's files are their own.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "catalogue/core/FileIO.h"
#include "catalogue/core/ProgramFiles.h"
#include "tests/AnotherUser.h"
#include "tests/FakePlatform.h"
#include "tests/SampleCatalogue.h"

namespace zorbinta {
namespace {

namespace fs = std::filesystem;

using testing::asAnotherUser;
using testing::FakePlatform;
using testing::makeCatalogue;
using testing::ProgramFolder;
using testing::ScriptedHttp;

TEST(ProgramFilesLayout, ChosenFromTheExecutablesFolderAndTheEnvironment) {
    ProgramFolder tree;
    for (const char* dir :
         {"portable/templ", "usr/bin", "usr/share/zorbinta/templ", "opt/bin", "opt/share/zorbinta",
          "usr/libexec", "both/bin/templ", "both/share/zorbinta/templ"}) {
        fs::create_directories(tree.dir / dir);
    }
    const struct {
        const char* exe;
        UserEnvironment env;
        const char* program;  // under the tree
        const char* user;     // absolute; nullptr: the program folder (portable)
    } cases[] = {
        {"portable", {"/home/u", "/data"}, "portable/", nullptr},
        {"portable/", {"/home/u", ""}, "portable/", nullptr},
        {"usr/bin", {"/home/u", ""}, "usr/share/zorbinta/", "/home/u/.local/share/zorbinta/"},
        {"usr/bin/", {"/home/u/", "/data/"}, "usr/share/zorbinta/", "/data/zorbinta/"},
        // A relative XDG_DATA_HOME is ignored; without a home nothing can be written.
        {"usr/bin", {"/home/u", "data"}, "usr/share/zorbinta/", "/home/u/.local/share/zorbinta/"},
        {"usr/bin", {"", ""}, "usr/share/zorbinta/", "/nonexistent/.local/share/zorbinta/"},
        {"usr/bin", {"home/u", ""}, "usr/share/zorbinta/", "/nonexistent/.local/share/zorbinta/"},
        // Not the installed layout: everything beside the executable, as a portable folder.
        {"opt/bin", {"/home/u", ""}, "opt/bin/", nullptr},
        {"usr/libexec", {"/home/u", ""}, "usr/libexec/", nullptr},
        {"both/bin", {"/home/u", ""}, "both/bin/", nullptr},
    };
    for (const auto& c : cases) {
        const ProgramFiles files = locateProgramFiles(tree.path(c.exe), c.env);
        const std::string program = tree.path(c.program);
        EXPECT_EQ(files.programDir(), program) << c.exe;
        EXPECT_EQ(files.userDir(), c.user ? c.user : program) << c.exe << " " << c.env.dataHome;
        EXPECT_EQ(files.portable(), c.user == nullptr) << c.exe;
    }
}

// Every file of a folder with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) files[entry.path().string()] = readFileBytes(entry.path());
    }
    return files;
}

// An installed program (the shipped catalogue announces another version and
// the installed settings show the prompt) and the homes of its users.
class InstalledProgram : public ::testing::Test {
protected:
    InstalledProgram() {
        shipped.write("base.db", kShipped);
        installed = snapshot(shipped.dir);
    }
    ~InstalledProgram() override { EXPECT_EQ(snapshot(shipped.dir), installed); }

    std::string userDir(const std::string& user) const {
        return homes.path(user + "/.local/share/zorbinta/");
    }
    ProgramFiles filesOf(const std::string& user) const {
        return ProgramFiles(shipped.path(), userDir(user));
    }
    // One run of the program by one user.
    struct Run {
        FakePlatform fake;
        ScriptedHttp http;
        std::unique_ptr<Application> app;
    };
    // Starts the program for user; the prompt, when shown, is answered by answer.
    void start(Run& run, const std::string& user, std::function<void(Application&)> answer = {}) {
        FakePlatform& f = run.fake;
        run.app = std::make_unique<Application>(Platform{f.pane, f, f, f, f, f, f, run.http},
                                                filesOf(user), "http://srv");
        Application& program = *run.app;
        f.reactions[DialogId::Prompt].push_back([&program, answer] {
            if (answer) answer(program);
        });
        program.guarded([&program] { program.main.start(); });
    }
    static void dontAskAgain(Application& app) {
        app.prompt.CheckBox1 = true;
        app.guarded([&app] { app.prompt.Button2Click(); });
    }

    const std::string kShipped = makeCatalogue(2, 3, "3.2");
    const std::string kDownloaded = makeCatalogue(3, 1, "3.2");
    ProgramFolder shipped;
    ProgramFolder homes;
    std::map<std::string, std::string> installed;
};

TEST_F(InstalledProgram, EachUserKeepsTheirOwnAnswerAndCatalogue) {
    Run first;
    start(first, "ann", dontAskAgain);
    const auto& app = first.app;
    EXPECT_EQ(first.fake.shown, std::vector<DialogId>{DialogId::Prompt});
    EXPECT_TRUE(first.fake.errors.empty()) << first.fake.errors.front();
    EXPECT_EQ(app->catalogue.ProviderCount, 2);
    EXPECT_FALSE(app->main.changesEnabled);
    EXPECT_EQ(readFileBytes(userDir("ann") + "templ/config.txt"), "1");
    // Made on first need, for the user alone.
    EXPECT_EQ(fs::status(userDir("ann")).permissions(), fs::perms::owner_all);

    // A download writes the user's catalogue and keeps the shipped one as
    // the catalogue it replaced, which the changes page compares with.
    first.http.serve(kDownloaded);
    first.fake.reactions[DialogId::Update].push_back([&app] { app->update.Button1Click(); });
    app->main.N11Click();
    EXPECT_TRUE(first.fake.errors.empty()) << first.fake.errors.front();
    EXPECT_EQ(readFileBytes(userDir("ann") + "base.db"), kDownloaded);
    EXPECT_EQ(readFileBytes(userDir("ann") + "base.db.prev"), kShipped);
    EXPECT_FALSE(fs::exists(userDir("ann") + "base.db.part"));
    EXPECT_EQ(app->catalogue.ProviderCount, 3);
    EXPECT_TRUE(app->main.changesEnabled);
    const std::string& changes = first.fake.pane.pages.back().page;
    EXPECT_NE(changes.find("новых 1, удалённых 0. Тарифных планов: новых 0, удалённых 2"),
              std::string::npos)
        << changes;

    // The next start loads the user's catalogue and asks nothing.
    Run again;
    start(again, "ann");
    EXPECT_TRUE(again.fake.shown.empty());
    EXPECT_EQ(again.app->catalogue.ProviderCount, 3);
    EXPECT_TRUE(again.app->main.changesEnabled);

    // Another user still has the shipped catalogue and is still asked.
    Run second;
    start(second, "bob");
    EXPECT_EQ(second.fake.shown, std::vector<DialogId>{DialogId::Prompt});
    EXPECT_EQ(second.app->catalogue.ProviderCount, 2);
    EXPECT_FALSE(second.app->main.changesEnabled);
    EXPECT_FALSE(fs::exists(userDir("bob")));
}

// A home folder that cannot take the user's folder: the download and the
// prompt's answer fail as an unwritable program folder does, and nothing
// changes.
TEST_F(InstalledProgram, AFolderThatCannotBeMadeIsReportedAndChangesNothing) {
    fs::create_directories(homes.dir / "locked");
    fs::permissions(homes.dir / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                              fs::perms::others_read | fs::perms::others_exec);
    const std::string outcome = asAnotherUser([this] {
        Run run;
        start(run, "locked", dontAskAgain);
        FakePlatform& fake = run.fake;
        Application& app = *run.app;
        std::string seen = "prompt:";
        for (const std::string& e : fake.errors) seen += " " + e;
        if (!fake.closedDialogs.empty()) seen += " closed";
        fake.errors.clear();
        run.http.serve(kDownloaded);
        fake.reactions[DialogId::Update].push_back(
            [&app] { app.guarded([&app] { app.update.Button1Click(); }); });
        app.main.N11Click();
        seen += "; download:";
        for (const std::string& e : fake.errors) seen += " " + e;
        seen += "; providers " + std::to_string(app.catalogue.ProviderCount);
        return seen;
    });
    fs::permissions(homes.dir / "locked", fs::perms::owner_all);
    if (outcome == "no other user") GTEST_SKIP() << "cannot change to another user";
    EXPECT_EQ(outcome, "prompt: File access denied; download: File access denied; providers 2");
    EXPECT_TRUE(fs::is_empty(homes.dir / "locked"));
}

}  // namespace
}  // namespace zorbinta
