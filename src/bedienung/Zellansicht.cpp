#include "bedienung/Zellansicht.h"

#include "position/PlanDatei.h"

ZellBild Zellansicht(const CPlanZellen &plan, const CFahr &fahr, std::optional<int> route, QPoint p)
{
    if (route && FahrstrasseGibtEs(*route)) {
        const int k = fahr.Suche(*route, p.x(), p.y());
        const int slot = plan.FindeSlot(p.x(), p.y());
        if (k > 0 && slot > 0)
            return {p, plan.Positionen[slot].Element, fahr.Route(*route)[k].Code};
    }
    for (int i = plan.PosAnzahl; i >= 1; --i) {
        const C_Position &zelle = plan.Positionen[i];
        if (zelle.X == p.x() && zelle.Y == p.y() && !IstLoch(zelle))
            return {p, zelle.Element, LadeZustand(zelle)};
    }
    return {p, 0, 0};
}
