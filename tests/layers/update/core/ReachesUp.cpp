// SPDX-License-Identifier: GPL-3.0-or-later
// Wrong: the core is below the signature check.
#include "update/minisign/Minisign.h"
