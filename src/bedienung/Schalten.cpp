#include "bedienung/Schalten.h"

#include "elemente/Elementrollen.h"

namespace {

struct Uebergang
{
    int Neu;
    int Zeile;
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
            return {3, 3};
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
    const int slot = plan.FindePosition(p.x(), p.y());
    const C_Position &zelle = plan.Positionen[slot];
    if (IstFahrstrassentaste(element))
        return Betriebsdruck {zelle.Fahrstrasse, {}};

    const Uebergang schritt = Weiterschalten(katalog[element].Zustaende, zelle.Zustand);
    Schaltschritte s;
    s.Slot = slot;
    s.Element = element;
    s.Protokoll = zelle.Protokoll;
    if (schritt.Neu == 3)
        s.Vorab = DekoderZeileVon(zelle, 1);
    s.Zeile = DekoderZeileVon(zelle, schritt.Zeile);
    s.NeuerZustand = schritt.Neu;
    s.Momentan = IstMomentan(element);
    s.Endzustand = s.Momentan ? 1 : schritt.Neu;
    return Betriebsdruck {std::nullopt, s};
}
