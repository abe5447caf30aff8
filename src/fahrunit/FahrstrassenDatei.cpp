#include "fahrunit/FahrstrassenDatei.h"

#include "hilfen/lesepruefung.h"
#include "hilfen/textdatei.h"

#include <QFileInfo>

namespace {
constexpr int KleinsterCode = 11;
constexpr int GroessterCode = 13;
} // namespace

QString FahrstrassenPfad(const QString &planPfad)
{
    const QFileInfo plan(planPfad);
    return plan.path() + '/' + plan.completeBaseName() + QStringLiteral(".fst");
}

FahrTabelle LiesFahrstrassenDatei(const QString &path)
{
    KeinVerzeichnis(path);
    TextLeser datei(path);
    FahrTabelle tabelle {};
    for (Fahrstrasse &route : tabelle) {
        const int anzahl = datei.LiesZahl();
        if (anzahl < 0 || anzahl > EintraegeJeFahrstrasse)
            datei.Fehler(QStringLiteral("Ungültige Anzahl der Einträge %1 (0 bis %2)").arg(anzahl).arg(EintraegeJeFahrstrasse));
        route[0].X = anzahl;
        for (int k = 1; k <= anzahl; ++k) {
            route[k].X = datei.LiesZahl();
            route[k].Y = datei.LiesZahl();
            route[k].Code = datei.LiesZahl();
            if (route[k].Code < KleinsterCode || route[k].Code > GroessterCode)
                datei.Fehler(QStringLiteral("Ungültiger Code %1 (%2 bis %3)")
                                 .arg(route[k].Code)
                                 .arg(KleinsterCode)
                                 .arg(GroessterCode));
        }
    }
    NichtsDanach(datei, QStringLiteral("Mehr als %1 Fahrstrassen").arg(FahrstrassenZahl));
    return tabelle;
}

void SchreibeFahrstrassenDatei(const QString &path, const FahrTabelle &tabelle)
{
    TextSchreiber datei(path);
    for (const Fahrstrasse &route : tabelle) {
        const int anzahl = route[0].X;
        datei.Zahl(anzahl);
        for (int k = 1; k <= anzahl; ++k) {
            datei.Zahl(route[k].X);
            datei.Zahl(route[k].Y);
            datei.Zahl(route[k].Code);
        }
    }
    datei.Fertig();
}
