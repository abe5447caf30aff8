#include "bedienung/Planansicht.h"

#include "position/C_Position.h"

#include <algorithm>

namespace {

int AbgerundetGeteilt(int v, int f)
{
    return v >= 0 ? v / f : -((-v + f - 1) / f);
}

int AufgerundetGeteilt(int v, int f)
{
    return (std::max(v, 0) + f - 1) / f;
}

// The first cell border at or after view-image pixel 0 when the view
// shows the plan from `scroll`.
int ErsteGrenze(int scroll)
{
    return (RasterGroesse - scroll % RasterGroesse) % RasterGroesse;
}

} // namespace

int ZoomSchritt(int f, int richtung)
{
    return std::clamp(f + richtung, ZoomKleinster, ZoomGroesster);
}

QPoint BildPunkt(QPoint p, int f)
{
    return {AbgerundetGeteilt(p.x(), f), AbgerundetGeteilt(p.y(), f)};
}

QSize BildGroesse(QSize bildschirm, int f)
{
    return {AufgerundetGeteilt(bildschirm.width(), f), AufgerundetGeteilt(bildschirm.height(), f)};
}

QRect BildschirmRechteck(QRect r, int f)
{
    return {r.topLeft() * f, r.size() * f};
}

QRect BildRechteck(QRect r, int f)
{
    return {BildPunkt(r.topLeft(), f), BildPunkt(r.bottomRight(), f)};
}

Rollbereich Rollen(int platz, int abzug, int plan, int f)
{
    Rollbereich r;
    r.Noetig = platz < plan * f;
    r.Laenge = r.Noetig ? std::max(0, platz - abzug) : plan * f;
    r.Maximum = plan;
    r.Seite = std::max(RasterGroesse, Raster(r.Laenge / f));
    return r;
}

QList<QLine> Gitterlinien(QPoint scroll, QSize bildschirm, QSize plan, int f)
{
    const QSize bild = BildGroesse(bildschirm, f);
    const int breite = std::min(plan.width() - scroll.x(), bild.width());
    const int hoehe = std::min(plan.height() - scroll.y(), bild.height());
    QList<QLine> linien;
    if (breite <= 0 || hoehe <= 0)
        return linien;
    const int rechts = std::min(breite * f, bildschirm.width()) - 1;
    const int unten = std::min(hoehe * f, bildschirm.height()) - 1;
    for (int x = ErsteGrenze(scroll.x()); x < breite; x += RasterGroesse)
        linien.append(QLine(x * f, 0, x * f, unten));
    for (int y = ErsteGrenze(scroll.y()); y < hoehe; y += RasterGroesse)
        linien.append(QLine(0, y * f, rechts, y * f));
    return linien;
}

QString Zellenname(QPoint zelle, QSize plan)
{
    if (!QRect(QPoint(0, 0), plan).contains(zelle))
        return {};
    return QStringLiteral("Spalte %1, Zeile %2").arg(zelle.x() / RasterGroesse + 1).arg(zelle.y() / RasterGroesse + 1);
}
