// SPDX-License-Identifier: GPL-3.0-or-later
// One benchmark program for every bench/*.cpp; scripts/bench runs it.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
