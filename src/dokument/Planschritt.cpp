#include "dokument/Planschritt.h"

#include <map>
#include <utility>

namespace {

// The fields of `nach` that differ from `von` go into ziel.
void Uebertragen(C_Position &ziel, const C_Position &von, const C_Position &nach)
{
    for (int C_Position::*feld : {&C_Position::Nummer, &C_Position::Element, &C_Position::X, &C_Position::Y,
                                  &C_Position::Zustand, &C_Position::Dekoder1, &C_Position::Dekoder2,
                                  &C_Position::Dekoder3, &C_Position::Adresse1, &C_Position::Adresse2,
                                  &C_Position::Adresse3, &C_Position::Fahrstrasse})
        if (von.*feld != nach.*feld)
            ziel.*feld = nach.*feld;
    if (von.Protokoll != nach.Protokoll)
        ziel.Protokoll = nach.Protokoll;
}

void Merken(QList<QPoint> &punkte, QPoint p)
{
    if (!punkte.contains(p))
        punkte.append(p);
}

// The picture of a cell depends on its element, place and position.
bool BildGleich(const C_Position &a, const C_Position &b)
{
    return a.Element == b.Element && a.X == b.X && a.Y == b.Y && a.Zustand == b.Zustand && IstLoch(a) == IstLoch(b);
}

std::map<std::pair<int, int>, int> Codes(const Fahrstrasse &route)
{
    std::map<std::pair<int, int>, int> codes;
    for (int k = 1; k <= route[0].X && k <= EintraegeJeFahrstrasse; ++k)
        codes.emplace(std::pair {route[k].X, route[k].Y}, route[k].Code);
    return codes;
}

// The cells a step shows anew: those of records whose picture changed, in
// the plan before or after, and those whose route entry changed.
QList<QPoint> Betroffen(const Planaenderung &a)
{
    QList<QPoint> punkte;
    for (const Zellaenderung &z : a.Zellen) {
        if (BildGleich(z.Vorher, z.Nachher))
            continue;
        if (z.Slot <= a.AnzahlVorher && !IstLoch(z.Vorher))
            Merken(punkte, {z.Vorher.X, z.Vorher.Y});
        if (z.Slot <= a.AnzahlNachher && !IstLoch(z.Nachher))
            Merken(punkte, {z.Nachher.X, z.Nachher.Y});
    }
    for (const Routenaenderung &r : a.Routen) {
        const auto vorher = Codes(r.Vorher), nachher = Codes(r.Nachher);
        for (const auto &[eine, andere] : {std::pair {&vorher, &nachher}, std::pair {&nachher, &vorher}})
            for (const auto &[punkt, code] : *eine) {
                const auto gegen = andere->find(punkt);
                if (gegen == andere->end() || gegen->second != code)
                    Merken(punkte, {punkt.first, punkt.second});
            }
    }
    return punkte;
}

} // namespace

Planschritt::Planschritt(CPlanZellen &zellen, FahrTabelle &routen, Planaenderung aenderung, const QString &name,
                         QList<QPoint> &gezeigt)
    : QUndoCommand(name)
    , Zellen(zellen)
    , Routen(routen)
    , Aenderung(std::move(aenderung))
    , Punkte(Betroffen(Aenderung))
    , Gezeigt(gezeigt)
{
}

void Planschritt::undo()
{
    Anwenden(true);
}

void Planschritt::redo()
{
    if (!std::exchange(Gemacht, false))
        Anwenden(false);
}

void Planschritt::Anwenden(bool rueckwaerts)
{
    for (const Zellaenderung &z : Aenderung.Zellen) {
        const C_Position &von = rueckwaerts ? z.Nachher : z.Vorher;
        const C_Position &nach = rueckwaerts ? z.Vorher : z.Nachher;
        C_Position &ziel = Zellen.Positionen[z.Slot];
        if (z.Slot > Aenderung.AnzahlVorher)
            ziel = nach;
        else
            Uebertragen(ziel, von, nach);
    }
    Zellen.PosAnzahl = rueckwaerts ? Aenderung.AnzahlVorher : Aenderung.AnzahlNachher;
    for (const Routenaenderung &r : Aenderung.Routen)
        Routen[r.Route] = rueckwaerts ? r.Vorher : r.Nachher;
    for (const QPoint &p : Punkte)
        Merken(Gezeigt, p);
}
