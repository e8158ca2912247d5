// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "about/core/AboutBox.h"
#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "tests/Recording.h"
#include "update/core/Settings.h"

namespace zorbinta {
namespace {

using testing::RecordingDialogs;
using testing::RecordingLinks;

namespace fs = std::filesystem;

fs::path freshSettingsDir() {
    static int serial = 0;
    return fs::temp_directory_path() /
           ("zorbinta-settings-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
}

class PromptTest : public ::testing::Test {
protected:
    PromptTest() {
        fs::create_directories(dir_ / "templ");
        setFile("0");
    }
    ~PromptTest() override { fs::remove_all(dir_); }

    std::string programDir() const { return dir_.string() + "/"; }
    std::string configPath() const { return programDir() + "templ/config.txt"; }
    void setFile(const std::string& bytes) { writeFileBytes(configPath(), bytes); }
    std::string file() const { return readFileBytes(configPath()); }

    const fs::path dir_ = freshSettingsDir();
    RecordingDialogs dialogs;
    RecordingLinks links;
    NewVersionPrompt prompt{dialogs, links, ProgramFiles(programDir())};
};

TEST_F(PromptTest, PromptFlagIsTheFirstLineExactly) {
    const struct {
        const char* bytes;
        const char* flag;
    } cases[] = {
        {"0", "0"},   {"0\r\n1", "0"}, {"0\n", "0"}, {"00", "00"},
        {"0 ", "0 "}, {"", ""},        {"1", "1"},   {"\r\n0", ""},
    };
    for (const auto& c : cases) {
        setFile(c.bytes);
        EXPECT_EQ(readPromptFlag(ProgramFiles(programDir())), c.flag) << c.bytes;
    }
}

TEST_F(PromptTest, ShownOnlyForFlagZeroAndAnotherVersion) {
    const struct {
        const char* flag;
        const char* version;
        bool shown;
    } cases[] = {
        {"0", "3.0", true},   {"0", "3.2", true},     {"0", "3.10", true}, {"0", "3.1 ", true},
        {"0", "", true},      {"0\r\n", "3.0", true}, {"0", "3.1", false}, {"1", "3.0", false},
        {"00", "3.0", false}, {"0 ", "3.0", false},   {"", "3.0", false},  {"\n0", "3.0", false},
    };
    for (const auto& c : cases) {
        setFile(c.flag);
        dialogs.shown.clear();
        prompt.OfferNewVersion(c.version, "http://new.ru/");
        EXPECT_EQ(dialogs.shown.size(), c.shown ? 1u : 0u)
            << "flag '" << c.flag << "' version '" << c.version << "'";
        if (c.shown) {
            EXPECT_EQ(dialogs.shown.front(), DialogId::Prompt);
        }
        EXPECT_EQ(prompt.link(), "http://new.ru/");
        EXPECT_EQ(file(), c.flag) << "the offer wrote the settings file";
    }
}

TEST_F(PromptTest, Answers) {
    enum class Answer { Yes, No, CloseBox };
    const struct {
        Answer answer;
        bool ticked;
        const char* fileAfter;
        bool linkOpened;
    } cases[] = {
        {Answer::Yes, true, "1", true},       {Answer::Yes, false, "0", true},
        {Answer::No, true, "1", false},       {Answer::No, false, "0", false},
        {Answer::CloseBox, true, "0", false}, {Answer::CloseBox, false, "0", false},
    };
    for (const auto& c : cases) {
        setFile("0");
        links.opened.clear();
        dialogs.closed.clear();
        prompt.OfferNewVersion("3.0", "http://new.ru/get");
        prompt.CheckBox1 = c.ticked;
        switch (c.answer) {
            case Answer::Yes:
                prompt.Button1Click();
                break;
            case Answer::No:
                prompt.Button2Click();
                break;
            case Answer::CloseBox:
                prompt.closeBox();
                break;
        }
        EXPECT_EQ(file(), c.fileAfter);
        EXPECT_EQ(links.opened, c.linkOpened ? std::vector<std::string>{"http://new.ru/get"}
                                             : std::vector<std::string>{});
        EXPECT_EQ(dialogs.closed, std::vector<DialogId>{DialogId::Prompt});
        // The box keeps its state for the next showing.
        EXPECT_EQ(prompt.CheckBox1, c.ticked);
    }
    // Once the file holds "1" no later offer shows the prompt.
    setFile("0");
    prompt.CheckBox1 = true;
    prompt.Button2Click();
    dialogs.shown.clear();
    prompt.OfferNewVersion("3.0", "x");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PromptTest, MissingSettingsFileChangesNothing) {
    prompt.OfferNewVersion("3.1", "http://kept.ru/");
    fs::remove(configPath());
    try {
        prompt.OfferNewVersion("3.0", "http://other.ru/");
        ADD_FAILURE() << "offered without the settings file";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "File not found");
    }
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(prompt.link(), "http://kept.ru/");
    EXPECT_FALSE(fs::exists(configPath()));
}

TEST_F(PromptTest, FailedWriteKeepsThePromptOpen) {
    prompt.OfferNewVersion("3.0", "http://new.ru/");
    // A folder where the file should be: the write cannot succeed, even as root.
    fs::remove(configPath());
    fs::create_directory(configPath());
    prompt.CheckBox1 = true;
    for (const bool yes : {true, false}) {
        try {
            yes ? prompt.Button1Click() : prompt.Button2Click();
            ADD_FAILURE() << "the write succeeded";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "I/O error 21");
        }
    }
    EXPECT_TRUE(dialogs.closed.empty());
    EXPECT_EQ(links.opened.size(), 1u);  // "Да" opened the link before writing
}

TEST(AboutBoxTest, LinksAndClosing) {
    RecordingDialogs dialogs;
    RecordingLinks links;
    AboutBox about(dialogs, links);
    for (int label = 1; label <= 9; ++label) about.clickLabel(label);
    EXPECT_EQ(links.opened,
              (std::vector<std::string>{kMakerSite, std::string("mailto:") + kMakerMail}));
    EXPECT_TRUE(dialogs.closed.empty()) << "a label click closed the box";
    about.formclick();
    about.closeBox();
    EXPECT_EQ(dialogs.closed, (std::vector<DialogId>{DialogId::About, DialogId::About}));

    const std::vector<std::string> texts = about.texts();
    ASSERT_EQ(texts.size(), 9u);
    EXPECT_EQ(texts[0], "Зорбинта");
    EXPECT_EQ(texts[1], "Версия: 3.1");
    EXPECT_EQ(texts[2], "Разработчик:");
    EXPECT_EQ(texts[5], "Сайт:");
    EXPECT_EQ(texts[6], kMakerSite);
    EXPECT_EQ(texts[7], "E-mail:");
    EXPECT_EQ(texts[8], kMakerMail);
}

}  // namespace
}  // namespace zorbinta
