#pragma once
// Wrong: the catalogue builds on nothing.
#include "update/core/Settings.h"
