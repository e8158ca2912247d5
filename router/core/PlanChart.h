// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The chart of the unbeaten-plans page, as inline SVG (the pane runs no
// scripts, and a saved page keeps it): one <circle> a plan, disk space on a
// logarithmic x axis with unlimited at its right edge, the monthly price on
// the y axis. Unbeaten plans carry class="unbeaten" and are drawn larger, in
// another colour, over the rest; every circle has a <title> with the plan's
// name and its provider's address, which the engine shows as a tooltip. The
// legend uses squares, so the chart holds no other <circle>.

#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "router/core/PlanCells.h"

namespace zorbinta {

// plans: the plan rows to draw; unbeaten: those of them to mark.
std::string planChart(const Catalogue& catalogue, const ProviderAddresses& addresses,
                      const std::vector<int>& plans, const std::vector<int>& unbeaten);

}  // namespace zorbinta
