// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Back and Forward through the history: each returns the location to
// navigate to and sets its pending flag, so that the router does not record
// that navigation when it completes.

#include <string>

#include "catalogue/core/History.h"

namespace zorbinta {

// Call only while history.canGoBack().
std::string historyBack(History& history);
// Call only while history.canGoForward().
std::string historyForward(History& history);

}  // namespace zorbinta
