#pragma once

#include <QLine>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The plan view at a whole zoom factor f (1, 2 or 3). The view keeps its
// image of the plan 1:1 in plan pixels; the screen shows every pixel of it
// as an f x f block. The scroll offsets stay plan pixels, multiples of 27,
// so a press at screen pixel v lies in the cell Raster(v div f) + scroll at
// every factor, and at factor 1 everything is as without a zoom.

constexpr int ZoomKleinster = 1;
constexpr int ZoomGroesster = 3;

// The factor one step bigger (richtung 1) or smaller (-1) than f, held at
// the ends.
int ZoomSchritt(int f, int richtung);

// The pixel of the view image that screen pixel p of the view shows. The
// division rounds down, so a drag left of or above the view stays outside.
QPoint BildPunkt(QPoint p, int f);
// The size of the view image behind a view of `bildschirm` pixels; a plan
// pixel that the screen shows only in part counts.
QSize BildGroesse(QSize bildschirm, int f);
// The screen rectangle that shows rectangle r of the view image.
QRect BildschirmRechteck(QRect r, int f);
// The rectangle of the view image whose pixels cover screen rectangle r.
QRect BildRechteck(QRect r, int f);

// One axis of the plan view in the window layout.
struct Rollbereich
{
    bool Noetig = false; // the enlarged plan is longer than the place: its scroll bar is shown
    int Laenge = 0;      // the view's length in screen pixels
    int Maximum = 0;     // the scroll bar runs from 0 to this, in plan pixels
    int Seite = 0;       // a page: the whole cells the view shows, at least one
};
// `platz` is the client length the enlarged plan is compared with, `abzug`
// what the scroll bar across takes from it when the view must scroll, `plan`
// the plan's length in plan pixels.
Rollbereich Rollen(int platz, int abzug, int plan, int f);

// The grid over a view of `bildschirm` pixels that shows the plan from
// `scroll`: one screen pixel on the left and on the top border of every
// cell, in screen coordinates, and only where the view shows the plan.
QList<QLine> Gitterlinien(QPoint scroll, QSize bildschirm, QSize plan, int f);

// The cell with plan origin `zelle` as the status bar names it, counted
// from 1 ("Spalte 1, Zeile 1" at plan point 0, 0); empty outside the plan.
QString Zellenname(QPoint zelle, QSize plan);
