#include "position/C_Position.h"

#include <algorithm>

int Raster(int v)
{
    return (v / RasterGroesse) * RasterGroesse;
}

bool Zellenfeld::operator==(const Zellenfeld &andere) const
{
    const int n = int(std::max(Slots.size(), andere.Slots.size()));
    for (int i = 0; i < n; ++i)
        if ((*this)[i] != andere[i])
            return false;
    return true;
}

bool CPlanZellen::NeuePosition(int x, int y, int element)
{
    if (PosAnzahl >= MaxPositionen)
        return false;
    const int n = ++PosAnzahl;
    C_Position &p = Positionen[n];
    p = C_Position();
    p.Nummer = n;
    p.Element = element;
    p.X = x;
    p.Y = y;
    p.Zustand = 1;
    return true;
}

int CPlanZellen::FindeSlot(int x, int y) const
{
    for (int i = 1; i <= PosAnzahl; ++i) {
        const C_Position &p = Positionen[i];
        if (p.X == x && p.Y == y && !IstLoch(p))
            return i;
    }
    return 0;
}

int CPlanZellen::FindePosition(int x, int y) const
{
    const int i = FindeSlot(x, y);
    return i ? Positionen[i].Nummer : 0;
}

int CPlanZellen::FindeElement(int x, int y) const
{
    const int i = FindeSlot(x, y);
    return i ? Positionen[i].Element : 0;
}

void CPlanZellen::LoeschePosition(int i)
{
    if (i >= 1 && i <= MaxPositionen)
        Positionen[i] = C_Position();
}

DekoderZeile DekoderZeileVon(const C_Position &p, int r)
{
    switch (r) {
    case 1: return {p.Dekoder1, p.Adresse1};
    case 2: return {p.Dekoder2, p.Adresse2};
    case 3: return {p.Dekoder3, p.Adresse3};
    default: return {};
    }
}
