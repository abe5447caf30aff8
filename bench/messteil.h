#pragma once

// The measured part of a benchmark run under callgrind: bench/run counts
// only the instructions inside Messteil (valgrind --tool=callgrind
// --collect-atstart=no --toggle-collect='Messteil*'), so that the start of
// the program and what it prepares do not count.
#include <functional>

// Runs `teil` and returns its wall time in milliseconds.
double Messteil(const std::function<void()> &teil);
