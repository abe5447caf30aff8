#pragma once

// The number of a field of /proc/self/status: "VmRSS" (resident memory in
// kB), "Threads"; -1 when the field is missing.
long Prozesswert(const char *feld);
