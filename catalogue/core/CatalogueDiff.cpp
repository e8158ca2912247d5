// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/CatalogueDiff.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <tuple>

#include "catalogue/core/CatalogueFields.h"
#include "catalogue/core/Numbers.h"

namespace zorbinta {
namespace {

constexpr std::array<RecordKind, 4> kReportOrder = {RecordKind::Provider, RecordKind::Plan,
                                                    RecordKind::FreeOffer, RecordKind::DomainOffer};

// A number as a key: equal numbers give equal keys (0 and -0 alike).
std::uint64_t numberKey(double value) {
    if (value == 0) return 0;
    if (std::isnan(value)) return ~std::uint64_t{0};
    return std::bit_cast<std::uint64_t>(value);
}

// A record's identity and the how-manyeth record of that identity it is.
using Key = std::tuple<std::uint64_t, std::uint64_t, std::string, int>;

Key identity(const Catalogue& c, RecordKind record, int row) {
    switch (record) {
        case RecordKind::Provider:
            return {numberKey(c.number(ProviderTable, slot::ProviderId, row)), 0, {}, 0};
        case RecordKind::Plan:
            return {numberKey(c.number(PlanTable, slot::PlanNumber, row)), 0, {}, 0};
        case RecordKind::FreeOffer:
            return {numberKey(c.number(FreeHostTable, slot::FreeOfferId, row)), 0, {}, 0};
        case RecordKind::DomainOffer:
            return {numberKey(c.number(DomainTable, slot::DomainProviderId, row)),
                    numberKey(c.number(DomainTable, slot::ClientKind, row)),
                    c.text(DomainTable, slot::Zone, row), 0};
    }
    return {};
}

// Keys of rows 1..count with their occurrence numbers filled in.
std::vector<Key> keysOf(const Catalogue& c, RecordKind record) {
    const int rows = c.rowCount(tableOf(record));
    std::vector<Key> keys;
    keys.reserve(static_cast<size_t>(rows));
    std::map<Key, int> seen;
    for (int row = 1; row <= rows; ++row) {
        Key key = identity(c, record, row);
        std::get<3>(key) = seen[key]++;
        keys.push_back(std::move(key));
    }
    return keys;
}

bool sameNumber(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

std::vector<FieldChange> fieldChanges(const Catalogue& before, int oldRow, const Catalogue& after,
                                      int newRow, int table) {
    std::vector<FieldChange> changes;
    for (const RecordField& f : recordFields(table)) {
        FieldChange change{f.kind, f.slot, std::string(f.name), {}, {}};
        switch (f.kind) {
            case FieldKind::Text: {
                const std::string& a = before.text(table, f.slot, oldRow);
                const std::string& b = after.text(table, f.slot, newRow);
                if (a == b) continue;
                change.oldValue = a;
                change.newValue = b;
                break;
            }
            case FieldKind::Number: {
                const double a = before.number(table, f.slot, oldRow);
                const double b = after.number(table, f.slot, newRow);
                if (sameNumber(a, b)) continue;
                change.oldValue = formatGeneral(a);
                change.newValue = formatGeneral(b);
                break;
            }
            case FieldKind::Flag: {
                const bool a = before.flag(table, f.slot, oldRow);
                const bool b = after.flag(table, f.slot, newRow);
                if (a == b) continue;
                change.oldValue = a ? "1" : "0";
                change.newValue = b ? "1" : "0";
                break;
            }
        }
        changes.push_back(std::move(change));
    }
    return changes;
}

void compareRecords(const Catalogue& before, const Catalogue& after, RecordKind record,
                    std::vector<RecordChange>& out) {
    const int table = tableOf(record);
    const std::vector<Key> oldKeys = keysOf(before, record);
    const std::vector<Key> newKeys = keysOf(after, record);
    std::map<Key, int> oldRowOf;
    for (size_t i = 0; i < oldKeys.size(); ++i)
        oldRowOf.emplace(oldKeys[i], static_cast<int>(i) + 1);

    std::vector<bool> oldMatched(oldKeys.size() + 1, false);
    std::vector<RecordChange> changed;
    for (size_t i = 0; i < newKeys.size(); ++i) {
        const int newRow = static_cast<int>(i) + 1;
        const auto match = oldRowOf.find(newKeys[i]);
        if (match == oldRowOf.end()) {
            out.push_back({record, ChangeKind::Added, 0, newRow, {}});
            continue;
        }
        const int oldRow = match->second;
        oldMatched[static_cast<size_t>(oldRow)] = true;
        std::vector<FieldChange> fields = fieldChanges(before, oldRow, after, newRow, table);
        if (!fields.empty()) {
            changed.push_back({record, ChangeKind::Changed, oldRow, newRow, std::move(fields)});
        }
    }
    for (size_t oldRow = 1; oldRow <= oldKeys.size(); ++oldRow) {
        if (!oldMatched[oldRow]) {
            out.push_back({record, ChangeKind::Removed, static_cast<int>(oldRow), 0, {}});
        }
    }
    for (RecordChange& c : changed) out.push_back(std::move(c));
}

}  // namespace

ChangeCounts CatalogueChanges::counts(RecordKind record) const {
    ChangeCounts n;
    for (const RecordChange& c : changes) {
        if (c.record != record) continue;
        switch (c.change) {
            case ChangeKind::Added:
                ++n.added;
                break;
            case ChangeKind::Removed:
                ++n.removed;
                break;
            case ChangeKind::Changed:
                ++n.changed;
                break;
        }
    }
    return n;
}

CatalogueChanges compareCatalogues(const Catalogue& before, const Catalogue& after) {
    CatalogueChanges result;
    for (const RecordKind record : kReportOrder)
        compareRecords(before, after, record, result.changes);
    return result;
}

int tableOf(RecordKind record) {
    switch (record) {
        case RecordKind::Provider:
            return ProviderTable;
        case RecordKind::Plan:
            return PlanTable;
        case RecordKind::FreeOffer:
            return FreeHostTable;
        case RecordKind::DomainOffer:
            return DomainTable;
    }
    return 0;
}

std::string fieldName(int table, FieldKind kind, int slot) {
    for (const RecordField& f : recordFields(table)) {
        if (f.kind == kind && f.slot == slot) return std::string(f.name);
    }
    return {};
}

}  // namespace zorbinta
