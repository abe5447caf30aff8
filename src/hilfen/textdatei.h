#pragma once

#include <QByteArray>
#include <QString>

// Reads the program's data files: one value per line, LF line ends.
// An integer is read after skipping blanks and empty lines, and the rest of
// its line is discarded; a text is the whole next line without its line end.
class TextLeser
{
public:
    // Reads the whole file; raises VelmoFehler when it cannot be opened.
    explicit TextLeser(const QString &path);

    // Raises VelmoFehler when the next value is not a decimal integer or the
    // file has ended.
    int LiesZahl();
    QByteArray LiesText();

private:
    QString Pfad;
    QByteArray Inhalt;
    qsizetype Pos = 0;
};

// Writes the program's data files through a temporary file in the same
// directory that replaces the old file only when everything was written.
class TextSchreiber
{
public:
    explicit TextSchreiber(const QString &path);
    void Zahl(int value);
    void Text(const QByteArray &text);
    // Renames the finished file over the old one; raises VelmoFehler on any
    // failure, leaving the previous file untouched.
    void Fertig();

private:
    QString Pfad;
    QByteArray Inhalt;
};
