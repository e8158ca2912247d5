// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/PageTables.h"

#include <algorithm>
#include <unordered_map>

#include "catalogue/core/Numbers.h"
#include "router/core/PageParts.h"

namespace zorbinta {
namespace {

// The caption of flag f is PlanCaptions[f + 9]: PHP, Perl, ... Ежедневный Back-Up.
constexpr int kFlagCaptionOffset = 9;
constexpr int kPlanFlags = 15;

// Providers' addresses by id, looked up once for a whole list: the last row
// with an id wins, as on the pages; an id without a row has an empty address.
class ProviderAddresses {
public:
    explicit ProviderAddresses(const Catalogue& catalogue) : catalogue_(catalogue) {
        for (int p = 1; p <= std::min(catalogue.ProviderCount, kMaxRows); ++p) {
            rows_[catalogue.number(ProviderTable, slot::ProviderId, p)] = p;
        }
    }
    std::string operator()(double id) const {
        const auto it = rows_.find(id);
        return it == rows_.end() ? std::string()
                                 : catalogue_.text(ProviderTable, slot::WebAddress, it->second);
    }

private:
    const Catalogue& catalogue_;
    std::unordered_map<double, int> rows_;
};

bool isPlanRow(const Catalogue& catalogue, int row) {
    return row >= 1 && row <= std::min(catalogue.PlanCount, kMaxRows);
}

// The rows of the plan column table as columns: the name, the eight
// limits, then every option marked "+" or "-".
std::vector<std::string> planColumnCaptions() {
    std::vector<std::string> captions;
    for (int s = 1; s <= 24; ++s) captions.emplace_back(PlanCaptions[static_cast<size_t>(s)]);
    return captions;
}

std::vector<TableCell> planColumnCells(const Catalogue& catalogue, int row) {
    std::vector<TableCell> cells;
    cells.reserve(24);
    cells.push_back(TableCell::of(catalogue.text(PlanTable, slot::PlanName, row)));
    for (int s = 2; s <= 9; ++s)
        cells.push_back(planValueCell(catalogue.number(PlanTable, s + 1, row)));
    for (int f = 1; f <= kPlanFlags; ++f) {
        cells.push_back(TableCell::of(catalogue.flag(PlanTable, f, row) ? "+" : "-"));
    }
    return cells;
}

}  // namespace

TableCell planValueCell(double value) {
    return value == kUnlimited ? TableCell::of("неогр.") : TableCell::of(value);
}

std::string planOptionNames(const Catalogue& catalogue, int row) {
    std::string names;
    for (int f = 1; f <= kPlanFlags; ++f) {
        if (!catalogue.flag(PlanTable, f, row)) continue;
        if (!names.empty()) names += ", ";
        names += PlanCaptions[static_cast<size_t>(f + kFlagCaptionOffset)];
    }
    return names;
}

PageTable searchResultsTable(const Catalogue& catalogue, const std::vector<int>& matches) {
    PageTable table{"poisk",
                    Paper::Portrait,
                    {"Тарифный план", "Хостинг-провайдер", "Дисковое пространство(Мб)", "Трафик",
                     "Опции", "Месячная стоимость(y.e.)"},
                    {}};
    table.rows.reserve(matches.size());
    const ProviderAddresses address(catalogue);
    for (const int r : matches) {
        table.rows.push_back(
            {TableCell::of(catalogue.text(PlanTable, slot::PlanName, r)),
             TableCell::of(address(catalogue.number(PlanTable, slot::PlanProviderId, r))),
             TableCell::of(catalogue.number(PlanTable, slot::DiskMb, r)),
             planValueCell(catalogue.number(PlanTable, slot::Traffic, r)),
             TableCell::of(planOptionNames(catalogue, r)),
             TableCell::of(catalogue.number(PlanTable, slot::MonthlyCost, r))});
    }
    return table;
}

PageTable compareTable(const Catalogue& catalogue, const std::vector<int>& rows) {
    PageTable table{"sravnenie", Paper::Landscape, {"Хостинг-провайдер"}, {}};
    for (std::string& caption : planColumnCaptions()) table.captions.push_back(std::move(caption));
    for (const int r : rows) {
        if (!isPlanRow(catalogue, r)) continue;
        std::vector<TableCell> cells{TableCell::of(
            providerAddressOf(catalogue, catalogue.number(PlanTable, slot::PlanProviderId, r)))};
        for (TableCell& cell : planColumnCells(catalogue, r)) cells.push_back(std::move(cell));
        table.rows.push_back(std::move(cells));
    }
    return table;
}

PageTable providerTable(const Catalogue& catalogue, int providerNumber) {
    PageTable table{"provajder", Paper::Portrait, planColumnCaptions(), {}};
    for (int r = 1; r <= std::min(catalogue.PlanCount, kMaxRows); ++r) {
        if (catalogue.number(PlanTable, slot::PlanProviderId, r) ==
            static_cast<double>(providerNumber)) {
            table.rows.push_back(planColumnCells(catalogue, r));
        }
    }
    return table;
}

PageTable freeHostTable(const Catalogue& catalogue, const std::vector<int>& order) {
    // The page shows Реклама before Сервисы.
    PageTable table{"besplatnyj-hosting",
                    Paper::Portrait,
                    {FreeHostCaptions[1], FreeHostCaptions[2], FreeHostCaptions[4],
                     FreeHostCaptions[3], FreeHostCaptions[5]},
                    {}};
    table.rows.reserve(order.size());
    for (const int r : order) {
        const double disk = catalogue.number(FreeHostTable, slot::FreeDiskMb, r);
        table.rows.push_back(
            {TableCell::of(catalogue.text(FreeHostTable, slot::FreeAddress, r)),
             disk == kFreeDiskUnlimited ? TableCell::of("Неогр.") : TableCell::of(disk),
             TableCell::of(catalogue.text(FreeHostTable, slot::FreeAdvertising, r)),
             TableCell::of(catalogue.text(FreeHostTable, slot::FreeServices, r)),
             TableCell::of(catalogue.text(FreeHostTable, slot::FreeComment, r))});
    }
    return table;
}

PageTable domainTable(const Catalogue& catalogue, const std::vector<int>& rows) {
    PageTable table{
        "domeny", Paper::Portrait, {"Зона", "Хостинг-провайдер", "Регистрация", "Продление"}, {}};
    table.rows.reserve(rows.size());
    const ProviderAddresses address(catalogue);
    for (const int r : rows) {
        table.rows.push_back(
            {TableCell::of(catalogue.text(DomainTable, slot::Zone, r)),
             TableCell::of(address(catalogue.number(DomainTable, slot::DomainProviderId, r))),
             TableCell::of(catalogue.number(DomainTable, slot::RegistrationPrice, r)),
             TableCell::of(catalogue.number(DomainTable, slot::RenewalPrice, r))});
    }
    return table;
}

}  // namespace zorbinta
