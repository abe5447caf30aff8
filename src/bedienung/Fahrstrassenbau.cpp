#include "bedienung/Fahrstrassenbau.h"

#include "elemente/Elementrollen.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int CodeBasis = 10;

int EigeneStellung(const C_Position &zelle)
{
    return zelle.Zustand < 1 || zelle.Zustand > 3 ? 1 : zelle.Zustand;
}

// The next code of a listed cell with that many positions.
int NaechsterCode(int code, int positionen)
{
    if (positionen <= 1)
        return code;
    ++code;
    return positionen < code - CodeBasis ? CodeBasis + 1 : code;
}

} // namespace

Fahrstrassenschritt FahrstrasseLinks(CFahr &fahr, const CPlanZellen &plan, const ElementTabelle &katalog, int r,
                                     QPoint p)
{
    const int element = plan.FindeElement(p.x(), p.y());
    if (element < 1 || element > ElementAnzahl)
        return {};
    const C_Position &zelle = plan.Positionen[plan.FindeSlot(p.x(), p.y())];
    Fahrstrasse &route = fahr.Route(r);
    const int k = fahr.Suche(r, p.x(), p.y());
    int nummer = k;
    int code = 0;
    bool geaendert = true;
    if (k == 0) {
        nummer = fahr.Anzahl(r) + 1;
        if (nummer > EintraegeJeFahrstrasse)
            return {std::nullopt, std::nullopt, true};
        code = CodeBasis + EigeneStellung(zelle);
        route[nummer] = {p.x(), p.y(), code};
        fahr.SetzeAnzahl(r, nummer);
    } else {
        code = NaechsterCode(route[k].Code, katalog[element].Zustaende);
        geaendert = code != route[k].Code;
        route[k].Code = code;
    }
    return {ZellBild {p, element, code}, nummer, false, geaendert};
}

Fahrstrassenschritt FahrstrasseRechts(CFahr &fahr, const CPlanZellen &plan, int r, QPoint p)
{
    Fahrstrassenschritt schritt;
    schritt.Nummer = 0;
    const int element = plan.FindeElement(p.x(), p.y());
    if (element >= 1)
        schritt.Zeichnen = ZellBild {p, element, plan.Positionen[plan.FindeSlot(p.x(), p.y())].Zustand};
    schritt.Geaendert = fahr.Suche(r, p.x(), p.y()) > 0;
    if (schritt.Geaendert)
        fahr.Entferne(r, p.x(), p.y());
    return schritt;
}

bool FahrstrassentasteVerbinden(CPlanZellen &plan, int r, QPoint p)
{
    const int slot = plan.FindeSlot(p.x(), p.y());
    if (slot < 1 || !IstFahrstrassentaste(plan.Positionen[slot].Element))
        return false;
    plan.Positionen[slot].Fahrstrasse = r;
    return true;
}

QList<ZellBild> FahrstrassenBilder(const CFahr &fahr, const CPlanZellen &plan, int r, bool markiert)
{
    QList<ZellBild> bilder;
    const Fahrstrasse &route = fahr.Route(r);
    for (int k = 1; k <= fahr.Anzahl(r); ++k) {
        const int slot = plan.FindeSlot(route[k].X, route[k].Y);
        if (slot < 1)
            continue;
        const C_Position &zelle = plan.Positionen[slot];
        bilder.append({{route[k].X, route[k].Y}, zelle.Element, markiert ? route[k].Code : zelle.Zustand});
    }
    return bilder;
}

Fahrstrassenstellung FahrstrasseStellen(const CFahr &fahr, CPlanZellen &plan, int r)
{
    Fahrstrassenstellung stellung;
    const Fahrstrasse &route = fahr.Route(r);
    for (int k = 1; k <= fahr.Anzahl(r); ++k) {
        const int slot = plan.FindeSlot(route[k].X, route[k].Y);
        if (slot < 1 || IstRueckmeldekontakt(plan.Positionen[slot].Element))
            continue;
        C_Position &zelle = plan.Positionen[slot];
        const int stellungNeu = route[k].Code - CodeBasis;
        if (std::exchange(zelle.Zustand, stellungNeu) != stellungNeu)
            stellung.Geaendert = true;
        stellung.Zeichnen.append({{route[k].X, route[k].Y}, zelle.Element, route[k].Code});
        const DekoderZeile zeile = DekoderZeileVon(zelle, stellungNeu);
        if (zeile.Dekoder > 0)
            stellung.Schalten.append({zelle.Protokoll, zeile.Dekoder, zeile.Adresse});
    }
    return stellung;
}

namespace {
int Begrenzt(int r)
{
    return std::clamp(r, ErsteFahrstrasse, LetzteFahrstrasse);
}
} // namespace

Fahrstrasseneditor::Fahrstrasseneditor(CFahr &fahr)
    : Fahr(fahr)
{
}

int Fahrstrasseneditor::Beginnen(int r)
{
    const int route = FahrstrasseGibtEs(r) ? r : ErsteFahrstrasse;
    Stand = Fahr.Route(route);
    Loeschen = route;
    VerbindenWartet = false;
    return route;
}

int Fahrstrasseneditor::Wechseln(int r, int schritt)
{
    const int route = Begrenzt(r + schritt);
    Stand = Fahr.Route(route);
    return route;
}

void Fahrstrasseneditor::Zuruecknehmen(int r)
{
    Fahr.Route(r) = Stand;
}

int Fahrstrasseneditor::LoeschWechseln(int schritt)
{
    Loeschen = Begrenzt(Loeschen + schritt);
    return Loeschen;
}
