#pragma once

#include <QByteArray>
#include <QString>

#include <string>

// Reads the program's data files: one value per line, LF or CR LF line
// ends, a UTF-8 byte-order mark at the start skipped.
// An integer is read after skipping blanks and empty lines, and the rest of
// its line is discarded; a text is the whole next line without its line end,
// each control character in it read as a blank, as TextSchreiber writes it.
// Errors name the file and the line where reading failed.
class TextLeser
{
public:
    // Reads the whole file; raises VelmoFehler when it cannot be opened.
    explicit TextLeser(const QString &path);

    // Raises VelmoFehler when the next value is not a decimal integer or the
    // file has ended.
    int LiesZahl();
    // An empty text once the file has ended.
    QByteArray LiesText();
    // The same, but a file that has ended raises VelmoFehler: for files
    // whose every record must be complete.
    QByteArray LiesPflichtText();
    // Raises VelmoFehler "E/A-Fehler: <grund> in Zeile <n> (<path>)" for the
    // value read last, or for the line that could not be read.
    [[noreturn]] void Fehler(const QString &grund) const;

private:
    bool AmEnde() const;
    void ZeileBeenden(qsizetype ende);

    QString Pfad;
    QByteArray Inhalt;
    QByteArray LetzterText;
    qsizetype Pos = 0;
    int AktuelleZeile = 1;
    int WertZeile = 0;
};

// Writes the program's data files through a temporary file in the same
// directory that replaces the old file only when everything was written.
class TextSchreiber
{
public:
    explicit TextSchreiber(const QString &path);
    void Zahl(int value);
    // One line ended by LF, every control character of the text (a line
    // break, a CR, a tab) written as a blank: no text breaks the lines of
    // the file, whatever a field or a file gave it.
    void Text(const QByteArray &text);
    // Writes everything, makes sure it reached the disk and only then renames
    // the finished file over the old one. Any failure (a full disk, a
    // file-size limit, a missing or read-only directory) raises VelmoFehler
    // with the path and leaves the previous file untouched.
    void Fertig();

private:
    QString Pfad;
    // Collected in a plain string: appending to it costs less than to a
    // QByteArray, and a plan file has a hundred thousand lines.
    std::string Inhalt;
};

// Replaces the file at path by inhalt the way TextSchreiber::Fertig does.
void DateiErsetzen(const QString &path, const QByteArray &inhalt);
// Copies a file byte for byte, replacing ziel as DateiErsetzen does; a
// source that cannot be read raises VelmoFehler naming it.
void DateiKopieren(const QString &quelle, const QString &ziel);
