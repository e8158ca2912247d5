#pragma once
// Wrong: nothing in a subsystem includes from the tests.
#include "tests/FakePlatform.h"
