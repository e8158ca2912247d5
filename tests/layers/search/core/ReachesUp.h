// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Wrong: written with angle brackets, still a subsystem above.
#include <shell/core/Application.h>
