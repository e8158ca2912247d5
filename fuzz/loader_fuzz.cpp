// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue loader on arbitrary file bytes. A load either takes the
// whole file or raises an Error and changes nothing; whatever it takes stays
// within the tables' bounds and is valid text. A catalogue it takes is then
// shown on every kind of page, so that the page builders meet whatever
// values a file can carry.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/Error.h"
#include "fuzz/FuzzSupport.h"
#include "shell/core/Application.h"
#include "tests/FakePlatform.h"
#include "update/core/Settings.h"

namespace {

using namespace zorbinta;
using fuzz::check;

// The program on the sample folder; its settings file asks for the
// new-version prompt, which the fake dialogs close at once.
struct Program {
    Program()
        : app(Platform{pane, fake, fake, fake, fake, fake, fake, fake.http},
              ProgramFiles(fuzz::sampleProgram().programDir()), "http://fuzz.example") {
        app.search.criteria.Bounds[6] = kUnlimited;
    }
    fuzz::CheckingPane pane;
    testing::FakePlatform fake;
    Application app;
};

struct Counts {
    int providers, plans, free, domainEnd;
    std::string link;
    bool operator==(const Counts&) const = default;
};

Counts countsOf(const Catalogue& c) {
    return {c.ProviderCount, c.PlanCount, c.FreeHostCount, c.DomainEnd, c.NewVersionLink};
}

void checkTexts(const Catalogue& c, int table, int rows, int slots) {
    for (int r = 1; r <= rows; ++r) {
        for (int s = 1; s <= slots; ++s) {
            check(fuzz::validUtf8(c.text(table, s, r)),
                  "stored text not UTF-8: table " + std::to_string(table) + " slot " +
                      std::to_string(s) + " row " + std::to_string(r));
        }
    }
}

std::string idText(double id) {
    return std::to_string(static_cast<long long>(id >= -1e15 && id <= 1e15 ? id : 0));
}

void showEveryPage(Application& app) {
    const Catalogue& c = app.catalogue;
    const std::string dir = "file://" + app.programDir() + "templ/";
    std::vector<std::string> locations = {
        dir + "main.htm?stoim",
        dir + "space",
        dir + "traf",
        dir + "stoimpage2",
        dir + "trafpage3",
        dir + "main.htm?dom",
        dir + "domreg",
        dir + "domprodpage2",
        dir + "main.htm?free",
        "http://dom/?zona=.ru%7C&norh=1",
        "http://srav/?nom=1&nom=2&nom=1000",
    };
    if (c.ProviderCount > 0) {
        locations.push_back(
            dir + "main.htm?provid=" + idText(c.number(ProviderTable, slot::ProviderId, 1)));
    }
    if (c.PlanCount > 0) {
        locations.push_back(dir + "provid=" + idText(c.number(PlanTable, slot::PlanProviderId, 1)));
    }
    for (const std::string& location : locations) {
        try {
            app.router.handle(location);
        } catch (const Error&) {
        }
    }
    // The provider list, shown and hidden, and a click on its first item.
    app.main.N8Click();
    app.main.selectItem(0);
    app.guarded([&app] { app.main.click(); });
    app.main.N8Click();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Program* program = new Program();  // lives for the whole run
    Application& app = program->app;
    Catalogue& catalogue = app.catalogue;
    CatalogueLoader& loader = app.loader;

    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Counts before = countsOf(catalogue);
    try {
        loader.loadBytes(bytes);
    } catch (const Error&) {
        check(countsOf(catalogue) == before, "a refused load changed the counts");
        check(!loader.busy(), "loader still busy after an error");
        return 0;
    }
    check(!loader.busy(), "loader still busy after a load");
    const Counts after = countsOf(catalogue);
    check(after.providers >= 0 && after.providers <= kMaxRows, "ProviderCount out of range");
    check(after.plans >= 0 && after.plans <= kMaxRows, "PlanCount out of range");
    check(after.free >= 0 && after.free <= kMaxRows, "FreeHostCount out of range");
    check(after.domainEnd >= 1 && after.domainEnd <= kMaxRows + 1, "DomainEnd out of range");
    checkTexts(catalogue, ProviderTable, after.providers, kTextSlots);
    checkTexts(catalogue, PlanTable, after.plans, 1);
    checkTexts(catalogue, FreeHostTable, after.free, 4);
    checkTexts(catalogue, DomainTable, after.domainEnd - 1, 1);
    check(fuzz::validUtf8(catalogue.NewVersionLink), "version link not UTF-8");
    showEveryPage(app);
    program->fake.errors.clear();
    program->fake.shown.clear();
    program->pane.shown.clear();
    return 0;
}
