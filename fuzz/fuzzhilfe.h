#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// Support shared by the fuzz targets.

// Path of a file in the scratch directory of this process, which is made
// below TMPDIR on first use and removed when the process ends, so an input
// costs no directory of its own.
QString FuzzPfad(const char *name);

// Writes the input bytes to the file "eingabe" of the scratch directory (the
// readers take paths) and returns its path.
QString FuzzDatei(const uint8_t *data, size_t size);

// Stops the process with a crash that the fuzzer records, naming the broken
// property, when `gilt` is false.
void Pruefe(bool gilt, const char *was);
