#pragma once

#include <QString>

// Writes Elemente1.dat: for every element 12 lines (number, name, palette
// position, number of states, 0, the three icon names, the three state
// names), LF line ends, names in UTF-8. Returns false when the file cannot
// be written.
bool writeCatalogFile(const QString &path);
