// Design mode: the steps of placing, dragging and deleting drawn into the
// plan and the view, one cell at a time.
#include "Velmo/TForm1.h"

#include "Velmo/TBildFlaeche.h"
#include "elemente/Bilder.h"

Sicht TForm1::Sichtlage() const
{
    return {QPoint(ScrollX, ScrollY), Velmo->BildGroesse()};
}

// Copies the 27 x 27 top left of bild into the cell, on the view and on the plan.
void TForm1::ZelleKopieren(const QImage &bild, const PlanZelle &zelle)
{
    const QRect icon = Rechteck(0, 0, IconGroesse, IconGroesse);
    KopiereBlock(Velmo->Bild, zelle.Sicht, bild, icon);
    // A cell right of or below the view needs no repaint. Asking for none
    // also keeps the rectangle inside int for the far cells a hand-edited
    // plan file may hold.
    if (zelle.Sicht.x() < Velmo->Bild.width() && zelle.Sicht.y() < Velmo->Bild.height())
        Velmo->Zeigen(QRect(zelle.Sicht, icon.size()));
    KopiereBlock(PlanBitmap, zelle.Plan, bild, icon);
}

void TForm1::EntwurfAusfuehren(const Entwurfsschritte &schritte)
{
    if (schritte.Zuruecklegen)
        ZelleKopieren(Hintergrund, *schritte.Zuruecklegen);
    if (schritte.Unterlegen)
        KopiereBlock(Hintergrund, QPoint(0, 0), PlanBitmap, QRect(schritte.Unterlegen->Plan, QSize(IconGroesse, IconGroesse)));
    if (schritte.Icon)
        ZelleKopieren(GewaehltesBild, *schritte.Icon);
    if (schritte.Geaendert)
        PlanGeaendert = true;
    if (schritte.Voll)
        Dialog->Meldung(QStringLiteral("Das Gleisbild ist voll: höchstens %1 Elemente.").arg(MaxPositionen),
                        QStringLiteral("Fehler"), Dialoge::Art::Fehler);
}
