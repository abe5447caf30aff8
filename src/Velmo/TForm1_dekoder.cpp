// Decoder-address mode: a press shows a placed element's decoder rows in the
// decoder panel, "Speichern" stores them into its record.
#include "Velmo/TForm1.h"

#include "Velmo/TDekoderPanel.h"
#include "bedienung/Schrittnamen.h"
#include "elemente/Bilder.h"

#include <QLineEdit>
#include <QScopeGuard>

void TForm1::DekoderDruck(Qt::MouseButton button, int X, int Y)
{
    if (button != Qt::LeftButton)
        return;
    const PlanZelle zelle = ZelleUnter({X, Y}, Sichtlage());
    const int element = Dokument.Zellen.FindeElement(zelle.Plan.x(), zelle.Plan.y());
    if (element < 1 || element > ElementAnzahl)
        return;
    Decod_Panel->ZeilenZeigen(DekoderZeilen(element, Elemente[element].Zustaende));
    DekoderPosition = Dokument.Zellen.FindeSlot(zelle.Plan.x(), zelle.Plan.y());
    ZeigeDekoder(element, DekoderPosition);
}

// The panel names the cell by its Nummer, as its file gives it.
void TForm1::ZeigeDekoder(int element, int slot)
{
    const C_Position &zelle = Dokument.Zellen.Positionen[slot];
    Decod_Panel->TexteZeigen(zelle.Nummer, DekoderTexte(zelle));
    const C_Element &e = Elemente[element];
    const QByteArray bilder[] = {e.Bild1, e.Bild2, e.Bild3};
    // Row 1 always shows its icon, rows 2 and 3 only for elements with that many positions.
    for (int zeile = 1; zeile <= std::clamp(e.Zustaende, 1, 3); ++zeile) {
        QImage bild;
        LadeBild(WorkDir + "Data/" + QString::fromUtf8(bilder[zeile - 1]), bild);
        Decod_Panel->BildZeigen(zeile, bild);
    }
}

void TForm1::Speichern_ButtonClick()
{
    // Fields stored before a conversion error are a step too; a slot that
    // is no cell of the plan (slot 0, or one left from an earlier plan) is
    // never written to the file and makes none.
    const Planstand vorher = Dokument.Merken({DekoderPosition});
    const auto eintragen = qScopeGuard([&] { Dokument.Eintragen(vorher, DekoderSpeichernName); });
    Decod_Panel->Protokoll_Edit->setText(
        DekoderSpeichern(Dokument.Zellen.Positionen[DekoderPosition], Decod_Panel->Eingaben()));
}
