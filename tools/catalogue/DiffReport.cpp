// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/catalogue/DiffReport.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

#include "catalogue/core/Numbers.h"

namespace zorbinta::tool {
namespace {

using json = nlohmann::ordered_json;

// Identifiers are whole numbers; JSON shows them so.
json numberJson(double value) {
    if (std::trunc(value) == value && std::fabs(value) < 9.0e15)
        return static_cast<long long>(value);
    return value;
}

constexpr RecordKind kKinds[] = {RecordKind::Provider, RecordKind::Plan, RecordKind::FreeOffer,
                                 RecordKind::DomainOffer};

// How the report names a record kind: one record, a group in the text, a
// group in JSON.
struct KindNames {
    const char* one;
    const char* group;
    const char* json;
};

const KindNames& namesOf(RecordKind kind) {
    static constexpr KindNames kNames[] = {{"provider", "providers", "providers"},
                                           {"plan", "plans", "plans"},
                                           {"free offer", "free offers", "freeOffers"},
                                           {"domain offer", "domain offers", "domainOffers"}};
    return kNames[static_cast<int>(kind)];
}

const char* kindName(RecordKind kind) {
    return namesOf(kind).one;
}
const char* groupName(RecordKind kind) {
    return namesOf(kind).group;
}
const char* jsonGroupName(RecordKind kind) {
    return namesOf(kind).json;
}

// How the report names a kind of change, and its mark in the text form.
struct ChangeNames {
    const char* name;
    char mark;
};

const ChangeNames& namesOf(ChangeKind change) {
    static constexpr ChangeNames kNames[] = {{"added", '+'}, {"removed", '-'}, {"changed", '~'}};
    return kNames[static_cast<int>(change)];
}

const char* changeName(ChangeKind change) {
    return namesOf(change).name;
}
char changeMark(ChangeKind change) {
    return namesOf(change).mark;
}

// The catalogue and row where a change's record is seen: the new one unless
// it was removed.
const Catalogue& catalogueOf(const RecordChange& c, const CatalogueContents& before,
                             const CatalogueContents& after) {
    return c.change == ChangeKind::Removed ? *before.tables : *after.tables;
}
int rowOf(const RecordChange& c) {
    return c.change == ChangeKind::Removed ? c.oldRow : c.newRow;
}

// "plan 101 (Старт)", "domain offer .ru of provider 3 for clients with hosting".
std::string recordLabel(const RecordChange& c, const Catalogue& t, int row) {
    std::string label = kindName(c.record);
    switch (c.record) {
        case RecordKind::Provider:
            return label + " " + formatGeneral(t.number(ProviderTable, slot::ProviderId, row)) +
                   " (" + t.text(ProviderTable, slot::WebAddress, row) + ")";
        case RecordKind::Plan:
            return label + " " + formatGeneral(t.number(PlanTable, slot::PlanNumber, row)) + " (" +
                   t.text(PlanTable, slot::PlanName, row) + ")";
        case RecordKind::FreeOffer:
            return label + " " + formatGeneral(t.number(FreeHostTable, slot::FreeOfferId, row)) +
                   " (" + t.text(FreeHostTable, slot::FreeAddress, row) + ")";
        case RecordKind::DomainOffer: {
            const double kind = t.number(DomainTable, slot::ClientKind, row);
            return label + " " + t.text(DomainTable, slot::Zone, row) + " of provider " +
                   formatGeneral(t.number(DomainTable, slot::DomainProviderId, row)) +
                   (kind == 0   ? " for clients without hosting"
                    : kind == 1 ? " for clients with hosting"
                                : " for client kind " + formatGeneral(kind));
        }
    }
    return label;
}

json recordKey(const RecordChange& c, const Catalogue& t, int row) {
    switch (c.record) {
        case RecordKind::Provider:
            return {{"ProviderId", numberJson(t.number(ProviderTable, slot::ProviderId, row))}};
        case RecordKind::Plan:
            return {{"PlanNumber", numberJson(t.number(PlanTable, slot::PlanNumber, row))}};
        case RecordKind::FreeOffer:
            return {{"FreeOfferId", numberJson(t.number(FreeHostTable, slot::FreeOfferId, row))}};
        case RecordKind::DomainOffer:
            return {{"DomainProviderId",
                     numberJson(t.number(DomainTable, slot::DomainProviderId, row))},
                    {"Zone", t.text(DomainTable, slot::Zone, row)},
                    {"ClientKind", numberJson(t.number(DomainTable, slot::ClientKind, row))}};
    }
    return json::object();
}

// Texts in quotes, so that an empty one shows; numbers and flags bare.
std::string shown(const FieldChange& f, const std::string& value) {
    return f.kind == FieldKind::Text ? "\"" + value + "\"" : value;
}

void appendFields(std::string& out, const std::vector<FieldChange>& fields) {
    for (const FieldChange& f : fields) {
        out += "    " + f.name + ": " + shown(f, f.oldValue) + " → " + shown(f, f.newValue) + "\n";
    }
}

json fieldsJson(const std::vector<FieldChange>& fields) {
    json out = json::array();
    for (const FieldChange& f : fields) {
        out.push_back({{"name", f.name}, {"old", f.oldValue}, {"new", f.newValue}});
    }
    return out;
}

ChangeCounts versionCounts(const std::vector<VersionChange>& versions) {
    ChangeCounts n;
    for (const VersionChange& v : versions) {
        (v.change == ChangeKind::Added     ? n.added
         : v.change == ChangeKind::Removed ? n.removed
                                           : n.changed)++;
    }
    return n;
}

std::string countsText(const ChangeCounts& n) {
    return std::to_string(n.added) + " added, " + std::to_string(n.removed) + " removed, " +
           std::to_string(n.changed) + " changed";
}

json countsJson(const ChangeCounts& n) {
    return {{"added", n.added}, {"removed", n.removed}, {"changed", n.changed}};
}

FieldChange textChange(int slot, const char* name, const std::string& a, const std::string& b) {
    return {FieldKind::Text, slot, name, a, b};
}

}  // namespace

CatalogueDiff diffCatalogues(const CatalogueContents& before, const CatalogueContents& after) {
    CatalogueDiff diff;
    diff.records = compareCatalogues(*before.tables, *after.tables);
    const std::vector<VersionRecord>& a = before.versions;
    const std::vector<VersionRecord>& b = after.versions;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        VersionChange change{ChangeKind::Changed, static_cast<int>(i) + 1, {}};
        if (a[i].version != b[i].version) {
            change.fields.push_back(textChange(1, "CatalogueVersion", a[i].version, b[i].version));
        }
        if (a[i].link != b[i].link) {
            change.fields.push_back(textChange(2, "NewVersionLink", a[i].link, b[i].link));
        }
        if (!change.fields.empty()) diff.versions.push_back(std::move(change));
    }
    for (size_t i = a.size(); i < b.size(); ++i) {
        diff.versions.push_back({ChangeKind::Added, static_cast<int>(i) + 1, {}});
    }
    for (size_t i = b.size(); i < a.size(); ++i) {
        diff.versions.push_back({ChangeKind::Removed, static_cast<int>(i) + 1, {}});
    }
    return diff;
}

std::string diffText(const CatalogueContents& before, const CatalogueContents& after,
                     const CatalogueDiff& diff) {
    std::string out;
    for (const RecordChange& c : diff.records.changes) {
        out += changeMark(c.change);
        out += ' ';
        out += recordLabel(c, catalogueOf(c, before, after), rowOf(c)) + "\n";
        appendFields(out, c.fields);
    }
    for (const VersionChange& v : diff.versions) {
        const VersionRecord& r = v.change == ChangeKind::Removed
                                     ? before.versions[static_cast<size_t>(v.index) - 1]
                                     : after.versions[static_cast<size_t>(v.index) - 1];
        out += changeMark(v.change);
        out += " update record " + std::to_string(v.index) + " (version \"" + r.version + "\")\n";
        appendFields(out, v.fields);
    }
    if (diff.empty()) out += "No changes.\n";
    std::string summary = "Summary: ";
    for (const RecordKind kind : kKinds) {
        summary +=
            std::string(groupName(kind)) + " " + countsText(diff.records.counts(kind)) + "; ";
    }
    summary += "update records " + countsText(versionCounts(diff.versions));
    return out + summary + "\n";
}

std::string diffJson(const CatalogueContents& before, const CatalogueContents& after,
                     const CatalogueDiff& diff) {
    json changes = json::array();
    for (const RecordChange& c : diff.records.changes) {
        const Catalogue& t = catalogueOf(c, before, after);
        json change = {{"record", kindName(c.record)},
                       {"change", changeName(c.change)},
                       {"key", recordKey(c, t, rowOf(c))},
                       {"oldRow", c.oldRow},
                       {"newRow", c.newRow}};
        if (c.change == ChangeKind::Changed) change["fields"] = fieldsJson(c.fields);
        changes.push_back(std::move(change));
    }
    json versions = json::array();
    for (const VersionChange& v : diff.versions) {
        json change = {{"change", changeName(v.change)}, {"index", v.index}};
        if (v.change == ChangeKind::Changed) change["fields"] = fieldsJson(v.fields);
        versions.push_back(std::move(change));
    }
    json summary = json::object();
    for (const RecordKind kind : kKinds) {
        summary[jsonGroupName(kind)] = countsJson(diff.records.counts(kind));
    }
    summary["updateRecords"] = countsJson(versionCounts(diff.versions));
    const json out = {{"changes", std::move(changes)},
                      {"updateRecords", std::move(versions)},
                      {"summary", std::move(summary)}};
    return out.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace zorbinta::tool
