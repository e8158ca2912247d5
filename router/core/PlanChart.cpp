// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/PlanChart.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "catalogue/core/Numbers.h"
#include "router/core/PageParts.h"

namespace zorbinta {
namespace {

// The picture and its plot area, in SVG units. Finite disk sizes run from
// kFiniteLeft to kFiniteRight; unlimited ones stand apart at the right edge.
constexpr double kWidth = 760, kHeight = 440;
constexpr double kLeft = 70, kRight = 740, kTop = 20, kBottom = 360;
constexpr double kFiniteLeft = kLeft + 14, kFiniteRight = kRight - 60;
constexpr double kUnlimitedX = kRight - 14;
constexpr double kApartX = (kFiniteRight + kUnlimitedX) / 2;
constexpr int kMaxDecade = 15;

constexpr const char* kStyle =
    "<style>.planchart{display:block;max-width:100%;height:auto;margin:8px 0 12px}"
    ".planchart .frame{fill:#ffffff;stroke:#dde1ea}"
    ".planchart text{font-size:11px;fill:#50545f}"
    ".planchart .grid{stroke:#e6e9f0}.planchart .axis{stroke:#8a8f9c}"
    ".planchart .plan,.planchart .legendrest{fill:#5b7bb4;fill-opacity:0.4}"
    ".planchart .unbeaten,.planchart .legendbest{fill:#e8590c;stroke:#7a2e00;stroke-width:1}"
    ".planchart.dense .unbeaten{fill-opacity:0.75;stroke-width:0.5}"
    "</style>";

// Past this many plans the circles shrink, down to half their size, so that
// a full catalogue stays a cloud of points rather than one blot.
constexpr double kRoomyPlans = 50;

double radiusScale(size_t plans) {
    return plans <= kRoomyPlans ? 1.0 : std::max(0.5, std::sqrt(kRoomyPlans / plans));
}

// SVG numbers take a point whatever the user's locale.
std::string svgNumber(double v) {
    std::array<char, 48> buffer{};
    const auto written =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), v, std::chars_format::fixed, 1);
    return std::string(buffer.data(), written.ptr);
}

double clamped(double v, double lo, double hi) {
    return v >= lo ? (v <= hi ? v : hi) : lo;  // a value that is not a number: lo
}

// Disk sizes below 1 Mb stand at 1, the left edge of the first decade.
double atLeastOne(double disk) {
    return disk >= 1 ? disk : 1;
}

struct DiskScale {
    int lo = 0;
    int hi = 1;
    double x(double disk) const {
        if (disk == kUnlimited) return kUnlimitedX;
        const double decades = std::log10(atLeastOne(disk)) - lo;
        return clamped(kFiniteLeft + decades / (hi - lo) * (kFiniteRight - kFiniteLeft),
                       kFiniteLeft, kFiniteRight);
    }
};

struct PriceScale {
    double bottom = 0;
    double top = 1;
    double step = 1;
    double y(double price) const {
        return clamped(kBottom - (price - bottom) / (top - bottom) * (kBottom - kTop), kTop,
                       kBottom);
    }
};

DiskScale diskScale(const Catalogue& catalogue, const std::vector<int>& plans) {
    double least = 0, most = 0;
    bool any = false;
    for (const int row : plans) {
        const double disk = catalogue.number(PlanTable, slot::DiskMb, row);
        if (disk == kUnlimited || !std::isfinite(disk)) continue;
        const double shown = atLeastOne(disk);
        least = any ? std::min(least, shown) : shown;
        most = any ? std::max(most, shown) : shown;
        any = true;
    }
    DiskScale scale;
    if (!any) return scale;
    scale.lo = std::min(static_cast<int>(std::floor(std::log10(least))), kMaxDecade - 1);
    scale.hi = std::min(static_cast<int>(std::ceil(std::log10(most))), kMaxDecade);
    if (scale.hi <= scale.lo) scale.hi = scale.lo + 1;
    return scale;
}

// Ticks at 1, 2 or 5 times a power of ten, about five of them, from zero
// (or below it) to a little above the dearest plan.
PriceScale priceScale(const Catalogue& catalogue, const std::vector<int>& plans) {
    double least = 0, most = 0;
    for (const int row : plans) {
        const double price = catalogue.number(PlanTable, slot::MonthlyCost, row);
        if (!std::isfinite(price)) continue;
        least = std::min(least, price);
        most = std::max(most, price);
    }
    most += (most - least) * 0.05;
    if (!(most > least)) most = least + 1;
    const double raw = (most - least) / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    PriceScale scale;
    scale.step = 10 * magnitude;
    for (const double m : {1.0, 2.0, 5.0}) {
        if (m * magnitude >= raw) {
            scale.step = m * magnitude;
            break;
        }
    }
    scale.bottom = std::floor(least / scale.step) * scale.step;
    scale.top = std::ceil(most / scale.step) * scale.step;
    return scale;
}

std::string line(const char* cls, double x1, double y1, double x2, double y2) {
    return R"(<line class=")" + std::string(cls) + R"(" x1=")" + svgNumber(x1) + R"(" y1=")" +
           svgNumber(y1) + R"(" x2=")" + svgNumber(x2) + R"(" y2=")" + svgNumber(y2) + R"("/>)";
}

std::string label(double x, double y, const char* anchor, const std::string& text) {
    return R"(<text x=")" + svgNumber(x) + R"(" y=")" + svgNumber(y) + R"(" text-anchor=")" +
           anchor + R"(">)" + text + "</text>";
}

std::string axes(const DiskScale& disk, const PriceScale& price) {
    std::string svg;
    const long long firstTick = std::llround(price.bottom / price.step);
    const long long lastTick = std::llround(price.top / price.step);
    for (long long k = firstTick; k <= lastTick; ++k) {
        const double value = static_cast<double>(k) * price.step;
        const double y = price.y(value);
        svg += line("grid", kLeft, y, kRight, y);
        svg += label(kLeft - 6, y + 4, "end", formatGeneral(value));
    }
    for (int decade = disk.lo; decade <= disk.hi; ++decade) {
        const double size = std::pow(10.0, decade);
        const double x = disk.x(size);
        svg += line("grid", x, kTop, x, kBottom);
        svg += label(x, kBottom + 16, "middle", formatGeneral(size));
        for (int m = 2; m <= 9 && decade < disk.hi; ++m) {
            const double minor = disk.x(m * size);
            svg += line("axis", minor, kBottom, minor, kBottom + 4);
        }
    }
    svg += line("grid", kUnlimitedX, kTop, kUnlimitedX, kBottom);
    svg += label(kUnlimitedX, kBottom + 16, "middle", "неогр.");
    svg += R"(<line class="axis" stroke-dasharray="3 3" x1=")" + svgNumber(kApartX) + R"(" y1=")" +
           svgNumber(kTop) + R"(" x2=")" + svgNumber(kApartX) + R"(" y2=")" + svgNumber(kBottom) +
           R"("/>)";
    svg += line("axis", kLeft, kBottom, kRight, kBottom);
    svg += line("axis", kLeft, kTop, kLeft, kBottom);
    svg += label((kLeft + kRight) / 2, kBottom + 36, "middle",
                 "Дисковое пространство(Мб), логарифмическая шкала");
    svg += R"(<text transform="translate(18 )" + svgNumber((kTop + kBottom) / 2) +
           R"svg() rotate(-90)" text-anchor="middle">Месячная стоимость(y.e.)</text>)svg";
    const double legendY = kHeight - 20;
    svg += R"(<rect class="legendbest" x=")" + svgNumber(kLeft) + R"(" y=")" +
           svgNumber(legendY - 9) + R"(" width="10" height="10"/>)";
    svg += label(kLeft + 16, legendY, "start", "лучшие: никакой другой тариф их не превосходит");
    svg += R"(<rect class="legendrest" x=")" + svgNumber(kLeft + 330) + R"(" y=")" +
           svgNumber(legendY - 9) + R"(" width="10" height="10"/>)";
    svg += label(kLeft + 346, legendY, "start", "остальные тарифы поиска");
    return svg;
}

std::string circle(const Catalogue& catalogue, const ProviderAddresses& addresses, int row,
                   bool unbeaten, double scale, const DiskScale& disk, const PriceScale& price) {
    const double providerId = catalogue.number(PlanTable, slot::PlanProviderId, row);
    const std::string title =
        catalogue.text(PlanTable, slot::PlanName, row) + " — " + addresses.of(providerId);
    return std::string(unbeaten ? R"(<circle class="unbeaten" r=")"
                                : R"(<circle class="plan" r=")") +
           svgNumber((unbeaten ? 5.5 : 3.5) * scale) + R"(" cx=")" +
           svgNumber(disk.x(catalogue.number(PlanTable, slot::DiskMb, row))) + R"(" cy=")" +
           svgNumber(price.y(catalogue.number(PlanTable, slot::MonthlyCost, row))) +
           R"("><title>)" + htmlEscaped(title) + "</title></circle>";
}

}  // namespace

std::string planChart(const Catalogue& catalogue, const ProviderAddresses& addresses,
                      const std::vector<int>& plans, const std::vector<int>& unbeaten) {
    std::array<bool, kMaxRows + 1> marked{};
    for (const int row : unbeaten) {
        if (row >= 1 && row <= kMaxRows) marked[static_cast<size_t>(row)] = true;
    }
    const DiskScale disk = diskScale(catalogue, plans);
    const PriceScale price = priceScale(catalogue, plans);

    std::string svg;
    svg.reserve(4096 + plans.size() * 120);
    const double scale = radiusScale(plans.size());
    svg +=
        std::string(scale < 1 ? R"(<svg class="planchart dense")" : R"(<svg class="planchart")") +
        R"( xmlns="http://www.w3.org/2000/svg" width=")" + svgNumber(kWidth) + R"(" height=")" +
        svgNumber(kHeight) + R"(" viewBox="0 0 )" + svgNumber(kWidth) + " " + svgNumber(kHeight) +
        R"(">)";
    svg += kStyle;
    svg += R"(<rect class="frame" x="0.5" y="0.5" width=")" + svgNumber(kWidth - 1) +
           R"(" height=")" + svgNumber(kHeight - 1) + R"("/>)";
    svg += axes(disk, price);
    // The unbeaten plans last, over the others.
    for (const bool drawUnbeaten : {false, true}) {
        for (const int row : plans) {
            if (marked[static_cast<size_t>(row)] == drawUnbeaten) {
                svg += circle(catalogue, addresses, row, drawUnbeaten, scale, disk, price);
            }
        }
    }
    return svg + "</svg>";
}

}  // namespace zorbinta
