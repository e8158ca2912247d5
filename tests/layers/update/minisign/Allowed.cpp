// SPDX-License-Identifier: GPL-3.0-or-later
// Right: the signature check builds on its own core.
#include "update/core/SignatureCheck.h"
