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

// Copies the part of the plan that starts at (h, v) to the view's top left.
void TForm1::SichtfensterKopieren(int h, int v)
{
    const int w = std::min(PlanBitmap.width() - h, Velmo->Bild.width());
    const int hoehe = std::min(PlanBitmap.height() - v, Velmo->Bild.height());
    ZielRect = Rechteck(0, 0, w, hoehe);
    QuellRect = Rechteck(h, v, h + w, v + hoehe);
    KopiereBlock(Velmo->Bild, ZielRect.topLeft(), PlanBitmap, QuellRect);
    Velmo->Zeigen();
    GitterZeigen(QPoint(h, v));
}

void TForm1::SichtFuellen()
{
    Velmo->Bild.fill(PlanFarbe);
}

void TForm1::VelmoPaint()
{
    SichtFuellen();
    SichtfensterKopieren(ScrollX, ScrollY);
}

static void Einrasten(QScrollBar *bar)
{
    bar->setValue(Raster(bar->value()));
}

void TForm1::HScrollBarChange()
{
    Einrasten(HScrollBar);
    SichtFuellen();
    SichtfensterKopieren(HScrollBar->value(), VScrollBar->value());
    ScrollX = HScrollBar->value();
    MarkenZeigen();
}

void TForm1::VScrollBarChange()
{
    Einrasten(VScrollBar);
    SichtFuellen();
    SichtfensterKopieren(HScrollBar->value(), VScrollBar->value());
    ScrollY = VScrollBar->value();
    MarkenZeigen();
}
