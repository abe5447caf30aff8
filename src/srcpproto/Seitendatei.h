#pragma once

#include "lokunit/cLocoInfo.h"

#include <QString>

// The settings that the 164-line settings file has no place for, kept in a
// small INI file beside it, Data/velmo.ini, so parmc.dat keeps its format.
// Besides these, the file keeps the speed steps (Fahrstufen) of every
// locomotive kept between runs, as [Lok1] to [Lok10] Fahrstufen=<n>.
struct Seiteneinstellungen
{
    // After the server dropped the command connection, connect again by itself.
    bool AutomatischNeuVerbinden = true;
    // The zoom of the plan view in percent: 100, 200 or 300.
    int Zoom = 100;
    // The grid over the plan in design mode.
    bool Gitter = false;
};

// Reads the file into `e` and the speed steps of records 0 to 9 of `loks`.
// A missing file or key gives the default (the speed steps 0); a file that
// cannot be read or holds a value that is no value of its key gives the
// defaults for what is wrong and returns the message that says so (empty
// when all is well). The file itself is not touched.
QString LiesSeitendatei(const QString &path, Seiteneinstellungen &e, LokTabelle &loks);
// Writes the whole file anew through a temporary file; raises VelmoFehler
// naming the file when it cannot be written, leaving the old file as it was.
void SchreibeSeitendatei(const QString &path, const Seiteneinstellungen &e, const LokTabelle &loks);
