// SPDX-License-Identifier: GPL-3.0-or-later
// Wrong: a view of the search dialog reaches into the shell.
#include "shell/core/Platform.h"
