#pragma once

#include <QString>

// The settings that the 164-line settings file has no place for, kept in a
// small INI file beside it, Data/velmo.ini, so parmc.dat keeps its format.
struct Seiteneinstellungen
{
    // After the server dropped the command connection, connect again by itself.
    bool AutomatischNeuVerbinden = true;
};

// Reads the file into `e`. A missing file gives the defaults; a file that
// cannot be read or holds a value that is no value of its key gives the
// defaults for what is wrong and returns the message that says so (empty
// when all is well). The file itself is not touched.
QString LiesSeitendatei(const QString &path, Seiteneinstellungen &e);
// Writes the whole file anew through a temporary file; raises VelmoFehler
// naming the file when it cannot be written, leaving the old file as it was.
void SchreibeSeitendatei(const QString &path, const Seiteneinstellungen &e);
