// Design mode: the steps of placing, dragging and deleting drawn into the
// plan and the view, one cell at a time; each placement and each deletion
// is one step of the plan document.
#include "Velmo/TForm1.h"

#include "Velmo/TBildFlaeche.h"
#include "bedienung/Schrittnamen.h"
#include "elemente/Bilder.h"

Sicht TForm1::Sichtlage() const
{
    return {QPoint(ScrollX, ScrollY), Velmo->BildGroesse()};
}

// Copies the 27 x 27 top left of bild into the plan's cell and brings the
// cell to the screen when the view shows it.
void TForm1::ZelleKopieren(const QImage &bild, const PlanZelle &zelle)
{
    const QRect icon = Rechteck(0, 0, IconGroesse, IconGroesse);
    KopiereBlock(PlanBitmap, zelle.Plan, bild, icon);
    // A cell right of or below the view needs no repaint. Asking for none
    // also keeps the rectangle inside int for the far cells a hand-edited
    // plan file may hold.
    const QSize sicht = Velmo->BildGroesse();
    if (zelle.Sicht.x() < sicht.width() && zelle.Sicht.y() < sicht.height())
        Velmo->Zeigen(QRect(zelle.Sicht, icon.size()));
}

void TForm1::EntwurfAusfuehren(const Entwurfsschritte &schritte)
{
    if (schritte.Zuruecklegen)
        ZelleKopieren(Hintergrund, *schritte.Zuruecklegen);
    if (schritte.Unterlegen)
        KopiereBlock(Hintergrund, QPoint(0, 0), PlanBitmap, QRect(schritte.Unterlegen->Plan, QSize(IconGroesse, IconGroesse)));
    if (schritte.Icon)
        ZelleKopieren(GewaehltesBild, *schritte.Icon);
    if (schritte.Voll)
        Dialog->Meldung(QStringLiteral("Das Gleisbild ist voll: höchstens %1 Elemente.").arg(MaxPositionen),
                        QStringLiteral("Fehler"), Dialoge::Art::Fehler);
}

// A right press clears the first record in the cell: the step is named
// after its element.
void TForm1::EntwurfDruck(Qt::MouseButton button, int X, int Y)
{
    const PlanZelle zelle = ZelleUnter({X, Y}, Sichtlage());
    const int slot = Dokument.Zellen.FindeSlot(zelle.Plan.x(), zelle.Plan.y());
    const QString name = LoeschenName(Elemente, Dokument.Zellen.Positionen[slot].Element);
    const Planstand vorher = Dokument.Merken({slot});
    const Entwurfsschritte schritte = EntwurfDruecken(*this, Dokument.Zellen, button, {X, Y}, Sichtlage());
    if (schritte.Geaendert)
        Dokument.Eintragen(vorher, name);
    if (schritte.Icon) {
        Platzierung = zelle;
        BearbeitenZeigen();
    }
    EntwurfAusfuehren(schritte);
}

// The release ends a placement: the record appended is one step, however
// far the element was dragged.
void TForm1::EntwurfLosgelassen(Qt::MouseButton button, int X, int Y)
{
    const Planstand vorher = Dokument.Merken({});
    const Entwurfsschritte schritte = EntwurfLoslassen(*this, Dokument.Zellen, button, {X, Y}, Sichtlage());
    if (button == Qt::LeftButton) {
        const bool gezogen = Platzierung && Platzierung->Plan != ZelleUnter({X, Y}, Sichtlage()).Plan;
        Platzierung.reset();
        if (schritte.Geaendert)
            Dokument.Eintragen(vorher, SetzenName(Elemente, GewaehltesElement, gezogen));
        BearbeitenZeigen();
    }
    EntwurfAusfuehren(schritte);
}
