// SPDX-License-Identifier: GPL-3.0-or-later
// Right: pages build on search and the catalogue.
#include <string>

#include "catalogue/core/Catalogue.h"
#include "search/core/SearchCriteria.h"
