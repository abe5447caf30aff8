#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the program. A handler that meets an error throws it;
// the guard around every handler shows its text in a critical message box and
// the program runs on.
class VelmoFehler : public std::runtime_error
{
public:
    explicit VelmoFehler(const QString &text)
        : std::runtime_error(text.toStdString()), Text(text) {}
    QString Text;
};

// An optional sign followed by one or more decimal digits, of any length.
bool IstGanzzahlText(const QString &text);

// Strict decimal conversion of a typed number: optional sign, digits, nothing
// else, within 32 bits. Anything else raises
// "'<text>' ist kein gültiger Integerwert".
int StrToInt(const QString &text);

// A write past a file-size limit raises SIGXFSZ, which ends the process
// with every unsaved change. Every writer calls this first: the signal is
// ignored from then on, so the write fails with EFBIG and is reported like
// a full disk.
void GroessengrenzeAlsFehler();
