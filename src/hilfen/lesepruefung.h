#pragma once

#include <QString>

class TextLeser;

// Checks around TextLeser for the files that the program writes back whole
// (plans and routes): such a file is taken only when it was read
// completely, since the next save would drop whatever was left unread.

// Raises VelmoFehler "E/A-Fehler: Verzeichnis statt Datei (<path>)" when
// path names a directory.
void KeinVerzeichnis(const QString &path);

// After the last record: a further number there is the start of a record
// the file's counts leave out, and raises VelmoFehler with `grund` and its
// line. Blanks, empty lines and text that is no number may follow.
void NichtsDanach(TextLeser &datei, const QString &grund);
