#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Taking apart the lines the server sends.

// An SRCP 0.8 reply line: "<time> <code> <word> ...", e.g.
// "1796762107.243 200 OK GO 1". <time> is digits with an optional "." and
// more digits, <code> exactly three digits, fields separated by one blank.
// Blanks and line-end characters around the line are ignored.
struct Antwort
{
    bool Gueltig = false;      // the line has the reply form
    int Code = 0;              // the three-digit code
    QByteArray Wort;           // "OK", "ERROR", "INFO", ...
    QByteArray Text;           // the line from the code on: "412 ERROR wrong value"
    QList<QByteArray> Felder;  // the fields after the code, split at each blank
    QByteArray SessionIdText;  // for "OK GO": the rest of the line after "GO "
    bool IstGo = false;        // the reply is "OK GO ..."

    // The server did what the command asked (codes 200 to 299).
    bool Erfolg() const { return Code >= 200 && Code < 300; }
    // The server refused the command (codes 400 and above).
    bool Fehler() const { return Code >= 400; }
};
Antwort ZerlegeAntwort(const QByteArray &line);

// Feedback lines on the poll connection: "INFO FB S88 <n> <value>" for one
// contact, "INFO FB S88 * <digits>" for all contacts.
enum class RueckArt { Keine, Einzel, Alle };

// Keine unless the first 11 characters are exactly "INFO FB S88"; then Alle
// when the 13th character is "*", else Einzel. The 12th is not examined.
RueckArt RueckmeldungsArt(const QString &line);

struct KontaktWert
{
    int Kontakt; // contact number as sent, counted from 1 across all modules
    int Wert;
    int Bus = 0; // the SRCP 0.8 bus of the report; 0 under SRCP 0.7.3
};

// The SRCP 0.8 report of a feedback contact on an info session:
// "<time> 100 INFO <bus> FB <contact> <value>", also with code 101, exactly
// these seven fields, bus, contact and value decimal integers. The contact
// counts from 1 across all modules, as on the SRCP 0.7.3 poll connection.
// Any other line gives nothing.
std::optional<KontaktWert> Srcp08Rueckmeldung(const QByteArray &line);

// A single-contact line: drops the first 12 characters, trims blanks and
// control characters, and splits at the first blank into contact number and
// value. Both must be decimal integers, else VelmoFehler is thrown.
KontaktWert ZerlegeRueckmeldung(const QString &line);

// An all-contacts line: drops the first 14 characters and trims; character b
// (counted from 1) gives contact b when it is "0" or "1". Other characters
// are skipped but still take up their contact number.
QList<KontaktWert> ZerlegeRueckmeldungAlle(const QString &line);

// Position of a contact on the S88 modules (16 contacts each, both counted
// from 1): contact n is on module n/16 + 1 at place n%16, except that a
// multiple of 16 is the sixteenth place of module n/16. n <= 0 gives {0, 0},
// which no plan cell carries.
struct ModulKontakt
{
    int Modul;
    int Kontakt;
};
ModulKontakt KontaktAdresse(int n);
// The contact number n that KontaktAdresse places at (modul, kontakt):
// 16 * (modul - 1) + kontakt; 0 for a place no contact has (module below 1,
// contact outside 1 to 16).
int KontaktNummer(int modul, int kontakt);
