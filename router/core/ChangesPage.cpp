// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/ChangesPage.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "catalogue/core/CatalogueContents.h"
#include "catalogue/core/CatalogueDiff.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/Numbers.h"
#include "pages/core/Paging.h"
#include "router/core/PageParts.h"
#include "router/core/PageTables.h"

namespace zorbinta {
namespace {

constexpr const char* kUnchanged = "Каталог не изменился";
constexpr const char* kHeading = R"(<h3 align="center">Изменения каталога</h3>)";
constexpr const char* kNoComparison = "Сравнение с прежним каталогом невозможно: ";
constexpr const char* kDownloadHeading = R"(<h3 align="center">Обновление каталога</h3>)";
constexpr const char* kSameCatalogue =
    "Каталог на сервере совпадает с тем, что у вас уже есть: каталог не изменился.";
constexpr const char* kLastChange =
    R"(Что изменилось при последнем обновлении, показывает меню «Сервис» &rarr; )"
    R"(«<a class="menu" href="izmen">Изменения каталога</a>».)";

enum List : int {
    ProvidersAdded,
    ProvidersRemoved,
    PlansAdded,
    PlansRemoved,
    PlanPrices,
    DomainPrices
};

struct ListShape {
    const char* title;
    std::vector<const char*> head;
};

const std::array<ListShape, kChangeLists>& shapes() {
    static const std::array<ListShape, kChangeLists> lists = {{
        {"Новые хостинг-провайдеры", {"Хостинг-провайдер", "Название фирмы", "Дата обновления"}},
        {"Удалённые хостинг-провайдеры",
         {"Хостинг-провайдер", "Название фирмы", "Дата обновления"}},
        {"Новые тарифные планы",
         {"Тарифный план", "Хостинг-провайдер", "Дисковое пространство(Мб)", "Трафик",
          "Месячная стоимость(y.e.)"}},
        {"Удалённые тарифные планы",
         {"Тарифный план", "Хостинг-провайдер", "Дисковое пространство(Мб)", "Трафик",
          "Месячная стоимость(y.e.)"}},
        {"Новые цены тарифных планов",
         {"Тарифный план", "Хостинг-провайдер", "Месячная стоимость(y.e.)"}},
        {"Новые цены регистрации доменов",
         {"Зона", "Хостинг-провайдер", "Для клиентов", "Регистрация", "Продление"}},
    }};
    return lists;
}

const FieldChange* numberChange(const RecordChange& change, int numberSlot) {
    for (const FieldChange& f : change.fields) {
        if (f.kind == FieldKind::Number && f.slot == numberSlot) return &f;
    }
    return nullptr;
}

// Which list a change goes to; -1 for the changes no list shows.
int listOf(const RecordChange& c) {
    switch (c.record) {
        case RecordKind::Provider:
            if (c.change == ChangeKind::Added) return ProvidersAdded;
            if (c.change == ChangeKind::Removed) return ProvidersRemoved;
            return -1;
        case RecordKind::Plan:
            if (c.change == ChangeKind::Added) return PlansAdded;
            if (c.change == ChangeKind::Removed) return PlansRemoved;
            return numberChange(c, slot::MonthlyCost) != nullptr ? PlanPrices : -1;
        case RecordKind::DomainOffer:
            if (c.change != ChangeKind::Changed) return -1;
            return numberChange(c, slot::RegistrationPrice) != nullptr ||
                           numberChange(c, slot::RenewalPrice) != nullptr
                       ? DomainPrices
                       : -1;
        case RecordKind::FreeOffer:
            return -1;
    }
    return -1;
}

// Old → new, the new price in the colour of its direction.
std::string priceChange(double before, double after) {
    return formatPrice(before) + R"( &rarr; <span class=")" +
           (after < before ? "cheaper" : "dearer") + R"(">)" + formatPrice(after) + "</span>";
}

std::string priceCell(const Catalogue& before, const Catalogue& after, const RecordChange& c,
                      int table, int numberSlot) {
    const double now = after.number(table, numberSlot, c.newRow);
    if (numberChange(c, numberSlot) == nullptr) return formatPrice(now);
    return priceChange(before.number(table, numberSlot, c.oldRow), now);
}

std::string clientKindText(double kind) {
    if (kind == 0) return "не заказавших хостинг";
    if (kind == 1) return "заказавших хостинг";
    return formatGeneral(kind);
}

// The provider cell of a plan or a domain offer of catalogue `from`: linked
// to the card when the catalogue on show holds that provider.
std::string providerOf(const Catalogue& from, const Catalogue& after, double id) {
    const int row = providerRowOf(after, id);
    return row > 0 ? providerCardLink(after, row) : providerAddressOf(from, id);
}

std::vector<std::string> cells(int list, const Catalogue& before, const Catalogue& after,
                               const RecordChange& c) {
    switch (list) {
        case ProvidersAdded:
            return {providerCardLink(after, c.newRow),
                    after.text(ProviderTable, slot::FirmName, c.newRow),
                    shownDate(after.text(ProviderTable, slot::UpdatedOn, c.newRow))};
        case ProvidersRemoved:
            // Its card is gone with it, so it is named without a link.
            return {before.text(ProviderTable, slot::WebAddress, c.oldRow),
                    before.text(ProviderTable, slot::FirmName, c.oldRow),
                    shownDate(before.text(ProviderTable, slot::UpdatedOn, c.oldRow))};
        case PlansAdded:
        case PlansRemoved: {
            const Catalogue& from = list == PlansAdded ? after : before;
            const int r = list == PlansAdded ? c.newRow : c.oldRow;
            return {from.text(PlanTable, slot::PlanName, r),
                    providerOf(from, after, from.number(PlanTable, slot::PlanProviderId, r)),
                    planValueText(from.number(PlanTable, slot::DiskMb, r)),
                    planValueText(from.number(PlanTable, slot::Traffic, r)),
                    formatPrice(from.number(PlanTable, slot::MonthlyCost, r))};
        }
        case PlanPrices:
            return {
                after.text(PlanTable, slot::PlanName, c.newRow),
                providerOf(after, after, after.number(PlanTable, slot::PlanProviderId, c.newRow)),
                priceCell(before, after, c, PlanTable, slot::MonthlyCost)};
        case DomainPrices:
            return {after.text(DomainTable, slot::Zone, c.newRow),
                    providerOf(after, after,
                               after.number(DomainTable, slot::DomainProviderId, c.newRow)),
                    clientKindText(after.number(DomainTable, slot::ClientKind, c.newRow)),
                    priceCell(before, after, c, DomainTable, slot::RegistrationPrice),
                    priceCell(before, after, c, DomainTable, slot::RenewalPrice)};
    }
    return {};
}

// The file's table: all six lists one after another, each row in the
// columns of its kind, a price change as the old and the new price.
enum Column : int {
    What,
    Plan,
    Zone,
    Provider,
    Firm,
    Updated,
    ClientKind,
    Disk,
    Traffic,
    OldCost,
    Cost,
    OldRegistration,
    Registration,
    OldRenewal,
    Renewal,
    kColumns
};

PageTable emptyChangesTable() {
    return {"izmeneniya",
            Paper::Portrait,
            {"Изменение", "Тарифный план", "Зона", "Хостинг-провайдер", "Название фирмы",
             "Дата обновления", "Для клиентов", "Дисковое пространство(Мб)", "Трафик",
             "Прежняя месячная стоимость(y.e.)", "Месячная стоимость(y.e.)",
             "Прежняя цена регистрации", "Регистрация", "Прежняя цена продления", "Продление"},
            {}};
}

std::string providerNameOf(const Catalogue& from, const Catalogue& after, double id) {
    const int row = providerRowOf(after, id);
    return row > 0 ? providerCardName(after, row) : providerAddressOf(from, id);
}

std::vector<TableCell> tableRow(int list, const Catalogue& before, const Catalogue& after,
                                const RecordChange& c) {
    std::vector<TableCell> row(kColumns, TableCell::of(""));
    row[What] = TableCell::of(shapes()[static_cast<size_t>(list)].title);
    auto prices = [&](const Catalogue& now, int table, int numberSlot, int oldColumn) {
        row[static_cast<size_t>(oldColumn + 1)] =
            TableCell::of(now.number(table, numberSlot, c.newRow));
        if (numberChange(c, numberSlot) != nullptr) {
            row[static_cast<size_t>(oldColumn)] =
                TableCell::of(before.number(table, numberSlot, c.oldRow));
        }
    };
    switch (list) {
        case ProvidersAdded:
        case ProvidersRemoved: {
            const bool added = list == ProvidersAdded;
            const Catalogue& from = added ? after : before;
            const int r = added ? c.newRow : c.oldRow;
            row[Provider] = TableCell::of(added ? providerCardName(after, r)
                                                : from.text(ProviderTable, slot::WebAddress, r));
            row[Firm] = TableCell::of(from.text(ProviderTable, slot::FirmName, r));
            row[Updated] = TableCell::of(shownDate(from.text(ProviderTable, slot::UpdatedOn, r)));
            break;
        }
        case PlansAdded:
        case PlansRemoved: {
            const Catalogue& from = list == PlansAdded ? after : before;
            const int r = list == PlansAdded ? c.newRow : c.oldRow;
            row[Plan] = TableCell::of(from.text(PlanTable, slot::PlanName, r));
            row[Provider] = TableCell::of(
                providerNameOf(from, after, from.number(PlanTable, slot::PlanProviderId, r)));
            row[Disk] = planValueCell(from.number(PlanTable, slot::DiskMb, r));
            row[Traffic] = planValueCell(from.number(PlanTable, slot::Traffic, r));
            row[Cost] = TableCell::of(from.number(PlanTable, slot::MonthlyCost, r));
            break;
        }
        case PlanPrices:
            row[Plan] = TableCell::of(after.text(PlanTable, slot::PlanName, c.newRow));
            row[Provider] = TableCell::of(providerNameOf(
                after, after, after.number(PlanTable, slot::PlanProviderId, c.newRow)));
            prices(after, PlanTable, slot::MonthlyCost, OldCost);
            break;
        case DomainPrices:
            row[Zone] = TableCell::of(after.text(DomainTable, slot::Zone, c.newRow));
            row[Provider] = TableCell::of(providerNameOf(
                after, after, after.number(DomainTable, slot::DomainProviderId, c.newRow)));
            row[ClientKind] = TableCell::of(
                clientKindText(after.number(DomainTable, slot::ClientKind, c.newRow)));
            prices(after, DomainTable, slot::RegistrationPrice, OldRegistration);
            prices(after, DomainTable, slot::RenewalPrice, OldRenewal);
            break;
    }
    return row;
}

// The address of a list's page, the other lists staying on theirs.
std::string pagingHref(const ChangesPaging& paging, int list, long long page) {
    std::string href = std::string(kChangesCommand) + "=";
    for (int k = 0; k < kChangeLists; ++k) {
        if (k > 0) href += "-";
        href += formatInt(k == list ? page : paging.page[static_cast<size_t>(k)]);
    }
    return href;
}

// The changes each list shows; a change goes to one list at most.
using ChangeLists = std::array<std::vector<const RecordChange*>, kChangeLists>;

std::string summary(const CatalogueChanges& changes, const ChangeLists& lists) {
    auto count = [&lists](List list) {
        return formatInt(static_cast<long long>(lists[static_cast<size_t>(list)].size()));
    };
    size_t listed = 0;
    for (const auto& rows : lists) listed += rows.size();
    const size_t others = changes.changes.size() - listed;
    std::string text = R"(<font class="found">Хостинг-провайдеров: новых )";
    text += count(ProvidersAdded) + ", удалённых " + count(ProvidersRemoved);
    text += ". Тарифных планов: новых " + count(PlansAdded) + ", удалённых " + count(PlansRemoved) +
            ", с новой ценой " + count(PlanPrices);
    text += ". Доменных предложений с новой ценой: " + count(DomainPrices) + ".";
    if (others > 0) text += " Прочих изменений: " + formatInt(static_cast<long long>(others)) + ".";
    return text + "</font>";
}

}  // namespace

ChangesPaging readChangesPaging(std::string_view location) {
    ChangesPaging paging;
    const std::string word = std::string(kChangesCommand) + "=";
    const size_t at = location.find(word);
    if (at == std::string_view::npos) return paging;
    // Fields between "-"; a field's leading digits are its page.
    std::string_view rest = location.substr(at + word.size());
    for (int k = 0; k < kChangeLists; ++k) {
        const size_t dash = rest.find('-');
        const std::string_view field = rest.substr(0, dash);
        long long n = 0;
        size_t i = 0;
        for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
            n = std::min<long long>(n * 10 + (field[i] - '0'), kMaxRows);
        }
        if (i > 0) paging.page[static_cast<size_t>(k)] = static_cast<int>(n);
        if (dash == std::string_view::npos) break;
        rest.remove_prefix(dash + 1);
    }
    return paging;
}

std::string BuildChangesBody(const Catalogue& before, const Catalogue& after,
                             const ChangesPaging& paging, std::optional<PageTable>* table) {
    const CatalogueChanges changes = compareCatalogues(before, after);
    if (changes.empty()) return kUnchanged;

    ChangeLists lists;
    for (const RecordChange& c : changes.changes) {
        const int list = listOf(c);
        if (list >= 0) lists[static_cast<size_t>(list)].push_back(&c);
    }
    if (table != nullptr) {
        *table = emptyChangesTable();
        for (int k = 0; k < kChangeLists; ++k) {
            for (const RecordChange* c : lists[static_cast<size_t>(k)]) {
                (*table)->rows.push_back(tableRow(k, before, after, *c));
            }
        }
    }

    std::string body = kHeading;
    body += summary(changes, lists);
    for (int k = 0; k < kChangeLists; ++k) {
        const auto& rows = lists[static_cast<size_t>(k)];
        if (rows.empty()) continue;
        const ListShape& shape = shapes()[static_cast<size_t>(k)];
        const auto pages = static_cast<int>(pageCount(static_cast<long long>(rows.size())));
        const int page = std::clamp(paging.page[static_cast<size_t>(k)], 1, pages);
        body += "<h4 class=h4>";
        body += shape.title;
        body += ": " + formatInt(static_cast<long long>(rows.size())) + "</h4>";
        body += R"(<table border="0" CELLPADDING="5">)";
        body += listHead(shape.head);
        // Each list starts with the first row colour, as every paged list does.
        RowColour colour;
        const PageRows shown = pageRows(static_cast<long long>(rows.size()), page);
        for (long long pos = shown.first; pos <= shown.last; ++pos) {
            body += listRow(colour, cells(k, before, after, *rows[static_cast<size_t>(pos - 1)]));
        }
        body += "</table>";
        if (pages > 1) {
            body +=
                pageLinkRow(pages, [&paging, k](long long n) { return pagingHref(paging, k, n); });
        }
    }
    return body;
}

std::string BuildUnchangedPage(const std::string& previousFile) {
    std::string body = kDownloadHeading;
    body += "<p>";
    body += kSameCatalogue;
    body += "</p>";
    std::error_code ec;
    if (std::filesystem::is_regular_file(previousFile, ec)) {
        body += "<p>";
        body += kLastChange;
        body += "</p>";
    }
    return body;
}

std::string BuildChangesPage(const Catalogue& current, const std::string& previousFile,
                             const ChangesPaging& paging, std::optional<PageTable>* table) {
    namespace fs = std::filesystem;
    auto impossible = [](const std::string& why) {
        return std::string(kHeading) + "<p>" + kNoComparison + why + ".</p>";
    };

    std::error_code ec;
    const fs::file_status status = fs::status(previousFile, ec);
    if (!fs::exists(status)) return impossible("файл base.db.prev не найден");
    // Only a plain file is read: a folder or a device is no catalogue, and
    // reading one could take for ever.
    if (!fs::is_regular_file(status)) return impossible("base.db.prev не файл");
    std::optional<std::string> bytes;
    try {
        // Never read whole when it is larger than a catalogue may be.
        bytes = readFileBytesUpTo(previousFile, kMaxCatalogueBytes).bytes;
    } catch (const std::exception& e) {
        return impossible("файл base.db.prev не читается (" + htmlEscaped(e.what()) + ")");
    }
    if (!bytes) return impossible("файл base.db.prev больше, чем бывает каталог");

    CatalogueContents before;
    try {
        before = loadCatalogueBytes(*bytes);
    } catch (const std::exception& e) {
        return impossible("файл base.db.prev не является каталогом (" + htmlEscaped(e.what()) +
                          ")");
    }
    return BuildChangesBody(*before.tables, current, paging, table);
}

}  // namespace zorbinta
