#pragma once

#include "fahrunit/CFahr.h"

#include <QString>

// The route file "<plan>.fst" beside a plan file: for routes 0 to 63 in
// order, the entry count on one line followed by each listed entry as three
// lines X, Y, Code. Integers are decimal, LF line ends.

// "<dir>/<name>.fst" for the plan file "<dir>/<name>.pln".
QString FahrstrassenPfad(const QString &planPfad);

// Reads the whole file and returns it as a new table. A directory, a count
// outside 0 to 63, a code other than 11 to 13, a value that is no number, a
// file that ends early or one with a further number after route 63 raises
// VelmoFehler naming the file and the line.
FahrTabelle LiesFahrstrassenDatei(const QString &path);

// Writes through the atomic writer: a failed write raises VelmoFehler with
// the path and leaves the previous file intact.
void SchreibeFahrstrassenDatei(const QString &path, const FahrTabelle &tabelle);
