// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What changed from one catalogue to another. The catalogue tool's "diff"
// prints it, and the program shows it after a download.
//
// Records are matched by their identity, not by their row: providers by
// ProviderId, plans by PlanNumber, free offers by FreeOfferId and domain
// offers by (DomainProviderId, Zone, ClientKind). When a key occurs more than
// once in a catalogue, its k-th occurrence in the old one matches its k-th
// occurrence in the new one.

#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"

namespace zorbinta {

enum class RecordKind { Provider, Plan, FreeOffer, DomainOffer };
enum class ChangeKind { Added, Removed, Changed };
enum class FieldKind { Text, Number, Flag };

struct FieldChange {
    FieldKind kind = FieldKind::Text;
    int slot = 0;          // the slot of that kind in the record's table (1-based)
    std::string name;      // the field's name: "MonthlyCost", "HasPhp", ...
    std::string oldValue;  // as the program writes it: numbers in the general
    std::string newValue;  // format, flags as 0/1, texts unchanged (UTF-8)
};

struct RecordChange {
    RecordKind record = RecordKind::Provider;
    ChangeKind change = ChangeKind::Added;
    int oldRow = 0;                   // the record's row in the old catalogue; 0 when added
    int newRow = 0;                   // its row in the new catalogue; 0 when removed
    std::vector<FieldChange> fields;  // for Changed: every field that differs, in slot order
};

struct ChangeCounts {
    int added = 0;
    int removed = 0;
    int changed = 0;
};

struct CatalogueChanges {
    // In report order: providers added, removed, changed; then plans, free
    // offers and domain offers the same way. Within a group, added and changed
    // records follow the new catalogue's rows, removed ones the old one's.
    std::vector<RecordChange> changes;

    bool empty() const { return changes.empty(); }
    ChangeCounts counts(RecordKind record) const;
};

// Compares rows 1..count of each table (the counts each catalogue holds).
CatalogueChanges compareCatalogues(const Catalogue& before, const Catalogue& after);

// The table a record kind lives in, and a field's name by kind and slot
// ("ProviderId", "FirmName", "PayBankTransfer", "PlanName", "HasPhp", ...).
int tableOf(RecordKind record);
std::string fieldName(int table, FieldKind kind, int slot);

}  // namespace zorbinta
