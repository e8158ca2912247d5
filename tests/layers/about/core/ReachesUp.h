// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Wrong: nothing in a subsystem includes from the tests.
#include "tests/FakePlatform.h"
