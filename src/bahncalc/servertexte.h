#pragma once

#include "bahncalc/antworten.h"

#include <QByteArray>
#include <QString>

// What the server says, told to the operator in German.

// The German meaning of an SRCP 0.8 error code ("412" → "falscher Wert");
// empty for a code without a known meaning.
QString SrcpFehlertext(int code);

// A refused command as the status bar shows it:
// "Server lehnt ab: SET 7 POWER ON – 412 falscher Wert". A code without a
// German meaning keeps the server's own words.
QString Ablehnungstext(const QByteArray &befehl, const Antwort &antwort);

// The line is a server's greeting ("srcpd V2.1.3; SRCP 0.8.4; SRCPOTHER
// 0.8.3"): it names an SRCP version and is no reply line.
bool IstGruss(const QByteArray &line);

// The greeting names only SRCP versions other than the chosen one (code 70
// for SRCP 0.73, any other for SRCP 0.80): the hint that says so and where
// the version is set; empty when the greeting offers the chosen version or
// names none.
QString VersionsHinweis(const QByteArray &gruss, int srcpVersion);
