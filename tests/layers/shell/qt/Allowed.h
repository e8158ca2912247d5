// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Right: the views of the shell use every subsystem's.
#include <QWidget>

#include "about/qt/TForm2.h"
#include "update/minisign/Minisign.h"
