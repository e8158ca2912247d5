// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Wrong: the catalogue builds on nothing.
#include "update/core/Settings.h"
