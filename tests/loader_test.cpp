// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/Win1251.h"
#include "tests/Recording.h"
#include "update/core/Settings.h"

namespace zorbinta {
namespace {

using testing::RecordingDialogs;
using testing::RecordingLinks;

namespace fs = std::filesystem;

// ---- records as the file holds them (written here in UTF-8) -------------------

std::string join(const std::string& tag, const std::vector<std::string>& fields) {
    std::string out = tag + "|";
    for (const std::string& f : fields) out += f + "|";
    return out;
}

std::string update(const std::string& version, const std::string& link) {
    return join("update", {version, link});
}

std::string prov(int id, const std::string& web, const std::string& extra = "сведения",
                 const std::string& firstFlag = "1") {
    std::vector<std::string> f = {std::to_string(id),
                                  "ООО «Фирма " + std::to_string(id) + "»",
                                  "Москва",
                                  "495",
                                  "123-45-67",
                                  "",
                                  "",
                                  "",
                                  "",
                                  web,
                                  "info@" + web,
                                  "2004-03-15",
                                  extra,
                                  firstFlag};
    for (int i = 0; i < 9; ++i) f.push_back(i % 2 ? "1" : "0");
    return join("prov", f);
}

std::string vs(int number, int provider, const std::string& cost = "7,5") {
    std::vector<std::string> f = {"Тариф " + std::to_string(number),
                                  std::to_string(number),
                                  std::to_string(provider),
                                  "100",
                                  "99999",
                                  "10",
                                  "3",
                                  "1",
                                  cost,
                                  "3",
                                  "14"};
    for (int i = 0; i < 15; ++i) f.push_back(i % 3 ? "0" : "1");
    return join("vs", f);
}

std::string freeHost(int id, const std::string& disk = "9999") {
    return join("free", {"www.free" + std::to_string(id) + ".ru", "Баннер", "FTP, PHP",
                         "Без рекламы", disk, std::to_string(id)});
}

std::string dom(const std::string& zone, int provider, int kind = 0) {
    return join("dom",
                {zone, "0", std::to_string(provider), "19,5", "12,50", std::to_string(kind)});
}

// The 2 providers, 3 plans, 1 free offer and 4 domain offers of one line.
std::string exampleCatalogue(const std::string& version = "3.1") {
    return update(version, "http://example.ru/new") + prov(1, "alpha.ru") + prov(2, "beta.ru") +
           vs(11, 1) + vs(12, 1, "12,50") + vs(13, 2) + freeHost(7) + dom(".ru", 1) +
           dom(".com", 2, 1) + dom(".net", 1) + dom(".spb.ru", 2, 1);
}

// ---- fakes --------------------------------------------------------------------

// Everything a load may write, as one text to compare before and after.
std::string snapshot(const Catalogue& c) {
    std::ostringstream out;
    out << c.ProviderCount << ' ' << c.PlanCount << ' ' << c.FreeHostCount << ' ' << c.DomainEnd
        << ' ' << c.NewVersionLink << '\n';
    for (int t = 1; t <= 4; ++t) {
        for (int r = 1; r <= kMaxRows; ++r) {
            for (int s = 1; s <= kTextSlots; ++s) out << c.text(t, s, r) << '|';
            for (int s = 1; s <= kNumberSlots; ++s) out << c.number(t, s, r) << '|';
            for (int s = 1; s <= kFlagSlots; ++s) out << c.flag(t, s, r);
            out << '\n';
        }
    }
    return out.str();
}

fs::path freshDir() {
    static int serial = 0;
    return fs::temp_directory_path() /
           ("zorbinta-loader-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
}

class LoaderTest : public ::testing::Test {
protected:
    LoaderTest() {
        fs::create_directories(dir_ / "templ");
        setPromptFlag("0");
    }
    ~LoaderTest() override { fs::remove_all(dir_); }

    std::string programDir() const { return dir_.string() + "/"; }
    void setPromptFlag(const std::string& bytes) {
        writeFileBytes(programDir() + "templ/config.txt", bytes);
    }
    void writeBase(const std::string& utf8) {
        writeFileBytes(programDir() + "base.db", toCp1251(utf8));
    }
    // Raw file bytes, as the file holds them.
    void loadRaw(const std::string& bytes) { loader.loadBytes(bytes); }
    void load(const std::string& utf8) { loadRaw(toCp1251(utf8)); }

    // Loads a previous catalogue, then expects `bytes` to fail with `message`
    // and to leave every table, count and the version link as they were.
    void expectRefused(const std::string& bytes, const std::string& message) {
        load(update("3.1", "http://old.ru/") + prov(1, "old1.ru") + prov(2, "old2.ru") +
             prov(3, "old3.ru") + vs(1, 1) + freeHost(1) + dom(".ru", 1));
        const std::string before = snapshot(catalogue);
        const size_t prompts = dialogs.shown.size();
        try {
            loadRaw(bytes);
            ADD_FAILURE() << "accepted: " << message;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
        EXPECT_EQ(snapshot(catalogue), before) << message;
        EXPECT_EQ(dialogs.shown.size(), prompts) << "a refused file brought the prompt";
        EXPECT_FALSE(loader.busy());
    }

    const fs::path dir_ = freshDir();
    Catalogue catalogue;
    RecordingDialogs dialogs;
    RecordingLinks links;
    NewVersionPrompt prompt{dialogs, links, ProgramFiles(programDir())};
    CatalogueLoader loader{catalogue, ProgramFiles(programDir()), prompt};
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    if (at == std::string::npos) throw std::logic_error("no '" + from + "' in test text");
    return text.replace(at, from.size(), to);
}

std::string repeat(const std::string& record, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += record;
    return out;
}

std::string offsetMessage(const std::string& bytes, const std::string& strayUtf8) {
    return "Ошибка в файле каталога: посторонний текст на смещении " +
           std::to_string(bytes.find(toCp1251(strayUtf8)));
}

TEST_F(LoaderTest, ExampleCatalogueFromTheFile) {
    writeBase(exampleCatalogue());
    loader.CatalogueLoad();
    EXPECT_EQ(catalogue.ProviderCount, 2);
    EXPECT_EQ(catalogue.PlanCount, 3);
    EXPECT_EQ(catalogue.FreeHostCount, 1);
    EXPECT_EQ(catalogue.DomainEnd, 5);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(catalogue.NewVersionLink, "http://example.ru/new");

    EXPECT_EQ(catalogue.number(ProviderTable, slot::ProviderId, 2), 2);
    EXPECT_EQ(catalogue.text(ProviderTable, slot::FirmName, 1), "ООО «Фирма 1»");
    EXPECT_EQ(catalogue.text(ProviderTable, slot::WebAddress, 2), "beta.ru");
    EXPECT_EQ(catalogue.text(ProviderTable, slot::ExtraInfo, 1), "сведения");
    EXPECT_TRUE(catalogue.flag(ProviderTable, 1, 1));
    EXPECT_FALSE(catalogue.flag(ProviderTable, 2, 1));
    EXPECT_TRUE(catalogue.flag(ProviderTable, 9, 2));
    EXPECT_FALSE(catalogue.flag(ProviderTable, 10, 2));
    EXPECT_EQ(catalogue.text(PlanTable, slot::PlanName, 3), "Тариф 13");
    EXPECT_EQ(catalogue.number(PlanTable, slot::PlanProviderId, 3), 2);
    EXPECT_EQ(catalogue.number(PlanTable, slot::Traffic, 1), kUnlimited);
    EXPECT_EQ(catalogue.number(PlanTable, slot::MonthlyCost, 1), 7.5);
    EXPECT_EQ(catalogue.number(PlanTable, slot::MonthlyCost, 2), 12.5);
    EXPECT_EQ(catalogue.number(PlanTable, slot::TrialDays, 2), 14);
    EXPECT_TRUE(catalogue.flag(PlanTable, 15, 1) == false && catalogue.flag(PlanTable, 13, 1));
    EXPECT_EQ(catalogue.text(FreeHostTable, slot::FreeComment, 1), "Без рекламы");
    EXPECT_EQ(catalogue.number(FreeHostTable, slot::FreeDiskMb, 1), kFreeDiskUnlimited);
    EXPECT_EQ(catalogue.number(FreeHostTable, slot::FreeOfferId, 1), 7);
    EXPECT_EQ(catalogue.text(DomainTable, slot::Zone, 4), ".spb.ru");
    EXPECT_EQ(catalogue.number(DomainTable, slot::RegistrationPrice, 4), 19.5);
    EXPECT_EQ(catalogue.number(DomainTable, slot::ClientKind, 2), 1);
}

TEST_F(LoaderTest, LineBreaksInsideTextsAreStoredAsMarks) {
    const struct {
        const char* raw;
        const char* stored;
    } cases[] = {
        {"a\r\nb\nc", "a?*?b?*?c"}, {"a\rb", "ab"},  // a CR on its own is dropped
        {"a\r\r\nb", "a?*?b"},      {"\r\nx", "?*?x"}, {"a\n\nb", "a?*??*?b"}, {"", ""},
    };
    for (const auto& c : cases) {
        loadRaw(replaced(toCp1251(prov(1, "a.ru", "MARK") + vs(1, 1)), "MARK", c.raw));
        EXPECT_EQ(catalogue.text(ProviderTable, slot::ExtraInfo, 1), c.stored) << c.stored;
        EXPECT_EQ(catalogue.PlanCount, 1);
    }
}

TEST_F(LoaderTest, EndOfTextByteEndsTheFile) {
    loadRaw(toCp1251(exampleCatalogue()) + "\x1A" + "garbage|prov|");
    EXPECT_EQ(catalogue.ProviderCount, 2);
    EXPECT_EQ(catalogue.DomainEnd, 5);
}

TEST_F(LoaderTest, LineBreaksBetweenRecordsAreSkipped) {
    load(update("3.1", "l") + "\r\n" + prov(1, "a.ru") + "\n" + prov(2, "b.ru") + "\r\n\r\n" +
         vs(1, 1) + "\n" + freeHost(1) + dom(".ru", 1) + "\r\n" + dom(".com", 2) + "\r\n\r\n\r\n");
    EXPECT_EQ(catalogue.ProviderCount, 2);
    EXPECT_EQ(catalogue.PlanCount, 1);
    EXPECT_EQ(catalogue.FreeHostCount, 1);
    EXPECT_EQ(catalogue.DomainEnd, 3);
    EXPECT_EQ(catalogue.text(ProviderTable, slot::WebAddress, 2), "b.ru");
    EXPECT_EQ(catalogue.text(DomainTable, slot::Zone, 2), ".com");
}

TEST_F(LoaderTest, SeparatorAfterTheTagIsNotLookedAt) {
    load(replaced(replaced(exampleCatalogue(), "update|", "update "), "prov|", "prov#"));
    EXPECT_EQ(catalogue.ProviderCount, 2);
    EXPECT_EQ(catalogue.NewVersionLink, "http://example.ru/new");
    EXPECT_EQ(catalogue.number(ProviderTable, slot::ProviderId, 1), 1);
}

TEST_F(LoaderTest, RefusedFilesChangeNothing) {
    const std::string stray = toCp1251(prov(1, "a.ru") + "мусор" + prov(2, "b.ru"));
    const std::string strayAfterBreaks =
        toCp1251(replaced(prov(1, "a.ru", "MARK"), "MARK", "x\r\ny\rz\nw") + "\r\n\n" + vs(1, 1) +
                 "\r\noops|");
    const std::string provAfterPlans = toCp1251(prov(1, "a.ru") + vs(1, 1) + prov(2, "b.ru"));
    const std::string freeAfterDomains = toCp1251(prov(1, "a.ru") + dom(".ru", 1) + freeHost(1));
    const std::string updateAfterProviders =
        toCp1251(prov(1, "a.ru") + update("3.1", "http://late.ru/"));
    const std::string trailingSpace = toCp1251(prov(1, "a.ru") + " ");
    const std::string domRecord = toCp1251(dom(".ru", 1));
    const std::string tooMany = repeat(domRecord, 1001);
    const std::string example = toCp1251(exampleCatalogue());

    const struct {
        std::string bytes;
        std::string message;
    } cases[] = {
        {toCp1251(replaced(prov(5, "e.ru"), "prov|5|", "prov|5x|")),
         "'5x' is not a valid floating point value"},
        {toCp1251(prov(1, "a.ru") + vs(1, 1, "")), "'' is not a valid floating point value"},
        {toCp1251(prov(1, "a.ru") + vs(1, 1, "7.5")), "'7.5' is not a valid floating point value"},
        {toCp1251(prov(1, "a.ru", "x", "yes")), "'yes' is not a valid boolean value"},
        {toCp1251(prov(1, "a.ru", "x", "да")), "'да' is not a valid boolean value"},
        // A cut-off file: the last field has lost its "|".
        {example.substr(0, example.size() - 1), "'' is not a valid floating point value"},
        {example.substr(0, example.size() - 40), "'' is not a valid floating point value"},
        {toCp1251(update("3.0", "http://new.ru/") + prov(1, "a.ru", "x", "нет")),
         "'нет' is not a valid boolean value"},
        {stray, offsetMessage(stray, "мусор")},
        {strayAfterBreaks, offsetMessage(strayAfterBreaks, "oops")},
        {toCp1251("host|1|" + prov(1, "a.ru")), offsetMessage("host|", "host")},
        {trailingSpace, "Ошибка в файле каталога: посторонний текст на смещении " +
                            std::to_string(trailingSpace.size() - 1)},
        {provAfterPlans, "Ошибка в файле каталога: запись «prov» на смещении " +
                             std::to_string(provAfterPlans.rfind("prov|")) +
                             " стоит после записей «vs»"},
        {freeAfterDomains, "Ошибка в файле каталога: запись «free» на смещении " +
                               std::to_string(freeAfterDomains.find("free|")) +
                               " стоит после записей «dom»"},
        {updateAfterProviders, "Ошибка в файле каталога: запись «update» на смещении " +
                                   std::to_string(updateAfterProviders.find("update|")) +
                                   " стоит после записей «prov»"},
        {tooMany, "Ошибка в файле каталога: запись «dom» на смещении " +
                      std::to_string(1000 * domRecord.size()) + " — больше 1000 записей «dom»"},
    };
    for (const auto& c : cases) expectRefused(c.bytes, c.message);
}

TEST_F(LoaderTest, UnreadableFilesChangeNothing) {
    expectRefused(toCp1251("x"), offsetMessage("x", "x"));  // loads the previous catalogue
    const std::string before = snapshot(catalogue);
    const auto expectError = [&](CatalogueLoader& l, const std::string& message) {
        try {
            l.CatalogueLoad();
            ADD_FAILURE() << "loaded: " << message;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
        EXPECT_EQ(snapshot(catalogue), before);
    };
    expectError(loader, "File not found");
    CatalogueLoader elsewhere(catalogue, ProgramFiles(programDir() + "missing/"), prompt);
    expectError(elsewhere, "Invalid filename");
    fs::create_directory(dir_ / "base.db");
    expectError(loader, "I/O error 21");
}

TEST_F(LoaderTest, MissingSettingsAtAnUpdateRecordChangesNothing) {
    load(update("3.1", "http://old.ru/") + prov(1, "old.ru") + vs(1, 1));
    const std::string before = snapshot(catalogue);
    fs::remove(dir_ / "templ" / "config.txt");
    try {
        load(update("3.0", "http://new.ru/") + prov(1, "a.ru") + prov(2, "b.ru"));
        ADD_FAILURE() << "loaded without the settings file";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "File not found");
    }
    EXPECT_EQ(snapshot(catalogue), before);
    EXPECT_TRUE(dialogs.shown.empty());
    // Without an update record the settings file is not needed.
    load(prov(1, "a.ru"));
    EXPECT_EQ(catalogue.ProviderCount, 1);
}

TEST_F(LoaderTest, CountsAreTheRecordsOfEachTag) {
    load(exampleCatalogue());
    const struct {
        std::string text;
        int providers, plans, free, domainEnd;
    } cases[] = {
        {prov(1, "a.ru") + prov(2, "b.ru") + freeHost(1), 2, 0, 1, 1},  // no "vs" section
        {vs(1, 1) + vs(2, 1) + dom(".ru", 1), 0, 2, 0, 2},
        {repeat(dom(".ru", 1), 7), 0, 0, 0, 8},
        {repeat(prov(1, "a.ru"), 1000) + repeat(dom(".ru", 1), 1000), 1000, 0, 0, 1001},
        {"", 0, 0, 0, 1},
        {"\r\n\r\n", 0, 0, 0, 1},
        {update("3.1", "x"), 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        load(c.text);
        EXPECT_EQ(catalogue.ProviderCount, c.providers) << c.text.substr(0, 40);
        EXPECT_EQ(catalogue.PlanCount, c.plans) << c.text.substr(0, 40);
        EXPECT_EQ(catalogue.FreeHostCount, c.free) << c.text.substr(0, 40);
        EXPECT_EQ(catalogue.DomainEnd, c.domainEnd) << c.text.substr(0, 40);
    }
}

TEST_F(LoaderTest, RowsAboveTheNewCountsKeepTheirValues) {
    load(prov(1, "a.ru") + prov(2, "b.ru") + prov(3, "c.ru") + prov(4, "d.ru") + prov(5, "e.ru"));
    load(prov(6, "f.ru") + prov(7, "g.ru") + prov(8, "h.ru"));
    EXPECT_EQ(catalogue.ProviderCount, 3);
    EXPECT_EQ(catalogue.text(ProviderTable, slot::WebAddress, 3), "h.ru");
    EXPECT_EQ(catalogue.text(ProviderTable, slot::WebAddress, 4), "d.ru");
    EXPECT_EQ(catalogue.number(ProviderTable, slot::ProviderId, 5), 5);
    // An empty file keeps every row too.
    load("");
    EXPECT_EQ(catalogue.text(ProviderTable, slot::WebAddress, 1), "f.ru");
}

TEST_F(LoaderTest, EveryUpdateRecordIsOffered) {
    setPromptFlag("0");
    load(update("3.0", "http://one.ru/") + update("3.2", "http://two.ru/") + prov(1, "a.ru"));
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(prompt.link(), "http://two.ru/");
    EXPECT_EQ(catalogue.NewVersionLink, "http://two.ru/");
    setPromptFlag("1");
    load(update("3.0", "http://three.ru/") + prov(1, "a.ru"));
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(catalogue.NewVersionLink, "http://three.ru/");
    // A file without an update record keeps the link.
    load(prov(1, "a.ru"));
    EXPECT_EQ(catalogue.NewVersionLink, "http://three.ru/");
}

TEST_F(LoaderTest, LoadWhilePausedInThePromptDoesNotRunAgain) {
    load(prov(1, "old.ru"));
    writeBase(exampleCatalogue("3.0"));
    int innerProviders = -1;
    dialogs.onShow = [&] {
        // Closing the prompt activates the main window, which loads again.
        EXPECT_TRUE(loader.busy());
        loader.CatalogueLoad();
        loader.loadBytes(toCp1251(prov(9, "nested.ru")));
        innerProviders = catalogue.ProviderCount;
    };
    loader.CatalogueLoad();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(innerProviders, 1);  // the paused load had not changed anything yet
    EXPECT_EQ(catalogue.ProviderCount, 2);
    EXPECT_EQ(catalogue.DomainEnd, 5);
    EXPECT_EQ(catalogue.text(ProviderTable, slot::WebAddress, 1), "alpha.ru");
    EXPECT_FALSE(loader.busy());
    // The next activation loads and prompts as usual.
    dialogs.onShow = nullptr;
    loader.CatalogueLoad();
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

// ---- the shipped sample and the generator ---------------------------------------

TEST_F(LoaderTest, ShippedSampleCatalogue) {
    loadRaw(readFileBytes(std::string(ZORBINTA_SOURCE_DIR) + "/data/base.db"));
    EXPECT_EQ(catalogue.ProviderCount, 20);
    EXPECT_EQ(catalogue.PlanCount, 60);
    EXPECT_EQ(catalogue.FreeHostCount, 8);
    EXPECT_EQ(catalogue.DomainEnd, 41);
    EXPECT_TRUE(dialogs.shown.empty());  // the sample is of this version

    std::set<double> ids;
    std::set<std::string> webs;
    for (int r = 1; r <= catalogue.ProviderCount; ++r) {
        ids.insert(catalogue.number(ProviderTable, slot::ProviderId, r));
        webs.insert(catalogue.text(ProviderTable, slot::WebAddress, r));
        EXPECT_NE(catalogue.text(ProviderTable, slot::ExtraInfo, r).find("?*?"), std::string::npos);
        EXPECT_EQ(catalogue.text(ProviderTable, slot::UpdatedOn, r).size(), 10u);
    }
    EXPECT_EQ(ids.size(), 20u);
    EXPECT_EQ(webs.size(), 20u);
    for (int r = 1; r <= catalogue.PlanCount; ++r) {
        EXPECT_TRUE(ids.count(catalogue.number(PlanTable, slot::PlanProviderId, r))) << r;
    }
    std::set<std::string> zones;
    std::set<double> kinds;
    for (int r = 1; r < catalogue.DomainEnd; ++r) {
        zones.insert(catalogue.text(DomainTable, slot::Zone, r));
        kinds.insert(catalogue.number(DomainTable, slot::ClientKind, r));
        EXPECT_TRUE(ids.count(catalogue.number(DomainTable, slot::DomainProviderId, r))) << r;
    }
    EXPECT_EQ(zones.size(), 12u);
    EXPECT_EQ(kinds, (std::set<double>{0, 1}));
}

TEST_F(LoaderTest, GeneratedCatalogueOfTheLargestSize) {
    const std::string path = programDir() + "base.db";
    const std::string command = "python3 '" + std::string(ZORBINTA_SOURCE_DIR) +
                                "/scripts/gen_catalogue.py' --records 1000 '" + path + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    loader.CatalogueLoad();
    EXPECT_EQ(catalogue.ProviderCount, 1000);
    EXPECT_EQ(catalogue.PlanCount, 1000);
    EXPECT_EQ(catalogue.FreeHostCount, 1000);
    EXPECT_EQ(catalogue.DomainEnd, 1001);
}

// ---- file reading -------------------------------------------------------------

TEST(FileIO, SplitLines) {
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\n\n", {"a", ""}},
        {"\n", {""}},
        {"a\rb\r\n", {"ab"}},
        {"a\r", {"a"}},
        {"a\nb\x1A"
         "c\nd",
         {"a", "b"}},
        {"\x1A"
         "abc",
         {}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitLines(c.bytes), c.lines) << c.bytes;
}

TEST(FileIO, ErrorTexts) {
    const fs::path dir = freshDir();
    fs::create_directories(dir);
    const std::string base = dir.string() + "/";
    writeFileBytes(base + "f.txt", std::string("x\0y", 3));
    EXPECT_EQ(readFileBytes(base + "f.txt"), std::string("x\0y", 3));

    const auto readError = [](const std::string& path) {
        try {
            readFileBytes(path);
        } catch (const Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    const auto writeError = [](const std::string& path) {
        try {
            writeFileBytes(path, "1");
        } catch (const Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(readError(base + "none.txt"), "File not found");
    EXPECT_EQ(readError(base + "nofolder/none.txt"), "Invalid filename");
    EXPECT_EQ(readError(base + "f.txt/x"), "Invalid filename");
    EXPECT_EQ(readError(base), "I/O error 21");
    EXPECT_EQ(writeError(base + "nofolder/x.txt"), "Invalid filename");
    EXPECT_EQ(writeError(base), "I/O error 21");
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(writeError("/dev/full"), "Disk full");
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace zorbinta
