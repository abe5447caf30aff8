#include "position/PlanDatei.h"

#include "elemente/Elementrollen.h"
#include "hilfen/lesepruefung.h"
#include "hilfen/textdatei.h"

CPlanZellen LiesPlanDatei(const QString &path)
{
    KeinVerzeichnis(path);
    TextLeser datei(path);
    CPlanZellen plan;
    const int anzahl = datei.LiesZahl();
    if (anzahl < 0 || anzahl > MaxPositionen)
        datei.Fehler(QStringLiteral("Ungültige Anzahl der Elemente %1 (0 bis %2)").arg(anzahl).arg(MaxPositionen));
    for (int i = 1; i <= anzahl; ++i) {
        C_Position &p = plan.Positionen[i];
        for (int *feld : {&p.Nummer, &p.Element, &p.X, &p.Y, &p.Zustand, &p.Dekoder1, &p.Dekoder2, &p.Dekoder3,
                          &p.Adresse1, &p.Adresse2, &p.Adresse3, &p.Fahrstrasse})
            *feld = datei.LiesZahl();
        p.Protokoll = datei.LiesPflichtText();
    }
    NichtsDanach(datei, QStringLiteral("Mehr Zellen als die Anzahl %1").arg(anzahl));
    plan.PosAnzahl = anzahl;
    return plan;
}

void SchreibePlanDatei(const QString &path, const CPlanZellen &plan)
{
    TextSchreiber datei(path);
    datei.Zahl(plan.PosAnzahl);
    for (int i = 1; i <= plan.PosAnzahl; ++i) {
        const C_Position &p = plan.Positionen[i];
        for (int feld : {p.Nummer, p.Element, p.X, p.Y, p.Zustand, p.Dekoder1, p.Dekoder2, p.Dekoder3, p.Adresse1,
                         p.Adresse2, p.Adresse3, p.Fahrstrasse})
            datei.Zahl(feld);
        datei.Text(p.Protokoll);
    }
    datei.Fertig();
}

int LadeZustand(const C_Position &p)
{
    return p.Zustand < 1 ? 1 : p.Zustand;
}

std::optional<DekoderZeile> LadeSchaltung(const C_Position &p)
{
    if (IstMomentan(p.Element) || IstRueckmeldekontakt(p.Element))
        return std::nullopt;
    const DekoderZeile zeile = DekoderZeileVon(p, LadeZustand(p));
    if (zeile.Adresse <= 0)
        return std::nullopt;
    return zeile;
}
