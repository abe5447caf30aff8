#pragma once

#include "elemente/C_Element.h"
#include "position/C_Position.h"

#include <QPoint>
#include <optional>

// A left press on a cell in operating mode: which decoder rows to pulse,
// which positions to draw, and the position the cell keeps. The window
// carries the steps out in this order:
//   1. with Vorab: draw position 1, pulse row Vorab;
//   2. pulse row Zeile (row 0 pulses nothing);
//   3. draw NeuerZustand;
//   4. for a momentary element: draw position 1;
//   5. the cell's Zustand := Endzustand.
struct Schaltschritte
{
    int Slot = 0;     // the first record at the point
    int Element = 0;
    QByteArray Protokoll;
    std::optional<DekoderZeile> Vorab;
    DekoderZeile Zeile;
    int NeuerZustand = 0;
    bool Momentan = false;
    int Endzustand = 0;
};

// What a left press at plan point p does:
// - nothing (std::nullopt) on an empty cell and on a feedback contact,
//   whose decoder row names a feedback module and contact, not an output;
// - a route button (66, 88) gives Fahrstrassentaste with its route number;
// - any other element steps by its number of positions N and its position
//   S: N = 1 goes to 2 with row 1; N = 2 goes 1 -> 2 (row 2) and 2 -> 1
//   (row 1); N = 3 goes 1 -> 2 (row 2), 2 -> 3 (row 1 first, then row 3)
//   and 3 -> 1 (row 1); any other N or S keeps S and pulses nothing.
struct Betriebsdruck
{
    std::optional<int> Fahrstrassentaste;
    Schaltschritte Schalten;
};
std::optional<Betriebsdruck> BetriebDruecken(const CPlanZellen &plan, const ElementTabelle &katalog, QPoint p);
