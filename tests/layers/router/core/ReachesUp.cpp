// SPDX-License-Identifier: GPL-3.0-or-later
// Wrong: the core reaches into the views.
#include "pages/qt/QtBrowserPane.h"
