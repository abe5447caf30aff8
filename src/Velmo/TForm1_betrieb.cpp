// Operating mode: switching accessories from the plan and setting routes
// with their route buttons.
#include "Velmo/TForm1.h"

#include "Velmo/TStatusLeiste.h"
#include "bedienung/Schalten.h"

void TForm1::BetriebDruck(Qt::MouseButton button, int X, int Y)
{
    Zellbilder bilder;
    AktuelleFahrstrasse = 0;
    for (const QPoint &marke : std::exchange(FahrstrassenMarken, {})) {
        const C_Position &zelle = Dokument.Zellen.Positionen[Dokument.Zellen.FindeSlot(marke.x(), marke.y())];
        BildZeichnen({marke, zelle.Element, zelle.Zustand}, &bilder);
    }
    if (button != Qt::LeftButton)
        return;
    const QPoint p = ZelleUnter({X, Y}, Sichtlage()).Plan;
    const std::optional<Betriebsdruck> druck = BetriebDruecken(Dokument.Zellen, Elemente, p);
    if (!druck)
        return;
    if (druck->Fahrstrassentaste) {
        FahrstrasseWaehlen(*druck->Fahrstrassentaste, bilder);
        return;
    }
    // Each press finishes its own steps after its own pulse, even when
    // further presses are handled while it waits.
    const Schaltschritte s = druck->Schalten;
    SendehinweisZeigen(NichtsGesendet(s, Dokument.Zellen.Positionen[s.Slot].Zustand, CommandConnected));
    if (s.Vorab)
        ZeichneElement(1, p.x(), p.y(), s.Element, &bilder);
    QList<Impulsschritt> folge;
    for (const Zubehoerausgang &ausgang : s.Ausgaenge())
        folge.append({{ausgang}, {}});
    folge.last().Danach = [this, s, p] {
        ZeichneElement(s.NeuerZustand, p.x(), p.y(), s.Element);
        if (s.Momentan)
            ZeichneElement(1, p.x(), p.y(), s.Element);
        if (std::exchange(Dokument.Zellen.Positionen[s.Slot].Zustand, s.Endzustand) != s.Endzustand)
            Dokument.OhneSchrittGeaendert();
    };
    Bahn->Schalten(folge);
}

void TForm1::FahrstrasseWaehlen(int r, Zellbilder &bilder)
{
    if (!FahrstrasseGibtEs(r)) {
        StatusBar1->SetzeText(1, QStringLiteral("Fahrstrasse %1 gibt es nicht").arg(r));
        return;
    }
    AktuelleFahrstrasse = r;
    const Fahrstrassenstellung stellung = FahrstrasseStellen(*Fahr, Dokument.Zellen, r);
    if (stellung.Geaendert)
        Dokument.OhneSchrittGeaendert();
    for (const ZellBild &bild : stellung.Zeichnen) {
        BildZeichnen(bild, &bilder);
        FahrstrassenMarken.append(bild.Plan);
    }
    SendehinweisZeigen(NichtsGesendet(stellung.Schalten, CommandConnected));
    Bahn->SwitchAccessories(stellung.Schalten);
}

void TForm1::SendehinweisZeigen(const QString &hinweis)
{
    StatusBar1->SetzeText(0, hinweis);
}

void TForm1::BildZeichnen(const ZellBild &bild, Zellbilder *bilder)
{
    ZeichneElement(bild.Wert, bild.Plan.x(), bild.Plan.y(), bild.Element, bilder);
}
