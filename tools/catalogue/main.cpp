// SPDX-License-Identifier: GPL-3.0-or-later
// zorbinta-catalogue: checks, exports, builds, compares and verifies
// catalogue files for the people who keep and publish the catalogue.

#include <CLI/CLI.hpp>

#include <array>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueContents.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/Error.h"
#include "tools/catalogue/CatalogueBytes.h"
#include "tools/catalogue/CsvExport.h"
#include "tools/catalogue/CsvImport.h"
#include "tools/catalogue/DiffReport.h"
#include "tools/catalogue/Files.h"
#include "tools/catalogue/Verify.h"

namespace zorbinta::tool {
namespace {

namespace fs = std::filesystem;

// Exit statuses.
constexpr int kClean = 0;
constexpr int kProblems = 1;    // check: problems found; build: not built; diff: changes
constexpr int kUnreadable = 2;  // check, export, diff: the input cannot be read

// A CSV file of a UTF-8 catalogue is at most about twice the base.db.
constexpr std::uintmax_t kMaxCsvBytes = 2 * kMaxCatalogueBytes;

std::string problemLine(const std::string& file, const CatalogueProblem& p) {
    std::string line = file + ":" + std::to_string(p.offset) + ": ";
    if (!p.tag.empty()) {
        line += "record " + std::to_string(p.record) + " (" + p.tag + ")";
        if (!p.field.empty()) line += ", field " + p.field;
        line += ": ";
    }
    return line + p.message;
}

std::string csvPath(const std::string& dir, int file) {
    return (fs::path(dir) / kCsvFiles[static_cast<size_t>(file)]).string();
}

std::string problemLine(const std::string& dir, const CsvProblem& p) {
    std::string line = csvPath(dir, p.file) + ":";
    if (p.line > 0) line += std::to_string(p.line) + ":" + std::to_string(p.column) + ":";
    return line + " " + p.message;
}

void printError(const std::string& message) {
    std::cerr << "zorbinta-catalogue: " << message << '\n';
}

// ---- reading catalogues ------------------------------------------------------------

CatalogueContents loadFile(const std::string& file) {
    const std::string bytes = readBoundedFile(file, kMaxCatalogueBytes);
    try {
        return loadCatalogueBytes(bytes);
    } catch (const Error&) {
        // A load stops at the first problem and names no place; the check,
        // run only for a file that fails, names it and counts the rest.
        const CatalogueCheck check = checkCatalogueBytes(bytes);
        if (check.problems.empty()) throw;
        std::string message = problemLine(file, check.problems.front());
        if (check.problems.size() > 1) {
            message += " (and " + std::to_string(check.problems.size() - 1) +
                       " more; \"zorbinta-catalogue check " + file + "\" lists them)";
        }
        throw Error(message);
    }
}

// The five CSV files of a folder; throws Error when the folder holds none.
std::array<std::optional<std::string>, kCsvFileCount> readCsvFolder(const std::string& dir) {
    std::error_code ec;
    if (!fs::exists(dir, ec)) throw Error(dir + ": no such folder");
    if (!fs::is_directory(dir, ec)) throw Error(dir + ": is not a folder");
    std::array<std::optional<std::string>, kCsvFileCount> files;
    bool any = false;
    for (int file = 0; file < kCsvFileCount; ++file) {
        const std::string path = csvPath(dir, file);
        if (!fs::exists(path, ec)) continue;
        files[static_cast<size_t>(file)] = readBoundedFile(path, kMaxCsvBytes);
        any = true;
    }
    if (!any) {
        std::string names;
        for (const std::string_view name : kCsvFiles)
            names += (names.empty() ? "" : ", ") + std::string(name);
        throw Error(dir + ": holds none of the catalogue's CSV files (" + names + ")");
    }
    return files;
}

// A base.db, or a folder of CSV files as "export" writes them.
CatalogueContents loadAny(const std::string& path) {
    std::error_code ec;
    if (!fs::is_directory(path, ec)) return loadFile(path);
    CatalogueContents contents;
    const std::vector<CsvProblem> problems = buildFromCsv(readCsvFolder(path), contents);
    if (!problems.empty()) {
        std::string message = problemLine(path, problems.front());
        if (problems.size() > 1) {
            message += " (and " + std::to_string(problems.size() - 1) + " more problems)";
        }
        throw Error(message);
    }
    return contents;
}

// ---- commands ---------------------------------------------------------------------

int runCheck(const std::string& file) {
    std::string bytes;
    try {
        bytes = readBoundedFile(file, kMaxCatalogueBytes);
    } catch (const Error& e) {
        printError(e.what());
        return kUnreadable;
    }
    const CatalogueCheck check = checkCatalogueBytes(bytes);
    for (const CatalogueProblem& p : check.problems) std::cout << problemLine(file, p) << '\n';
    const size_t n = check.problems.size();
    std::cout << file << ": providers " << check.providers << ", plans " << check.plans
              << ", free offers " << check.freeOffers << ", domain offers " << check.domainOffers
              << "; " << (n == 0 ? std::string("no problems") : std::to_string(n) + " problems")
              << '\n';
    return n == 0 ? kClean : kProblems;
}

int runExport(const std::string& file, const std::string& dir) {
    try {
        const CatalogueContents contents = loadFile(file);
        const std::array<std::string, kCsvFileCount> texts = exportCsv(contents);
        std::error_code ec;
        if (fs::exists(dir, ec) && !fs::is_directory(dir, ec))
            throw Error(dir + ": is not a folder");
        const bool created = fs::create_directories(dir, ec);
        if (ec) throw Error(dir + ": " + ec.message());
        try {
            // All five are written before any takes the place of an old one.
            std::vector<PendingFile> pending;
            for (int f = 0; f < kCsvFileCount; ++f) {
                pending.emplace_back(csvPath(dir, f), texts[static_cast<size_t>(f)]);
            }
            for (PendingFile& p : pending) p.commit();
        } catch (const Error&) {
            if (created) fs::remove(dir, ec);
            throw;
        }
    } catch (const Error& e) {
        printError(e.what());
        return kUnreadable;
    }
    return kClean;
}

int runBuild(const std::string& dir, const std::string& file) {
    try {
        CatalogueContents contents;
        const std::vector<CsvProblem> problems = buildFromCsv(readCsvFolder(dir), contents);
        for (const CsvProblem& p : problems) std::cout << problemLine(dir, p) << '\n';
        if (!problems.empty()) {
            std::cout << dir << ": " << problems.size()
                      << (problems.size() == 1 ? " problem" : " problems") << "; " << file
                      << " not written\n";
            return kProblems;
        }
        const std::string bytes = catalogueBytes(contents);
        if (bytes.size() > kMaxCatalogueBytes) {
            throw Error(file + ": the catalogue would take " + std::to_string(bytes.size()) +
                        " bytes, more than the program reads (" +
                        std::to_string(kMaxCatalogueBytes) + "); not written");
        }
        PendingFile pending(file, bytes);
        pending.commit();
    } catch (const Error& e) {
        printError(e.what());
        return kProblems;
    }
    return kClean;
}

int runDiff(const std::string& before, const std::string& after, bool asJson) {
    CatalogueContents a;
    CatalogueContents b;
    try {
        a = loadAny(before);
        b = loadAny(after);
    } catch (const Error& e) {
        printError(e.what());
        return kUnreadable;
    }
    const CatalogueDiff diff = diffCatalogues(a, b);
    std::cout << (asJson ? diffJson(a, b, diff) : diffText(a, b, diff));
    return diff.empty() ? kClean : kProblems;
}

}  // namespace
}  // namespace zorbinta::tool

int main(int argc, char** argv) {
    using namespace zorbinta::tool;
    CLI::App app{
        "Checks, exports, builds and compares Zorbinta catalogue files (base.db).\n"
        "A catalogue goes out to CSV files for a spreadsheet and comes back the same."};
    app.require_subcommand(1);

    std::string file;
    std::string dir;
    std::string before;
    std::string after;
    bool asJson = false;
    std::string key;
    std::string signature;

    CLI::App* check = app.add_subcommand(
        "check",
        "Load FILE as the program does and list every problem, then the counts.\n"
        "Exit status: 0 clean, 1 problems, 2 cannot read.");
    check->add_option("FILE", file, "the catalogue file (base.db)")->required();

    CLI::App* exportCommand = app.add_subcommand(
        "export",
        "Write DIR/providers.csv, plans.csv, free.csv, domains.csv and version.csv from FILE.\n"
        "Exit status: 0 written, 2 cannot read FILE or write DIR (nothing written).");
    exportCommand->add_option("FILE", file, "the catalogue file (base.db)")->required();
    exportCommand->add_option("DIR", dir, "the folder for the CSV files (created if missing)")
        ->required();

    CLI::App* build = app.add_subcommand("build",
                                         "Check the CSV files in DIR and write FILE from them.\n"
                                         "Exit status: 0 written, 1 problems (nothing written).");
    build->add_option("DIR", dir, "the folder of CSV files, as export writes it")->required();
    build->add_option("FILE", file, "the catalogue file to write")->required();

    CLI::App* diff = app.add_subcommand(
        "diff",
        "What changed from OLD to NEW (catalogue files or folders of CSV files).\n"
        "Exit status: 0 no change, 1 changes, 2 cannot read.");
    diff->add_option("OLD", before, "the catalogue before")->required();
    diff->add_option("NEW", after, "the catalogue after")->required();
    diff->add_flag("--json", asJson, "print the changes as JSON");

    CLI::App* verify = app.add_subcommand(
        "verify",
        "Check FILE's minisign signature as the program does before it takes a download:\n"
        "made with KEY over exactly FILE, its trusted comment intact and with a timestamp.\n"
        "Exit status: 0 valid, 1 invalid or missing, 2 cannot read.");
    verify->add_option("--key", key, "the public key: its base64 line (RW...) or a .pub file")
        ->required();
    verify->add_option("FILE", file, "the catalogue file (base.db)")->required();
    verify->add_option("--signature", signature, "the signature file (default: FILE.minisig)");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kUnreadable;
    }
    try {
        if (*check) return runCheck(file);
        if (*exportCommand) return runExport(file, dir);
        if (*build) return runBuild(dir, file);
        if (*diff) return runDiff(before, after, asJson);
        if (*verify) return runVerify(key, file, signature.empty() ? file + ".minisig" : signature);
    } catch (const std::exception& e) {
        // Out of memory and the like: still one message, never an abort.
        std::cerr << "zorbinta-catalogue: " << e.what() << '\n';
    }
    return kUnreadable;
}
