#pragma once

#include "bedienung/Arbeitsmodi.h"
#include "position/C_Position.h"

#include <QPoint>
#include <QSize>
#include <Qt>
#include <optional>

// Placing, dragging and deleting elements in design mode. The rules work on
// the mode state and the plan table and say which cells must be drawn; the
// window does the drawing, in the order of the fields below.

// The plan view: its scroll offsets and its size in pixels.
struct Sicht
{
    QPoint Scroll;
    QSize Groesse;
};

// A cell: its origin on the view and on the plan.
struct PlanZelle
{
    QPoint Sicht;
    QPoint Plan;
    bool operator==(const PlanZelle &) const = default;
};

// The cell under view point p. A point outside the view (a drag that left
// it) counts as the nearest point inside, so an element is never put where
// the view cannot show it.
PlanZelle ZelleUnter(QPoint p, const Sicht &sicht);

// What the window does after a press, move or release, in this order.
struct Entwurfsschritte
{
    std::optional<PlanZelle> Zuruecklegen; // the save-under picture back into this cell
    std::optional<PlanZelle> Unterlegen;   // this plan cell into the save-under picture
    std::optional<PlanZelle> Icon;         // the picked element's picture into this cell
    bool Voll = false;                     // the placement was refused: the plan is full
    bool Geaendert = false;                // the plan table changed
};

// A press: the left button with an element armed starts a placement (the
// cell is saved under and shows the picked element; no record yet); the
// right button paints the save-under picture into the cell and clears the
// first record there, armed or not.
Entwurfsschritte EntwurfDruecken(Arbeitsmodi &modi, CPlanZellen &plan, Qt::MouseButton button, QPoint p,
                                 const Sicht &sicht);

// A move in design mode with an element armed and the left button held
// alone (no other button, no Shift, Ctrl or Alt): the picked element moves
// to the cell under p.
Entwurfsschritte EntwurfZiehen(Arbeitsmodi &modi, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, QPoint p,
                               const Sicht &sicht);

// The left release in design mode with an element armed: the record is
// appended at the cell under p and the pick is used up. With 10000 records
// the placement is refused: the cell gets its old picture back and nothing
// else changes.
Entwurfsschritte EntwurfLoslassen(Arbeitsmodi &modi, CPlanZellen &plan, Qt::MouseButton button, QPoint p,
                                  const Sicht &sicht);
