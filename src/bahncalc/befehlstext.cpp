#include "bahncalc/befehlstext.h"

void ZahlMitBlank(QByteArray &text, int zahl)
{
    text += QByteArray::number(zahl);
    text += ' ';
}

QByteArray BusKopf(const char *verb, int bus, const char *gruppe)
{
    QByteArray text(verb);
    text += ' ';
    ZahlMitBlank(text, bus);
    text += gruppe;
    text += ' ';
    return text;
}
