#pragma once

#include "bahncalc/zubehoer.h"
#include "elemente/C_Element.h"
#include "position/C_Position.h"

#include <QList>
#include <QPoint>
#include <QString>
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
    // The cell stands in a position its element does not have: it keeps
    // it and nothing is pulsed.
    bool Fremd = false;

    // The outputs the press pulses, in order (row 0 stands for none).
    QList<Zubehoerausgang> Ausgaenge() const;
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

// What the status bar says of a press or route that sends nothing, for the
// outputs it pulses and whether the command connection is open: "Kein
// Dekoder: nichts gesendet" when no output has a decoder, "Nicht verbunden:
// nichts gesendet" when the connection is closed; empty when it sends.
QString NichtsGesendet(const QList<Zubehoerausgang> &ausgaenge, bool verbunden);
// The same for a press on a cell in position `zustand`; a position its
// element does not have is named.
QString NichtsGesendet(const Schaltschritte &s, int zustand, bool verbunden);
