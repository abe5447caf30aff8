#pragma once

#include "position/C_Position.h"

#include <QString>
#include <optional>

// The plan file (".pln"): a count line, then 13 lines per slot: Nummer,
// Element, X, Y, Zustand, Dekoder1 to Dekoder3, Adresse1 to Adresse3,
// Fahrstrasse and the Protokoll text. Integers are decimal, LF line ends.

// Reads the whole file and returns it as a new table; nothing of a plan in
// use is touched. A file that cannot be opened or is a directory, whose
// count lies outside 0 to 10000, that holds an integer line that is no
// number, that ends before its last record or holds more records than its
// count raises VelmoFehler naming the file and the line. Nummer is taken
// from the file unchanged; no look-up uses it as an index.
CPlanZellen LiesPlanDatei(const QString &path);

// Writes slots 1 to PosAnzahl through the atomic writer: a failed write
// raises VelmoFehler with the path and leaves the previous file intact.
void SchreibePlanDatei(const QString &path, const CPlanZellen &plan);

// The position a loaded cell is drawn in: its Zustand, or 1 below 1.
int LadeZustand(const C_Position &p);

// The decoder row a loaded cell sends to set its stored position on the
// layout: the row of that position when its output is above 0. Uncouplers
// and feedback contacts never send while loading, nor does a position
// outside 1 to 3.
std::optional<DekoderZeile> LadeSchaltung(const C_Position &p);
