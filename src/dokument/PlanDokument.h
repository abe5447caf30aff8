#pragma once

#include "fahrunit/CFahr.h"
#include "position/C_Position.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QUndoStack>
#include <utility>

// A plan file read whole, with the routes of the route file beside it.
struct GelesenerPlan
{
    CPlanZellen Zellen;
    FahrTabelle Routen {};
    // The route file exists but could not be read: the plan has no routes,
    // and Fehler says why.
    bool RoutenUngelesen = false;
    QString Fehler;
};

// Reads the plan file at pfad and its route file. A plan file that cannot
// be read raises VelmoFehler; without a route file the plan has no routes.
GelesenerPlan LiesPlan(const QString &pfad);

// The part of the plan a change may touch, as it was before the change.
struct Planstand
{
    int PosAnzahl = 0;
    QList<std::pair<int, C_Position>> Zellen;
    QList<std::pair<int, Fahrstrasse>> Routen;
};

// The plan as a document: its cells, its routes, the file it belongs to
// and the steps that changed it since it was opened or created, to be
// undone and redone. It draws nothing: undo and redo say which cells the
// window must show anew.
class PlanDokument
{
public:
    CPlanZellen Zellen;
    // The 64 routes; kept with the plan in "<plan>.fst".
    FahrTabelle FahrstrassenTabelle {};
    // The plan file: its name with extension and its directory with a
    // trailing "/"; both empty before the first plan.
    QString PlanName;
    QString PlanDir;
    // The plan's route file could not be read: the saves that come with a
    // mode change leave it as it is, so that it is never replaced by routes
    // it did not give.
    bool FahrstrassenUngelesen = false;

    // A new plan without cells or routes; no file is written.
    void Neu(const QString &dir, const QString &name);
    // The plan read from dir + name becomes the document, copied into the
    // tables in place, so that whatever refers to them stays valid.
    void Uebernehmen(const QString &dir, const QString &name, const GelesenerPlan &plan);
    // Writes the plan file dir + name and the route file beside it (unless
    // FahrstrassenUngelesen); the document is then as its files are.
    void Speichern(const QString &name, const QString &dir);
    // The document is as its file is now.
    void Gesichert();
    // The document differs from its file: a step was made or undone since
    // the last save or load, a change outside the steps was made since, or
    // routes were built that the unread route file keeps from being saved.
    bool Geaendert() const;
    // A change that is no step (a position switched in operating mode):
    // the document differs from its file until it is saved, whatever is
    // undone or redone.
    void OhneSchrittGeaendert();

    // The slots, the cell an append would fill and the routes as they are
    // now, before a change.
    Planstand Merken(const QList<int> &slotliste, const QList<int> &routen = {}) const;
    // What changed since `vorher` in the cells of the file (slots 1 to
    // PosAnzahl) and the routes becomes one step named `name`; when nothing
    // changed there, no step. True when a step was made.
    bool Eintragen(const Planstand &vorher, const QString &name);

    // Undoes or redoes one step; returns the plan points of the cells to
    // show anew.
    QList<QPoint> Rueckgaengig();
    QList<QPoint> Wiederherstellen();
    const QUndoStack &Stapel() const { return Schritte; }

private:
    QUndoStack Schritte;
    QList<QPoint> Gezeigt;
};
