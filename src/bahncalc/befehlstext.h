#pragma once

#include <QByteArray>

// Building blocks shared by the command texts. Every number in a command is
// decimal without padding, "-" for negative values.

// Appends the number followed by one blank.
void ZahlMitBlank(QByteArray &text, int zahl);

// The start of an SRCP 0.8 command that addresses a bus:
// verb, blank, bus, blank, device group, blank; e.g. "SET 1 GL ".
QByteArray BusKopf(const char *verb, int bus, const char *gruppe);
