#include "fahrunit/CFahr.h"

CFahr::CFahr(FahrTabelle &tabelle)
    : Tabelle(tabelle)
{
}

void CFahr::Leeren()
{
    Tabelle.fill(Fahrstrasse());
}

int CFahr::Anzahl(int r) const
{
    return Tabelle.at(r)[0].X;
}

void CFahr::SetzeAnzahl(int r, int n)
{
    Tabelle.at(r)[0].X = n;
}

int CFahr::Suche(int r, int x, int y) const
{
    const Fahrstrasse &route = Tabelle.at(r);
    for (int k = 1; k <= Anzahl(r); ++k)
        if (route[k].X == x && route[k].Y == y)
            return k;
    return 0;
}

void CFahr::Entferne(int r, int x, int y)
{
    Fahrstrasse &route = Tabelle.at(r);
    const int n = Anzahl(r);
    int k = 1;
    while (k <= n && !(route[k].X == x && route[k].Y == y))
        ++k;
    if (k > n)
        return;
    for (int j = k + 1; j <= n; ++j)
        route[j - 1] = route[j];
    route[n] = FahrEintrag();
    SetzeAnzahl(r, n - 1);
}

void CFahr::Loeschen(int r)
{
    Tabelle.at(r) = Fahrstrasse();
}
