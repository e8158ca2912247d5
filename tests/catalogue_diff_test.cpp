// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueDiff.h"

namespace zorbinta {
namespace {

// A small catalogue: providers 1..3, plans 11..14, free offers 7 and 8, and
// domain offers of providers 1 and 2.
void fillBase(Catalogue& c) {
    c.ProviderCount = 3;
    for (int r = 1; r <= 3; ++r) {
        c.number(ProviderTable, slot::ProviderId, r) = r;
        c.text(ProviderTable, slot::WebAddress, r) = "p" + std::to_string(r) + ".ru";
        c.flag(ProviderTable, 1, r) = 1;
    }
    c.PlanCount = 4;
    for (int r = 1; r <= 4; ++r) {
        c.text(PlanTable, slot::PlanName, r) = "Тариф " + std::to_string(r);
        c.number(PlanTable, slot::PlanNumber, r) = 10 + r;
        c.number(PlanTable, slot::PlanProviderId, r) = 1 + r % 3;
        c.number(PlanTable, slot::MonthlyCost, r) = 7.5;
    }
    c.FreeHostCount = 2;
    for (int r = 1; r <= 2; ++r) {
        c.text(FreeHostTable, slot::FreeAddress, r) = "www.free" + std::to_string(r) + ".ru";
        c.number(FreeHostTable, slot::FreeOfferId, r) = 6 + r;
    }
    c.DomainEnd = 4;
    const char* zones[] = {".ru", ".ru", ".com"};
    for (int r = 1; r <= 3; ++r) {
        c.text(DomainTable, slot::Zone, r) = zones[r - 1];
        c.number(DomainTable, slot::DomainProviderId, r) = r == 3 ? 2 : 1;
        c.number(DomainTable, slot::ClientKind, r) = r == 2 ? 1 : 0;
        c.number(DomainTable, slot::RegistrationPrice, r) = 19.5;
    }
}

const char* recordName(RecordKind k) {
    switch (k) {
        case RecordKind::Provider:
            return "provider";
        case RecordKind::Plan:
            return "plan";
        case RecordKind::FreeOffer:
            return "free";
        case RecordKind::DomainOffer:
            return "domain";
    }
    return "?";
}

// One line a change: "plan changed 2>2 MonthlyCost:7,5>8".
std::vector<std::string> lines(const CatalogueChanges& changes) {
    std::vector<std::string> out;
    for (const RecordChange& c : changes.changes) {
        std::string line = recordName(c.record);
        line += c.change == ChangeKind::Added     ? " added "
                : c.change == ChangeKind::Removed ? " removed "
                                                  : " changed ";
        line += std::to_string(c.oldRow) + ">" + std::to_string(c.newRow);
        for (const FieldChange& f : c.fields) {
            line += " " + f.name + ":" + f.oldValue + ">" + f.newValue;
        }
        out.push_back(line);
    }
    return out;
}

TEST(CatalogueDiff, ChangesInReportOrder) {
    const struct {
        const char* what;
        std::function<void(Catalogue&)> edit;
        std::vector<std::string> expected;
    } cases[] = {
        {"nothing", [](Catalogue&) {}, {}},
        {"one price",
         [](Catalogue& c) { c.number(PlanTable, slot::MonthlyCost, 2) = 8; },
         {"plan changed 2>2 MonthlyCost:7,5>8"}},
        {"fields of every kind, in field order",
         [](Catalogue& c) {
             c.flag(ProviderTable, 10, 1) = 1;
             c.flag(ProviderTable, 1, 1) = 0;
             c.text(ProviderTable, slot::ExtraInfo, 1) = "a?*?b";
             c.text(ProviderTable, slot::FirmName, 1) = "ООО «Новая»";
         },
         {"provider changed 1>1 FirmName:>ООО «Новая» ExtraInfo:>a?*?b PayBankTransfer:1>0 "
          "PayBanners:0>1"}},
        {"rows in another order are no change",
         [](Catalogue& c) {
             Catalogue b;
             fillBase(b);
             for (int s = 1; s <= kNumberSlots; ++s) {
                 c.number(PlanTable, s, 1) = b.number(PlanTable, s, 4);
                 c.number(PlanTable, s, 4) = b.number(PlanTable, s, 1);
             }
             std::swap(c.text(PlanTable, slot::PlanName, 1), c.text(PlanTable, slot::PlanName, 4));
         },
         {}},
        {"minus zero equals zero",
         [](Catalogue& c) { c.number(DomainTable, slot::RenewalPrice, 1) = -0.0; },
         {}},
        {"a new client kind is another offer",
         [](Catalogue& c) { c.number(DomainTable, slot::ClientKind, 3) = 1; },
         {"domain added 0>3", "domain removed 3>0"}},
        {"added, removed and changed of every kind",
         [](Catalogue& c) {
             c.ProviderCount = 2;                               // provider 3 removed
             c.number(ProviderTable, slot::ProviderId, 2) = 9;  // 2 removed, 9 added
             c.text(ProviderTable, slot::Email, 1) = "a@b.ru";
             c.PlanCount = 5;
             c.number(PlanTable, slot::PlanNumber, 5) = 99;
             c.number(PlanTable, slot::PlanNumber, 3) = 98;
             c.number(PlanTable, slot::DiskMb, 4) = 0.1;
             c.FreeHostCount = 1;
             c.text(FreeHostTable, slot::FreeComment, 1) = "x";
             c.DomainEnd = 5;
             c.text(DomainTable, slot::Zone, 4) = ".net";
         },
         {"provider added 0>2", "provider removed 2>0", "provider removed 3>0",
          "provider changed 1>1 Email:>a@b.ru", "plan added 0>3", "plan added 0>5",
          "plan removed 3>0", "plan changed 4>4 DiskMb:0>0,1", "free removed 2>0",
          "free changed 1>1 FreeComment:>x", "domain added 0>4"}},
        {"the k-th of a repeated key matches the k-th",
         [](Catalogue& c) {
             // Old plans 11 12 13 14; new 12 12 13 14 with the second 12 new.
             c.number(PlanTable, slot::PlanNumber, 1) = 12;
             c.number(PlanTable, slot::TrialDays, 2) = 14;
         },
         {"plan added 0>2", "plan removed 1>0",
          "plan changed 2>1 PlanName:Тариф 2>Тариф 1 PlanProviderId:3>2"}},
    };
    for (const auto& c : cases) {
        Catalogue before;
        Catalogue after;
        fillBase(before);
        fillBase(after);
        c.edit(after);
        const CatalogueChanges changes = compareCatalogues(before, after);
        EXPECT_EQ(lines(changes), c.expected) << c.what;
        EXPECT_EQ(changes.empty(), c.expected.empty()) << c.what;
    }
}

TEST(CatalogueDiff, RepeatedKeysOnBothSides) {
    Catalogue before;
    Catalogue after;
    fillBase(before);
    fillBase(after);
    for (Catalogue* c : {&before, &after}) {
        for (int r = 1; r <= 4; ++r) c->number(PlanTable, slot::PlanNumber, r) = 5;
    }
    after.PlanCount = 3;
    after.number(PlanTable, slot::Traffic, 3) = 99999;
    EXPECT_EQ(lines(compareCatalogues(before, after)),
              (std::vector<std::string>{"plan removed 4>0", "plan changed 3>3 Traffic:0>99999"}));
}

TEST(CatalogueDiff, CountsAndNames) {
    Catalogue before;
    Catalogue after;
    fillBase(before);
    after.ProviderCount = 1;
    after.number(ProviderTable, slot::ProviderId, 1) = 9;
    const CatalogueChanges changes = compareCatalogues(before, after);
    const ChangeCounts providers = changes.counts(RecordKind::Provider);
    EXPECT_EQ(providers.added, 1);
    EXPECT_EQ(providers.removed, 3);
    EXPECT_EQ(providers.changed, 0);
    EXPECT_EQ(changes.counts(RecordKind::Plan).removed, 4);
    EXPECT_EQ(changes.counts(RecordKind::DomainOffer).removed, 3);

    const struct {
        int table;
        FieldKind kind;
        int slot;
        const char* name;
    } names[] = {
        {ProviderTable, FieldKind::Number, 1, "ProviderId"},
        {ProviderTable, FieldKind::Text, 11, "UpdatedOn"},
        {ProviderTable, FieldKind::Flag, 6, "PayYandexMoney"},
        {PlanTable, FieldKind::Number, 10, "TrialDays"},
        {PlanTable, FieldKind::Flag, 15, "HasDailyBackup"},
        {FreeHostTable, FieldKind::Number, 1, "FreeDiskMb"},
        {DomainTable, FieldKind::Number, 5, "ClientKind"},
        {DomainTable, FieldKind::Text, 2, ""},  // a slot the table does not use
        {FreeHostTable, FieldKind::Flag, 1, ""},
    };
    for (const auto& n : names) EXPECT_EQ(fieldName(n.table, n.kind, n.slot), n.name) << n.name;
    EXPECT_EQ(tableOf(RecordKind::FreeOffer), FreeHostTable);
}

}  // namespace
}  // namespace zorbinta
