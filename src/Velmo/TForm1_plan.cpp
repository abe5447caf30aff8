#include "Velmo/TForm1.h"

#include "Velmo/TBildFlaeche.h"
#include "elemente/Bilder.h"

#include <QScrollBar>
#include <QStringBuilder>

void TForm1::PlanLoeschen()
{
    PlanBitmap.fill(PlanFarbe);
}

// A cell drawn alone is an operation of its own: its file is checked anew.
void TForm1::ZeichneElement(int state, int x, int y, int element, Zellbilder *bilder)
{
    if (element < 1 || element > ElementAnzahl)
        return;
    Zellbilder eigene;
    IconBitmap = (bilder ? *bilder : eigene).Icon(WorkDir, element, state);
    const QPoint plan(x, y);
    ZelleKopieren(IconBitmap, {plan - QPoint(ScrollX, ScrollY), plan});
}

void TForm1::IconZeichnen(const QString &name, int x, int y)
{
    LadeBild(QString(WorkDir % u"Data/" % name), IconBitmap);
    const QPoint plan(x, y);
    ZelleKopieren(IconBitmap, {plan - QPoint(ScrollX, ScrollY), plan});
}

// The view shows the part of the plan that starts at (h, v), silver where
// the plan ends.
void TForm1::SichtfensterKopieren(int h, int v)
{
    Velmo->UrsprungSetzen(QPoint(h, v));
    Velmo->Zeigen();
    GitterZeigen(QPoint(h, v));
}

void TForm1::VelmoPaint()
{
    SichtfensterKopieren(ScrollX, ScrollY);
}

static void Einrasten(QScrollBar *bar)
{
    bar->setValue(Raster(bar->value()));
}

void TForm1::HScrollBarChange()
{
    Einrasten(HScrollBar);
    SichtfensterKopieren(HScrollBar->value(), VScrollBar->value());
    ScrollX = HScrollBar->value();
    MarkenZeigen();
}

void TForm1::VScrollBarChange()
{
    Einrasten(VScrollBar);
    SichtfensterKopieren(HScrollBar->value(), VScrollBar->value());
    ScrollY = VScrollBar->value();
    MarkenZeigen();
}
