#pragma once

#include "bahncalc/zubehoer.h"
#include "elemente/C_Element.h"
#include "fahrunit/CFahr.h"
#include "position/C_Position.h"

#include <QList>
#include <QPoint>
#include <optional>

// Route editing and setting a route on the layout. The rules change the
// route table (and, when a route is set, the cells' positions) and say what
// the window must draw, show and send; they draw and send nothing.

// A cell to draw: its plan point, element and the position (1 to 3) or
// route code (11 to 13) to draw it in.
struct ZellBild
{
    QPoint Plan;
    int Element = 0;
    int Wert = 0;
    bool operator==(const ZellBild &) const = default;
};

// After a press in route-editing mode on route r.
struct Fahrstrassenschritt
{
    std::optional<ZellBild> Zeichnen;
    // The number for LabelFahrerst4 (the entry's index, the new count, or 0
    // after a removal); no value: the labels stay as they are.
    std::optional<int> Nummer;
    // The route already has 63 entries: the cell was not added.
    bool Voll = false;
    // The route table changed.
    bool Geaendert = false;
};

// Left press: an empty cell changes nothing. A cell not in route r is
// appended with code 10 + its position (a position outside 1 to 3 counts
// as 1) and drawn route-marked; a listed cell steps its code (11, 12 for two
// positions; 11, 12, 13 for three; one position keeps its code).
Fahrstrassenschritt FahrstrasseLinks(CFahr &fahr, const CPlanZellen &plan, const ElementTabelle &katalog, int r,
                                     QPoint p);
// Right press: the cell is drawn in its own position again (nothing for an
// empty cell) and taken out of route r if it is listed.
Fahrstrassenschritt FahrstrasseRechts(CFahr &fahr, const CPlanZellen &plan, int r, QPoint p);

// A left press while "verbinden" waits: binds a route button (66, 88) at p
// to route r. False, and nothing changed, for any other cell.
bool FahrstrassentasteVerbinden(CPlanZellen &plan, int r, QPoint p);

// The cells of route r that still hold an element, in entry order, each
// with its entry's code (markiert) or with its own position.
QList<ZellBild> FahrstrassenBilder(const CFahr &fahr, const CPlanZellen &plan, int r, bool markiert);

// Setting route r on the layout: every listed cell that holds an element
// (feedback contacts excepted) takes its entry's position; it is drawn
// route-marked, and its decoder row for that position is switched.
struct Fahrstrassenstellung
{
    QList<ZellBild> Zeichnen;
    QList<Zubehoerausgang> Schalten; // rows with a decoder, in entry order
    bool Geaendert = false;          // a cell's position changed
};
Fahrstrassenstellung FahrstrasseStellen(const CFahr &fahr, CPlanZellen &plan, int r);

// What route editing keeps beside the table: the entries of the route
// being edited as they were when editing began or the route number last
// changed (for "beenden/abbrechen"), whether "verbinden" waits for a route
// button, and the route chosen on the delete page.
class Fahrstrasseneditor
{
public:
    explicit Fahrstrasseneditor(CFahr &fahr);

    // Begins editing route r; a route outside 1 to 63 becomes 1. Returns
    // the route edited.
    int Beginnen(int r);
    // The route `schritt` away from r, within 1 to 63 (no wrap); its
    // entries are kept for cancelling.
    int Wechseln(int r, int schritt);
    // Route r takes the kept entries back.
    void Zuruecknehmen(int r);
    // The delete page's route, moved within 1 to 63.
    int LoeschWechseln(int schritt);
    int LoeschRoute() const { return Loeschen; }

    bool VerbindenWartet = false;

private:
    CFahr &Fahr;
    Fahrstrasse Stand {};
    int Loeschen = ErsteFahrstrasse;
};
