#include "bedienung/Schalten.h"

#include "elemente/Elementrollen.h"

#include <algorithm>

namespace {

struct Uebergang
{
    int Neu;
    int Zeile;
    bool Vorab = false; // row 1 is pulsed first
};

// The transition table: new position and the row that sets it.
Uebergang Weiterschalten(int positionen, int zustand)
{
    switch (positionen) {
    case 1:
        return {2, 1};
    case 2:
        if (zustand == 1)
            return {2, 2};
        if (zustand == 2)
            return {1, 1};
        break;
    case 3:
        if (zustand == 1)
            return {2, 2};
        if (zustand == 2)
            return {3, 3, true};
        if (zustand == 3)
            return {1, 1};
        break;
    }
    return {zustand, 0};
}

} // namespace

std::optional<Betriebsdruck> BetriebDruecken(const CPlanZellen &plan, const ElementTabelle &katalog, QPoint p)
{
    const int element = plan.FindeElement(p.x(), p.y());
    if (element < 1 || element > ElementAnzahl || IstRueckmeldekontakt(element))
        return std::nullopt;
    const int slot = plan.FindeSlot(p.x(), p.y());
    const C_Position &zelle = plan.Positionen[slot];
    if (IstFahrstrassentaste(element))
        return Betriebsdruck {zelle.Fahrstrasse, {}};

    const Uebergang schritt = Weiterschalten(katalog[element].Zustaende, zelle.Zustand);
    Schaltschritte s;
    s.Slot = slot;
    s.Element = element;
    s.Protokoll = zelle.Protokoll;
    if (schritt.Vorab)
        s.Vorab = DekoderZeileVon(zelle, 1);
    s.Zeile = DekoderZeileVon(zelle, schritt.Zeile);
    s.Fremd = schritt.Zeile == 0;
    s.NeuerZustand = schritt.Neu;
    s.Momentan = IstMomentan(element);
    s.Endzustand = s.Momentan ? 1 : schritt.Neu;
    return Betriebsdruck {std::nullopt, s};
}

QList<Zubehoerausgang> Schaltschritte::Ausgaenge() const
{
    QList<Zubehoerausgang> liste;
    if (Vorab)
        liste.append({Protokoll, Vorab->Dekoder, Vorab->Adresse});
    liste.append({Protokoll, Zeile.Dekoder, Zeile.Adresse});
    return liste;
}

QString NichtsGesendet(const QList<Zubehoerausgang> &ausgaenge, bool verbunden)
{
    const bool schaltbar = std::any_of(ausgaenge.begin(), ausgaenge.end(), [](const Zubehoerausgang &a) {
        return ZubehoerSchaltbar(a.Dekoder, a.Ausgang);
    });
    if (!schaltbar)
        return QStringLiteral("Kein Dekoder: nichts gesendet");
    return verbunden ? QString() : QStringLiteral("Nicht verbunden: nichts gesendet");
}

QString NichtsGesendet(const Schaltschritte &s, int zustand, bool verbunden)
{
    if (s.Fremd)
        return QStringLiteral("Stellung %1 gibt es nicht: nichts gesendet").arg(zustand);
    return NichtsGesendet(s.Ausgaenge(), verbunden);
}
