// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Zorbinta core: toolkit-free libraries that hold the whole program, each
// building only on those listed after it.
//
//   shell/      the main window's controller and commands, the application object
//   router/     the navigation router and the other catalogue pages
//   pages/      templates and page output, ordering, the search results page
//   update/     settings file, new-version prompt, catalogue download
//   about/      the About box's model
//   search/     the search criteria, their match test and the dialog's model
//   platform/   the platform services the others share
//   catalogue/  tables, history data, text codec, number formats, the base.db loader
//
// Every window is a controller over small platform interfaces (browser pane,
// message box, link opener, work area, modal dialogs, HTTP client), so the Qt
// program and zorbinta-headless run the same code. Text is UTF-8 inside and
// Windows-1251 in files; errors are zorbinta::Error carrying the user's text.

#include <array>
#include <cassert>
#include <cstdint>
#include <string>
#include <vector>

namespace zorbinta {

// Table numbers.
enum Table : int { ProviderTable = 1, PlanTable = 2, FreeHostTable = 3, DomainTable = 4 };

inline constexpr int kMaxRows = 1000;
inline constexpr int kTextSlots = 12;
inline constexpr int kNumberSlots = 10;
inline constexpr int kFlagSlots = 15;
inline constexpr int kHistorySize = 100;
// The largest base.db the program reads or downloads. A full catalogue of
// 1000 records a tag with long texts stays far below it; anything bigger is
// not a catalogue, and refusing it keeps a hostile server or a stray file
// from filling the disk or the memory.
inline constexpr std::uintmax_t kMaxCatalogueBytes = 32u * 1024u * 1024u;

// Slot names (1-based, as the tables are addressed everywhere).
namespace slot {
// Provider table.
inline constexpr int ProviderId = 1;  // number
inline constexpr int FirmName = 1, Address = 2, Phone1Code = 3, Phone1Number = 4, Phone2Code = 5,
                     Phone2Number = 6, Phone3Code = 7, Phone3Number = 8, WebAddress = 9, Email = 10,
                     UpdatedOn = 11, ExtraInfo = 12;  // texts
// Plan table.
inline constexpr int PlanName = 1;  // text
inline constexpr int PlanNumber = 1, PlanProviderId = 2, DiskMb = 3, Traffic = 4, Mailboxes = 5,
                     SubDomains = 6, MySqlDatabases = 7, MonthlyCost = 8, MinPaymentPeriod = 9,
                     TrialDays = 10;  // numbers
inline constexpr int HasPhp = 1, HasPerl = 2, HasCgiBin = 3, HasSsi = 4, HasCron = 5, HasSsh = 6;
// Free-hosting table.
inline constexpr int FreeAddress = 1, FreeAdvertising = 2, FreeServices = 3,
                     FreeComment = 4;                  // texts
inline constexpr int FreeDiskMb = 1, FreeOfferId = 2;  // numbers
// Domain table.
inline constexpr int Zone = 1;  // text
inline constexpr int DomainExtra = 1, DomainProviderId = 2, RegistrationPrice = 3, RenewalPrice = 4,
                     ClientKind = 5;  // numbers
}  // namespace slot

inline constexpr double kUnlimited = 99999;         // plans
inline constexpr double kFreeDiskUnlimited = 9999;  // free-hosting disk space

// Fixed caption lists, 1-based (entry 0 is unused and empty).
extern const std::array<const char*, 6> FreeHostCaptions;
extern const std::array<const char*, 11> PaymentCaptions;
extern const std::array<const char*, 25> PlanCaptions;

// The in-memory catalogue: column stores of fixed capacity, counts, the one
// ordering vector and the version link. Indexes start at 1 everywhere.
class Catalogue {
public:
    Catalogue();

    const std::string& text(int table, int slot, int row) const {
        return texts_[textIndex(table, slot, row)];
    }
    std::string& text(int table, int slot, int row) { return texts_[textIndex(table, slot, row)]; }
    double number(int table, int slot, int row) const {
        return numbers_[numberIndex(table, slot, row)];
    }
    double& number(int table, int slot, int row) { return numbers_[numberIndex(table, slot, row)]; }
    bool flag(int table, int slot, int row) const {
        return flags_[flagIndex(table, slot, row)] != 0;
    }
    unsigned char& flag(int table, int slot, int row) {
        return flags_[flagIndex(table, slot, row)];
    }

    int ProviderCount = 0;
    int PlanCount = 0;
    int FreeHostCount = 0;
    int DomainEnd = 0;  // number of domain offers plus one once a file is loaded

    // OrderIndex[1..1000]: the last ordering's row numbers.
    std::array<int, kMaxRows + 1> OrderIndex{};

    std::string NewVersionLink;

    // Rows a table holds, as readers take its extent.
    int rowCount(int table) const;

private:
    static size_t textIndex(int t, int s, int r) {
        assert(t >= 1 && t <= 4 && s >= 1 && s <= kTextSlots && r >= 1 && r <= kMaxRows);
        return (static_cast<size_t>(t - 1) * kTextSlots + (s - 1)) * kMaxRows + (r - 1);
    }
    static size_t numberIndex(int t, int s, int r) {
        assert(t >= 1 && t <= 4 && s >= 1 && s <= kNumberSlots && r >= 1 && r <= kMaxRows);
        return (static_cast<size_t>(t - 1) * kNumberSlots + (s - 1)) * kMaxRows + (r - 1);
    }
    static size_t flagIndex(int t, int s, int r) {
        assert(t >= 1 && t <= 4 && s >= 1 && s <= kFlagSlots && r >= 1 && r <= kMaxRows);
        return (static_cast<size_t>(t - 1) * kFlagSlots + (s - 1)) * kMaxRows + (r - 1);
    }

    std::vector<std::string> texts_;
    std::vector<double> numbers_;
    std::vector<unsigned char> flags_;
};

}  // namespace zorbinta
