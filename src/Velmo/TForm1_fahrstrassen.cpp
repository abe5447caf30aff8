// Route editing: the menu item, the presses on the plan and the buttons of
// the route page control. Every change of a route or of a route button's
// binding is one step of the plan document.
#include "Velmo/TForm1.h"

#include "Velmo/TBildFlaeche.h"
#include "Velmo/TDekoderPanel.h"
#include "Velmo/TFahrstrassenSeiten.h"
#include "Velmo/TStatusLeiste.h"
#include "bedienung/Schrittnamen.h"
#include "regler/TReglerPanel.h"

#include <QAction>

void TForm1::Fahrstrassenbearbeiten1Click()
{
    SpeicherePlan(Dokument.PlanName, Dokument.PlanDir);
    ModusWechseln(Modus::Fahrstrassen, Fahrstrassenbearbeiten1);
    for (QWidget *panel : QList<QWidget *> {Panel, Decod_Panel, Regler_panel, Manage_panel})
        panel->hide();
    AktuelleFahrstrasse = FahrEditor->Beginnen(AktuelleFahrstrasse);
    PageControl1->setCurrentWidget(PageControl1->TabSheet1);
    PageControl1Change();
    PageControl1->LoeschenZeigen(FahrEditor->LoeschRoute());
    PageControl1->show();
    PageControl1->raise();
    FahrstrasseZeigen(AktuelleFahrstrasse, true);
}

// Called when another mode is entered: the page control goes, and the
// route's cells show their own positions again.
void TForm1::FahrstrassenbearbeitungBeenden()
{
    PageControl1->hide();
    FahrEditor->VerbindenWartet = false;
    FahrstrasseZeigen(AktuelleFahrstrasse, false);
}

void TForm1::FahrstrasseZeigen(int r, bool markiert)
{
    Zellbilder bilder;
    for (const ZellBild &bild : FahrstrassenBilder(*Fahr, Dokument.Zellen, r, markiert))
        BildZeichnen(bild, &bilder);
}

void TForm1::PageControl1Change()
{
    PageControl1->ErstellenZeigen(AktuelleFahrstrasse, Fahr->Anzahl(AktuelleFahrstrasse));
}

void TForm1::FahrstrassenDruck(Qt::MouseButton button, int X, int Y)
{
    const QPoint p = ZelleUnter({X, Y}, Sichtlage()).Plan;
    const int r = AktuelleFahrstrasse;
    const Planstand vorher = Dokument.Merken({Dokument.Zellen.FindeSlot(p.x(), p.y())}, {r});
    if (std::exchange(FahrEditor->VerbindenWartet, false) && button == Qt::LeftButton
        && FahrstrassentasteVerbinden(Dokument.Zellen, r, p)) {
        Dokument.Eintragen(vorher, VerbindenName(r));
        StatusBar1->SetzeText(1, QStringLiteral("Fahrstrassentaste mit Fahrstrasse %1 verbunden").arg(r));
        return;
    }
    Fahrstrassenschritt schritt;
    if (button == Qt::LeftButton)
        schritt = FahrstrasseLinks(*Fahr, Dokument.Zellen, Elemente, r, p);
    else if (button == Qt::RightButton)
        schritt = FahrstrasseRechts(*Fahr, Dokument.Zellen, r, p);
    if (schritt.Geaendert)
        Dokument.Eintragen(vorher, FahrstrassenName(vorher.Routen.first().second, Fahr->Route(r)));
    if (schritt.Voll)
        StatusBar1->SetzeText(1, QStringLiteral("Fahrstrasse %1 ist voll (%2 Einträge)").arg(r).arg(EintraegeJeFahrstrasse));
    if (schritt.Zeichnen)
        BildZeichnen(*schritt.Zeichnen);
    if (schritt.Nummer)
        PageControl1->ErstellenZeigen(r, *schritt.Nummer);
}

void TForm1::FahrstrasseWechseln(int schritt)
{
    FahrstrasseZeigen(AktuelleFahrstrasse, false);
    AktuelleFahrstrasse = FahrEditor->Wechseln(AktuelleFahrstrasse, schritt);
    FahrstrasseZeigen(AktuelleFahrstrasse, true);
    PageControl1Change();
}

void TForm1::ButtonFahrerst_plusClick()
{
    FahrstrasseWechseln(+1);
}

void TForm1::ButtonFahrerst_minusClick()
{
    FahrstrasseWechseln(-1);
}

void TForm1::ButtonverbindenClick()
{
    FahrEditor->VerbindenWartet = true;
}

// Saving the routes on purpose: the save of operating mode writes them,
// over a route file that could not be read as well.
void TForm1::ButtonFahrerst_speichernClick()
{
    Dokument.FahrstrassenUngelesen = false;
    Betrieb1Click();
}

void TForm1::Buttonfahrerst_cancelClick()
{
    const int r = AktuelleFahrstrasse;
    FahrstrasseZeigen(r, false);
    const Planstand vorher = Dokument.Merken({}, {r});
    FahrEditor->Zuruecknehmen(r);
    Dokument.Eintragen(vorher, FahrstrasseZuruecknehmenName(r));
    Betrieb1Click();
}

void TForm1::ButtonFahrdel_plusClick()
{
    PageControl1->LoeschenZeigen(FahrEditor->LoeschWechseln(+1));
}

void TForm1::ButtonFahrdel_minusClick()
{
    PageControl1->LoeschenZeigen(FahrEditor->LoeschWechseln(-1));
}

void TForm1::ButtonFahrdel_delClick()
{
    const int r = FahrEditor->LoeschRoute();
    FahrstrasseZeigen(r, false);
    const Planstand vorher = Dokument.Merken({}, {r});
    Fahr->Loeschen(r);
    Dokument.Eintragen(vorher, FahrstrasseLoeschenName(r));
    PageControl1Change();
}
