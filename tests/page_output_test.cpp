// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/core/Error.h"
#include "catalogue/core/Win1251.h"
#include "pages/core/PageOutput.h"
#include "platform/core/Services.h"

namespace zorbinta {
namespace {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        path_ =
            fs::temp_directory_path() /
            ("zorbinta-pages-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path_);
        fs::create_directories(path_ / "templ");
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string dir() const { return path_.string() + "/"; }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// A pane whose navigations complete after a given number of message rounds.
class FakePane : public BrowserPane {
public:
    void navigate(const std::string& url) override {
        navigations.push_back(url);
        roundsLeft = roundsToComplete;
    }
    bool hasDocument() const override { return document; }
    bool isComplete() const override { return roundsLeft == 0; }
    void writeDocument(const std::string& page) override { written.push_back(page); }
    void writeDocumentAt(const std::string&, const std::string& page) override {
        written.push_back(page);
    }
    std::string locationUrl() const override {
        return navigations.empty() ? "" : navigations.back();
    }
    void focusDocument() override { ++focused; }
    bool documentSource(std::string& out) const override {
        if (!document) return false;
        out = source;
        return true;
    }
    void processEvents() override {
        ++rounds;
        if (roundsLeft > 0 && --roundsLeft == 0) document = true;
    }

    bool document = false;
    std::string source;
    int roundsToComplete = 0;
    int roundsLeft = 0;
    int rounds = 0;
    int focused = 0;
    std::vector<std::string> navigations;
    std::vector<std::string> written;
};

class FakeMessages : public MessageBox {
public:
    void showMessage(const std::string& text, const std::string& caption) override {
        shown.push_back(caption + ": " + text);
    }
    void showError(const std::string& text) override { shown.push_back("error: " + text); }
    std::vector<std::string> shown;
};

TEST(PageOutput, RewritesTemplateLines) {
    const std::string pd = "/opt/zb/";
    struct Case {
        const char* line;
        TemplateRewrite rewrite;
        std::string expected;
    };
    const Case cases[] = {
        {"<img src=\"ris/x.gif\">", TemplateRewrite::ImagesAndStyles,
         "<img src=\"" + pd + "image\\x.gif\">"},
        {"a ris/one/two.gif ris/b", TemplateRewrite::ImagesOnly,
         "a " + pd + "image\\one/two.gif " + pd + "image\\b"},
        {"ris/a.gif ris/b.gif", TemplateRewrite::ImagesAndStyles, "ris/a.gif ris/b.gif"},
        {"<link href=\"stl.css\">", TemplateRewrite::ImagesAndStyles,
         "<link href=\"" + pd + "style.css\">"},
        {"class=hostlist stl", TemplateRewrite::ImagesAndStyles,
         "class=ho" + pd + "styleist " + pd + "style"},
        {"stl.css hostlist", TemplateRewrite::ImagesAndStyles, "stl.css hostlist"},
        {"x stl ris/", TemplateRewrite::ImagesOnly, "x stl " + pd + "image\\"},
        {"stl ris/y", TemplateRewrite::ImagesAndStyles, "stl " + pd + "image\\y"},
        {"xris/stl", TemplateRewrite::ImagesAndStyles, "x" + pd + "image\\" + pd + "style"},
        {"", TemplateRewrite::ImagesAndStyles, ""},
        {"Ris/ STL", TemplateRewrite::ImagesAndStyles, "Ris/ STL"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rewriteTemplateLine(c.line, pd, c.rewrite), c.expected) << c.line;
    }
}

TEST(PageOutput, InsertedDirectoryIsNeverRewrittenAgain) {
    const std::string pd = "/home/stl/ris/";
    EXPECT_EQ(rewriteTemplateLine(" ris/a stl", pd, TemplateRewrite::ImagesAndStyles),
              " " + pd + "image\\a " + pd + "style");
}

TEST(PageOutput, ReadsHeadAndTailAfreshJoiningLines) {
    TempDir t;
    const std::string pd = t.dir();
    t.write("templ/top.htm",
            toCp1251("<html>\r\n<link href=\"stl.css\">\n<b>Зорбинта</b>\nris/a ris/b"));
    t.write("templ/bottom.htm", "<img src=\"ris/z.gif\">\nhostlist</html>");
    EXPECT_EQ(LoadPageHead(pd),
              "<html><link href=\"" + pd + "style.css\"><b>Зорбинта</b>ris/a ris/b");
    EXPECT_EQ(LoadPageTail(pd), "<img src=\"" + pd + "image\\z.gif\">hostlist</html>");

    t.write("templ/top.htm", "a\nb");
    EXPECT_EQ(LoadPageHead(pd), "ab");
    t.write("templ/top.htm", "");
    EXPECT_EQ(LoadPageHead(pd), "");
}

TEST(PageOutput, MissingTemplateRaisesFileNotFound) {
    TempDir t;
    try {
        LoadPageHead(t.dir());
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_THROW(LoadPageTail(t.dir()), Error);
}

TEST(PageOutput, ShowPageWaitsForADocument) {
    FakePane pane;
    pane.roundsToComplete = 3;
    ShowPage(pane, "<p>x</p>");
    EXPECT_EQ(pane.navigations, std::vector<std::string>{"about:blank"});
    EXPECT_EQ(pane.rounds, 3);
    EXPECT_EQ(pane.written, std::vector<std::string>{"<p>x</p>"});

    ShowPage(pane, "<p>y</p>");
    EXPECT_EQ(pane.navigations.size(), 1u);
    EXPECT_EQ(pane.written.back(), "<p>y</p>");
}

TEST(PageOutput, NavigatesToCommandsAndWaitsWhenAsked) {
    EXPECT_EQ(commandUrl("/opt/zb/", "stoim"), "file:///opt/zb/templ/main.htm?stoim");

    FakePane pane;
    pane.roundsToComplete = 4;
    NavigateToCommand(pane, "/opt/zb/", "free", Wait::AndFocus);
    EXPECT_EQ(pane.navigations.back(), "file:///opt/zb/templ/main.htm?free");
    EXPECT_EQ(pane.rounds, 4);
    EXPECT_EQ(pane.focused, 1);

    // Already complete: the messages are still handled once.
    pane.roundsToComplete = 0;
    NavigateToCommand(pane, "/opt/zb/", "provid=7", Wait::AndFocus);
    EXPECT_EQ(pane.rounds, 5);
    EXPECT_EQ(pane.focused, 2);

    pane.roundsToComplete = 2;
    NavigateToCommand(pane, "/opt/zb/", "dom", Wait::No);
    EXPECT_EQ(pane.navigations.back(), "file:///opt/zb/templ/main.htm?dom");
    EXPECT_EQ(pane.rounds, 5);
    EXPECT_EQ(pane.focused, 2);
}

TEST(PageOutput, SavesTheSourceInWindows1251) {
    TempDir t;
    FakePane pane;
    FakeMessages messages;
    const std::string name = (t.path() / "page.htm").string();
    t.write("page.htm", "old content that is longer than the page");

    pane.document = true;
    pane.source = "<h3>Поиск</h3>";
    EXPECT_EQ(SaveHTMLSourceToFile(pane, messages, name), name);
    EXPECT_EQ(t.read("page.htm"), "<h3>\xCF\xEE\xE8\xF1\xEA</h3>");
    EXPECT_TRUE(messages.shown.empty());
}

TEST(PageOutput, SavingWithoutADocumentWritesNothingAndSaysSo) {
    TempDir t;
    FakePane pane;
    FakeMessages messages;
    const std::string name = (t.path() / "none.htm").string();
    EXPECT_EQ(SaveHTMLSourceToFile(pane, messages, name), "");
    EXPECT_FALSE(fs::exists(name));
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Fail to save HTML source"});
}

TEST(PageOutput, AFileThatCannotBeCreatedIsAnError) {
    TempDir t;
    FakePane pane;
    FakeMessages messages;
    pane.document = true;
    const std::string name = (t.path() / "no-such-dir" / "x.htm").string();
    try {
        SaveHTMLSourceToFile(pane, messages, name);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + name + "\". ", 0), 0u)
            << e.what();
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST(PageOutput, CapitalizesLatinWords) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"hello-world", "Hello-World"},
        {"MY SITE", "My Site"},
        {"3dnews", "3Dnews"},
        {"o'neil", "O'neil"},
        {"'abc", "'Abc"},
        {"Провайдер", "Провайдер"},
        {"хостыnet", "хостыNet"},
        {"ёa", "ёA"},
        {"a1b_c", "A1B_C"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(CapitalizeWords(text), expected) << text;
}

}  // namespace
}  // namespace zorbinta
