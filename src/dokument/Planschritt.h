#pragma once

#include "fahrunit/CFahr.h"
#include "position/C_Position.h"

#include <QList>
#include <QPoint>
#include <QUndoCommand>

// What one change of the plan did: the cell records and routes it touched,
// each as it was before and after, and the count of cells before and after
// (an append raises it by one).
struct Zellaenderung
{
    int Slot = 0;
    C_Position Vorher;
    C_Position Nachher;
};

struct Routenaenderung
{
    int Route = 0;
    Fahrstrasse Vorher {};
    Fahrstrasse Nachher {};
};

struct Planaenderung
{
    int AnzahlVorher = 0;
    int AnzahlNachher = 0;
    QList<Zellaenderung> Zellen;
    QList<Routenaenderung> Routen;
};

// One step on the undo stack. Undo puts back what was before, redo what was
// after. A record that was in the plan before the step gets back only the
// fields the step changed, so that a position switched in operating mode
// since stays; an appended record is taken off the end and put back whole.
// The change is already made when the step is pushed: its first redo does
// nothing. Undo and redo add the plan points of the cells whose picture the
// step changes to `gezeigt`.
class Planschritt : public QUndoCommand
{
public:
    Planschritt(CPlanZellen &zellen, FahrTabelle &routen, Planaenderung aenderung, const QString &name,
                QList<QPoint> &gezeigt);

    void undo() override;
    void redo() override;

private:
    void Anwenden(bool rueckwaerts);

    CPlanZellen &Zellen;
    FahrTabelle &Routen;
    const Planaenderung Aenderung;
    const QList<QPoint> Punkte;
    QList<QPoint> &Gezeigt;
    bool Gemacht = true;
};
