#include "srcpproto/OffeneBefehle.h"

void OffeneBefehle::Gesendet(const QByteArray &daten, Auswertung auswertung)
{
    const QList<QByteArray> zeilen = daten.split('\n');
    // The text after the last LF is no line of its own.
    for (qsizetype i = 0; i + 1 < zeilen.size(); ++i) {
        QByteArray befehl = zeilen[i];
        if (befehl.endsWith('\r'))
            befehl.chop(1);
        Warteschlange.push_back({befehl, auswertung});
    }
    while (qsizetype(Warteschlange.size()) > Hoechstzahl)
        Warteschlange.pop_front();
}

bool OffeneBefehle::Beantwortet(const Antwort &antwort)
{
    if (Warteschlange.empty())
        return true;
    // Taken off first: the evaluation may send further commands.
    const Eintrag eintrag = std::move(Warteschlange.front());
    Warteschlange.pop_front();
    return !eintrag.Auswerten || eintrag.Auswerten(eintrag.Befehl, antwort);
}

void OffeneBefehle::Leeren()
{
    Warteschlange.clear();
}

qsizetype OffeneBefehle::Anzahl() const
{
    return qsizetype(Warteschlange.size());
}
