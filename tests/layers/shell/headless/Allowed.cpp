// SPDX-License-Identifier: GPL-3.0-or-later
// Right: the headless driver uses the HTTP client and the subsystems.
#include "update/qt/QtHttpClient.h"
#include "router/core/Router.h"
#include "Allowed.h"
