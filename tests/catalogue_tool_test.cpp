// SPDX-License-Identifier: GPL-3.0-or-later
// zorbinta-catalogue run as a process on files on disk, and the pieces
// it stands on: the loader's check, the CSV files, the exact number texts.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "catalogue/core/CatalogueContents.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/Numbers.h"
#include "catalogue/core/Win1251.h"
#include "tools/catalogue/Csv.h"
#include "tools/catalogue/FieldText.h"

namespace zorbinta {
namespace {

namespace fs = std::filesystem;
using namespace tool;

const std::string kTool = std::string(ZORBINTA_APP_DIR) + "/zorbinta-catalogue";

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class ToolTest : public ::testing::Test {
protected:
    ToolTest() { fs::create_directories(dir); }
    ~ToolTest() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    ToolRun tool(const std::string& args) const {
        const std::string command =
            kTool + " " + args + " > '" + path("out.txt") + "' 2> '" + path("err.txt") + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFileBytes(path("out.txt")),
                readFileBytes(path("err.txt"))};
    }

    // A generated catalogue of n records a tag.
    std::string generated(int n) const {
        const std::string file = path("gen" + std::to_string(n) + ".db");
        const std::string command = "python3 '" + std::string(ZORBINTA_SOURCE_DIR) +
                                    "/scripts/gen_catalogue.py' --records " + std::to_string(n) +
                                    " '" + file + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return file;
    }

    // Replaces the first `from` of a file with `to`.
    void edit(const std::string& file, const std::string& from, const std::string& to) const {
        std::string text = readFileBytes(file);
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        writeFileBytes(file, text.replace(at, from.size(), to));
    }

    static inline int serial = 0;
    const fs::path dir =
        fs::temp_directory_path() /
        ("zorbinta-tool-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
};

TEST_F(ToolTest, ExportBuildDiffRoundTrip) {
    const std::string sample = std::string(ZORBINTA_SOURCE_DIR) + "/data/base.db";
    for (const std::string& source : {sample, generated(1), generated(100), generated(1000)}) {
        fs::remove_all(path("csv"));
        fs::remove_all(path("csv2"));
        ASSERT_EQ(tool("export '" + source + "' '" + path("csv") + "'").status, 0) << source;
        ASSERT_EQ(tool("build '" + path("csv") + "' '" + path("built.db") + "'").status, 0)
            << source;
        const ToolRun diff = tool("diff '" + source + "' '" + path("built.db") + "'");
        EXPECT_EQ(diff.status, 0) << source << diff.out;
        EXPECT_EQ(diff.out.substr(0, 12), "No changes.\n") << source;
        // A file build wrote comes back byte for byte.
        ASSERT_EQ(tool("export '" + path("built.db") + "' '" + path("csv2") + "'").status, 0);
        ASSERT_EQ(tool("build '" + path("csv2") + "' '" + path("again.db") + "'").status, 0);
        EXPECT_EQ(readFileBytes(path("again.db")), readFileBytes(path("built.db"))) << source;
        EXPECT_EQ(tool("check '" + path("built.db") + "'").status, 0) << source;
    }
    for (const auto& entry : fs::directory_iterator(path("csv"))) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
    }
}

TEST_F(ToolTest, OnePriceChangedIsTheOnlyChange) {
    const std::string source = generated(100);
    ASSERT_EQ(tool("export '" + source + "' '" + path("csv") + "'").status, 0);
    // Plan 7's row, whose price is its ninth field.
    const CatalogueContents original = loadCatalogueBytes(readFileBytes(source));
    const double price = original.tables->number(PlanTable, slot::MonthlyCost, 7);
    const std::string row =
        "\"Тариф 7\",7," +
        exactNumber(original.tables->number(PlanTable, slot::PlanProviderId, 7), '.');
    std::string plans = readFileBytes(path("csv/plans.csv"));
    size_t at = plans.find("\r\n" + row + ",");
    ASSERT_NE(at, std::string::npos);
    for (int comma = 0; comma < 8; ++comma) at = plans.find(',', at + 1);
    const size_t end = plans.find(',', at + 1);
    ASSERT_EQ(plans.substr(at + 1, end - at - 1), exactNumber(price, '.'));
    plans.replace(at + 1, end - at - 1, "1234.5");
    writeFileBytes(path("csv/plans.csv"), plans);
    ASSERT_EQ(tool("build '" + path("csv") + "' '" + path("new.db") + "'").status, 0);

    const ToolRun diff = tool("diff '" + source + "' '" + path("new.db") + "'");
    EXPECT_EQ(diff.status, 1);
    EXPECT_EQ(diff.out.substr(0, diff.out.find("Summary:")),
              "~ plan 7 (Тариф 7)\n    MonthlyCost: " + formatGeneral(price) + " → 1234,5\n");
    EXPECT_NE(diff.out.find("plans 0 added, 0 removed, 1 changed;"), std::string::npos);

    const ToolRun json = tool("diff --json '" + source + "' '" + path("new.db") + "'");
    EXPECT_EQ(json.status, 1);
    const auto parsed = nlohmann::json::parse(json.out);
    ASSERT_EQ(parsed["changes"].size(), 1u);
    EXPECT_EQ(parsed["changes"][0]["key"]["PlanNumber"], 7);
    EXPECT_EQ(parsed["changes"][0]["fields"][0]["old"], formatGeneral(price));
    EXPECT_EQ(parsed["changes"][0]["fields"][0]["new"], "1234,5");
    EXPECT_EQ(parsed["summary"]["plans"]["changed"], 1);
}

// The files the loader refuses: check reports the loader's message and
// offset, and every problem after the first that the file still lets it see.
TEST_F(ToolTest, CheckNamesTheLoadersProblems) {
    const std::string prov = "prov|1|Ф|А|1|2|||||a.ru|e|2004-01-01|Сведения|1|0|0|0|0|0|0|0|0|0|";
    const std::string vs = "vs|Тариф|1|1|1|1|1|1|1|7,5|1|1|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|";
    std::string tooMany;
    for (int i = 0; i < 1001; ++i) tooMany += "dom|.ru|0|1|2|3|0|";
    const std::string badNumber =
        prov + "vs|Тариф|1|1|1|1|1|1|1|7.5|1|1|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|";
    const std::string twoBad = "prov|1x|Ф|А|1|2|||||a.ru|e|2004|С|1|0|0|0|0|0|0|0|0|да|" + vs;
    const struct {
        std::string utf8;
        std::vector<std::string> lines;  // the problems, each after "FILE:"
    } cases[] = {
        {prov + "мусор" + vs,
         {std::to_string(toCp1251(prov).size()) +
          ": Ошибка в файле каталога: посторонний текст "
          "на смещении " +
          std::to_string(toCp1251(prov).size())}},
        {prov + vs + prov,
         {std::to_string(toCp1251(prov + vs).size()) +
          ": record 2 (prov): Ошибка в файле "
          "каталога: запись «prov» на смещении " +
          std::to_string(toCp1251(prov + vs).size()) + " стоит после записей «vs»"}},
        {badNumber,
         {std::to_string(toCp1251(badNumber).find("7.5")) +
          ": record 1 (vs), field MonthlyCost: '7.5' is not a valid floating point value"}},
        {tooMany,
         {std::to_string(1000 * 18) + ": record 1001 (dom): Ошибка в файле каталога: запись «dom» "
                                      "на смещении 18000 — больше 1000 записей «dom»"}},
        {twoBad,
         {"5: record 1 (prov), field ProviderId: '1x' is not a valid floating point value",
          std::to_string(toCp1251(twoBad).find(toCp1251("да"))) +
              ": record 1 (prov), field PayBanners: 'да' is not a valid boolean value"}},
        // Cut inside the last record: one problem, not one a field.
        {prov.substr(0, prov.size() - 12),
         {std::to_string(toCp1251(prov).size() - 12) +
          ": record 1 (prov), field PayWebMoney: '' is not a valid boolean value"}},
    };
    for (const auto& c : cases) {
        const std::string bytes = toCp1251(c.utf8);
        writeFileBytes(path("bad.db"), bytes);
        const ToolRun run = tool("check '" + path("bad.db") + "'");
        EXPECT_EQ(run.status, 1) << run.out;
        std::string expected;
        for (const std::string& line : c.lines) expected += path("bad.db") + ":" + line + "\n";
        EXPECT_EQ(run.out.substr(0, run.out.rfind(path("bad.db") + ": providers")), expected);
        // The load stops with the first of them.
        Catalogue catalogue;
        VersionRecords versions;
        CatalogueLoader loader(catalogue, ProgramFiles(dir.string()), versions);
        try {
            loader.loadBytes(bytes);
            ADD_FAILURE() << "loaded: " << c.lines[0];
        } catch (const Error& e) {
            EXPECT_EQ(checkCatalogueBytes(bytes).problems.at(0).message, e.what());
        }
    }
    EXPECT_EQ(checkCatalogueBytes(toCp1251(tooMany)).domainOffers, 1001);
}

// Each problem of the CSV files as build names it; nothing is written.
TEST_F(ToolTest, BuildNamesEveryProblem) {
    const struct {
        const char* file;
        std::string from;
        std::string to;
        std::string problem;  // after "DIR/"
    } cases[] = {
        {"plans.csv", "\"Тариф 2\",2,", "\"Тариф 2\",2x,",
         "plans.csv:3:2: PlanNumber: '2x' is not a number"},
        {"plans.csv", "HasPhp", "HasPHP", "plans.csv:1:12: unknown column 'HasPHP'"},
        {"plans.csv", ",HasDailyBackup", "", "plans.csv:1:26: missing column HasDailyBackup"},
        {"providers.csv", "\"Москва", "\"Москва ✓",
         "providers.csv:2:3: Address: the character "
         "✓ (U+2713) cannot be written in Windows-1251"},
        {"providers.csv", "\"Москва", "\"Мо|сква",
         "providers.csv:2:3: Address: a text cannot "
         "hold '|': it ends a field in base.db"},
        {"providers.csv", "\"2001-02-02\"", "\"02.02.2001\"",
         "providers.csv:2:12: UpdatedOn: '02.02.2001' is not a date written YYYY-MM-DD"},
        {"providers.csv", "\r\n2,", "\r\n1,",
         "providers.csv:4:1: ProviderId 1 is used twice (first on line 2)"},
        {"free.csv", "\"Предложение 3\"", "\"Предложение 3",
         "free.csv:4:4: the file ends inside the quoted field that begins here"},
        {"domains.csv", ",1\r\n", ",2\r\n",
         "domains.csv:2:6: ClientKind: '2' is neither 0 "
         "(clients without hosting) nor 1 (clients with "
         "hosting)"},
        {"domains.csv", "\",0,", "\",0,9",
         "domains.csv:2:3: DomainProviderId 93 names no "
         "provider of providers.csv"},
        {"plans.csv", ",0\r\n\"Тариф 2\"", ",yes\r\n\"Тариф 2\"",
         "plans.csv:2:26: HasDailyBackup: 'yes' is not a flag: write 0 or 1"},
        {"version.csv", "\"3.1\",", "\"3.1\",\"x\",",
         "version.csv:2:3: 3 fields where the "
         "header has 2"},
    };
    const std::string source = generated(3);
    for (const auto& c : cases) {
        fs::remove_all(path("csv"));
        ASSERT_EQ(tool("export '" + source + "' '" + path("csv") + "'").status, 0);
        edit(path("csv/") + c.file, c.from, c.to);
        writeFileBytes(path("old.db"), "old");
        const ToolRun run = tool("build '" + path("csv") + "' '" + path("old.db") + "'");
        EXPECT_EQ(run.status, 1) << c.problem;
        EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1), path("csv/") + c.problem + "\n");
        EXPECT_EQ(readFileBytes(path("old.db")), "old") << c.problem;
    }
    for (const auto& entry : fs::directory_iterator(dir)) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
    }

    // Every problem at once, in file and line order; 1001 rows.
    fs::remove_all(path("csv"));
    ASSERT_EQ(tool("export '" + generated(1000) + "' '" + path("csv") + "'").status, 0);
    edit(path("csv/plans.csv"), ",7,", ",x,");
    edit(path("csv/free.csv"), "\"www.free1.ru\"", "\"www.free0.ru\"\r\n\"www.free1.ru\"");
    edit(path("csv/free.csv"), "\"www.free0.ru\"", "\"www.free0.ru\",\"\",\"\",\"\",1,0");
    const ToolRun both = tool("build '" + path("csv") + "' '" + path("new.db") + "'");
    EXPECT_EQ(both.status, 1);
    EXPECT_NE(both.out.find("plans.csv:8:2: PlanNumber: 'x' is not a number\n" + path("csv/") +
                            "free.csv:1002:1: more than 1000 rows"),
              std::string::npos)
        << both.out;
    EXPECT_FALSE(fs::exists(path("new.db")));
}

TEST_F(ToolTest, BadInputGivesOneMessage) {
    fs::create_directories(path("empty"));
    writeFileBytes(path("file.txt"), "x");
    fs::create_directories(path("csv"));
    writeFileBytes(path("csv/plans.csv"), "PlanName\r\n");
    {
        std::FILE* big = std::fopen(path("big.db").c_str(), "wb");
        ASSERT_NE(big, nullptr);
        std::fclose(big);
        fs::resize_file(path("big.db"), 40u * 1024 * 1024);
    }
    const struct {
        std::string args;
        int status;
        std::string message;  // the one line on the error stream, after the tool's name
    } cases[] = {
        {"check '" + path("none.db") + "'", 2, path("none.db") + ": File not found"},
        {"check '" + path("big.db") + "'", 2,
         path("big.db") + ": the file is 40.0 MiB, more than the 32.0 MiB a catalogue may take; it "
                          "is not read"},
        {"export '" + path("big.db") + "' '" + path("out") + "'", 2,
         path("big.db") + ": the file is 40.0 MiB, more than the 32.0 MiB a catalogue may take; it "
                          "is not read"},
        {"export '" + path("file.txt") + "' '" + path("out") + "'", 2,
         path("file.txt") + ":0: Ошибка в файле каталога: посторонний текст на смещении 0"},
        {"diff '" + path("none.db") + "' '" + path("file.txt") + "'", 2,
         path("none.db") + ": File not found"},
        {"build '" + path("empty") + "' '" + path("new.db") + "'", 1,
         path("empty") + ": holds none of the catalogue's CSV files (providers.csv, plans.csv, "
                         "free.csv, domains.csv, version.csv)"},
        {"build '" + path("none") + "' '" + path("new.db") + "'", 1,
         path("none") + ": no such folder"},
        {"check '" + path("empty") + "'", 2, path("empty") + ": is a folder, not a file"},
        {"check /dev/zero", 2, "/dev/zero: is not a regular file"},
    };
    for (const auto& c : cases) {
        const ToolRun run = tool(c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_EQ(run.err, "zorbinta-catalogue: " + c.message + "\n") << c.args;
    }
    EXPECT_FALSE(fs::exists(path("out")));
    EXPECT_FALSE(fs::exists(path("new.db")));
    // A folder with some of the files names each one missing.
    const ToolRun partial = tool("build '" + path("csv") + "' '" + path("new.db") + "'");
    EXPECT_EQ(partial.status, 1);
    EXPECT_EQ(partial.out.substr(0, partial.out.find('\n')),
              path("csv/providers.csv") + ": missing");
    EXPECT_EQ(tool("frobnicate").status, 2);
    EXPECT_EQ(tool("diff --help").status, 0);
}

TEST(CatalogueCsv, Fields) {
    const struct {
        std::string text;
        std::vector<std::vector<std::string>> rows;
    } cases[] = {
        {"a,b\r\nc,d", {{"a", "b"}, {"c", "d"}}},
        {"\xEF\xBB\xBF"
         "a,\"b,\"\"c\"\"\"\n\n",
         {{"a", "b,\"c\""}}},
        {"\"x\r\ny\",\"\"\r\n,\r", {{"x\r\ny", ""}, {"", ""}}},
        {"a\rb\n", {{"a"}, {"b"}}},
    };
    for (const auto& c : cases) {
        std::vector<CsvRow> rows;
        CsvError error;
        EXPECT_TRUE(parseCsv(c.text, rows, error)) << c.text;
        std::vector<std::vector<std::string>> fields;
        for (const CsvRow& r : rows) fields.push_back(r.fields);
        EXPECT_EQ(fields, c.rows) << c.text;
    }
    std::vector<CsvRow> rows;
    CsvError error;
    EXPECT_FALSE(parseCsv("a\n\"b\"c", rows, error));
    EXPECT_EQ(error.line, 2);
    EXPECT_EQ(error.message, "text after the closing quote of a field");
    std::string out;
    appendCsvField(out, "plain");
    appendCsvField(out, "a,\"b\"\n");
    appendCsvField(out, "t", CsvQuoting::Always);
    EXPECT_EQ(out, "plain\"a,\"\"b\"\"\n\"\"t\"");
}

// verify: the program's own check of a catalogue and its signature, on files
// the minisign tool made.
TEST_F(ToolTest, VerifyTellsValidFromInvalidAndUnreadable) {
    const std::string data = std::string(ZORBINTA_SOURCE_DIR) + "/tests/data/minisign/";
    const std::string pub = data + "test.pub";
    const std::string pubText = readFileBytes(pub);
    const std::string keyLine = pubText.substr(pubText.find('\n') + 1, 56);
    writeFileBytes(path("base.db"), readFileBytes(data + "catalogue.db"));
    writeFileBytes(path("base.db.minisig"), readFileBytes(data + "catalogue.db.minisig"));
    const std::string base = path("base.db");
    auto signature = [&](const char* name) { return " --signature " + data + name; };
    const struct {
        std::string args;
        int status;
        const char* says;
    } cases[] = {
        {"--key " + pub + " " + base, 0, "valid signature; trusted comment: timestamp:"},
        {"--key " + keyLine + " " + base + signature("catalogue.db.legacy.minisig"), 0, "valid"},
        {"--key " + pub + " " + base + signature("catalogue.db.other-key.minisig"), 1,
         "signed with another key"},
        {"--key " + pub + " " + base + signature("catalogue.db.no-timestamp.minisig"), 1,
         "the program refuses it"},
        {"--key " + pub + " " + data + "older.db" + signature("catalogue.db.minisig"), 1,
         "the signature does not match the file"},
        {"--key " + pub + " " + base + " --signature " + path("none.minisig"), 1, "no signature"},
        {"--key " + pub + " " + path("none.db"), 2, ""},
        {"--key RWnotakey " + base, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const ToolRun run = tool("verify " + c.args);
        EXPECT_EQ(run.status, c.status) << run.out << run.err;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
        EXPECT_EQ(run.err.empty(), c.status != 2) << run.err;
    }
}

// The number texts base.db is written with read back as the same double.
TEST(CatalogueCsv, ExactNumbers) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{7, "7"},           {7.5, "7,5"},
                 {0.1, "0,1"},       {1e21, "1e+21"},
                 {-0.0, "-0"},       {123456789012345678.0, "123456789012345680"},
                 {5e-324, "5e-324"}, {0.30000000000000004, "0,30000000000000004"}};
    for (const auto& c : cases) {
        EXPECT_EQ(exactNumber(c.value, ','), c.text);
        const double back = parseFloat(exactNumber(c.value, ','));
        EXPECT_EQ(std::signbit(back), std::signbit(c.value)) << c.text;
        EXPECT_EQ(back, c.value) << c.text;
    }
}

}  // namespace
}  // namespace zorbinta
