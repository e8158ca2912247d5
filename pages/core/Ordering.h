// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// OrderIndex[1..n] := rows 1..n of a table, by one slot. Numbers ascend,
// texts descend by their Windows-1251 bytes; equal keys keep row order.

#include "catalogue/core/Catalogue.h"

namespace zorbinta {

void OrderByNumber(Catalogue& catalogue, int table, int slot, int n);
void OrderByText(Catalogue& catalogue, int table, int slot, int n);

}  // namespace zorbinta
