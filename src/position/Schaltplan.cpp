#include "position/Schaltplan.h"

#include "bahncalc/antworten.h"
#include "bahncalc/zubehoer.h"
#include "bedienung/DekoderDaten.h"
#include "elemente/Elementrollen.h"

#include <algorithm>

namespace {

const QString NichtBelegt = QStringLiteral("nicht belegt");

// The 1-based column of a plan x, or row of a plan y.
int RasterNummer(int v)
{
    return v / RasterGroesse + 1;
}

bool Schaltbar(const C_Position &zelle, const C_Element &element)
{
    const DekoderZeile zeile1 = DekoderZeileVon(zelle, 1);
    return element.Zustaende > 1 || IstMomentan(zelle.Element) || IstRueckmeldekontakt(zelle.Element)
        || IstFahrstrassentaste(zelle.Element) || ZubehoerSchaltbar(zeile1.Dekoder, zeile1.Adresse);
}

QString Stellungsname(const C_Element &element, int k)
{
    const QByteArray &name = k == 1 ? element.Text1 : k == 2 ? element.Text2 : element.Text3;
    return name.isEmpty() ? QString::number(k) : QStringLiteral("%1 %2").arg(k).arg(QString::fromUtf8(name));
}

SchaltplanZeile Zeile(const QString &stellung, const QString &dekoder = {}, const QString &ausgang = {},
                      const QString &adresse = {}, const QString &port = {})
{
    SchaltplanZeile z;
    z[SpStellung] = stellung;
    z[SpDekoder] = dekoder;
    z[SpAusgang] = ausgang;
    z[SpAdresse] = adresse;
    z[SpPort] = port;
    return z;
}

void Zubehoer(QList<SchaltplanZeile> &zeilen, const C_Position &zelle, const C_Element &element)
{
    for (int k = 1; k <= DekoderZeilen(zelle.Element, element.Zustaende); ++k) {
        const DekoderZeile d = DekoderZeileVon(zelle, k);
        const bool belegt = ZubehoerSchaltbar(d.Dekoder, d.Adresse);
        const ZubehoerAdresse ziel = ZubehoerZiel(d.Dekoder, d.Adresse);
        zeilen.append(Zeile(Stellungsname(element, k), QString::number(d.Dekoder), QString::number(d.Adresse),
                            belegt ? QStringLiteral("GA %1").arg(ziel.Adresse) : NichtBelegt,
                            belegt ? QString::number(ziel.Port) : QString()));
    }
}

void Rueckmeldung(QList<SchaltplanZeile> &zeilen, const C_Position &zelle)
{
    const int nummer = KontaktNummer(zelle.Dekoder1, zelle.Adresse1);
    const QString srcp = nummer > 0 ? QStringLiteral("FB %1").arg(nummer) : NichtBelegt;
    zeilen.append(Zeile(QStringLiteral("Rückmeldung"), QString::number(zelle.Dekoder1), QString::number(zelle.Adresse1),
                        srcp));
}

void Fahrstrassentaste(QList<SchaltplanZeile> &zeilen, const C_Position &zelle, const FahrTabelle &routen)
{
    const int r = zelle.Fahrstrasse;
    if (!FahrstrasseGibtEs(r)) {
        zeilen.append(Zeile(QStringLiteral("Fahrstrasse %1 gibt es nicht").arg(r)));
        return;
    }
    const Fahrstrasse &route = routen[r];
    const int n = std::clamp(route[0].X, 0, EintraegeJeFahrstrasse);
    zeilen.append(Zeile(n > 0 ? QStringLiteral("Fahrstrasse %1").arg(r)
                              : QStringLiteral("Fahrstrasse %1 ohne Einträge").arg(r)));
    for (int k = 1; k <= n; ++k)
        zeilen.append(Zeile(QStringLiteral("Eintrag %1: Spalte %2, Zeile %3, Stellung %4")
                                .arg(k)
                                .arg(RasterNummer(route[k].X))
                                .arg(RasterNummer(route[k].Y))
                                .arg(route[k].Code - 10)));
}

} // namespace

const SchaltplanZeile &SchaltplanKopf()
{
    static const SchaltplanZeile kopf = {QStringLiteral("Spalte"),        QStringLiteral("Zeile"),
                                         QStringLiteral("Element"),       QStringLiteral("Protokoll"),
                                         QStringLiteral("Stellung"),      QStringLiteral("Dekoder/Modul"),
                                         QStringLiteral("Ausgang/Kontakt"), QStringLiteral("SRCP-Adresse"),
                                         QStringLiteral("Port")};
    return kopf;
}

QString SchaltplanTitel(const QString &planName)
{
    return QStringLiteral("Verdrahtung %1 – nach Spalte, dann Zeile geordnet").arg(planName);
}

QList<SchaltplanZeile> Schaltplan(const CPlanZellen &plan, const CKatalog &katalog, const FahrTabelle &routen)
{
    QList<int> auswahl;
    for (int i = 1; i <= plan.PosAnzahl; ++i) {
        const C_Position &zelle = plan.Positionen[i];
        if (!IstLoch(zelle) && zelle.Element >= 1 && zelle.Element <= ElementAnzahl
            && Schaltbar(zelle, katalog.Elemente[zelle.Element]))
            auswahl.append(i);
    }
    std::stable_sort(auswahl.begin(), auswahl.end(), [&plan](int a, int b) {
        const C_Position &p = plan.Positionen[a];
        const C_Position &q = plan.Positionen[b];
        return std::pair(p.X, p.Y) < std::pair(q.X, q.Y);
    });

    QList<SchaltplanZeile> zeilen;
    for (const int i : auswahl) {
        const C_Position &zelle = plan.Positionen[i];
        const C_Element &element = katalog.Elemente[zelle.Element];
        const qsizetype erste = zeilen.size();
        if (IstFahrstrassentaste(zelle.Element))
            Fahrstrassentaste(zeilen, zelle, routen);
        else if (IstRueckmeldekontakt(zelle.Element))
            Rueckmeldung(zeilen, zelle);
        else
            Zubehoer(zeilen, zelle, element);
        SchaltplanZeile &kopf = zeilen[erste];
        kopf[SpSpalte] = QString::number(RasterNummer(zelle.X));
        kopf[SpZeile] = QString::number(RasterNummer(zelle.Y));
        kopf[SpElement] = QStringLiteral("%1 (%2)").arg(QString::fromUtf8(element.Name)).arg(zelle.Element);
        if (!IstFahrstrassentaste(zelle.Element) && !IstRueckmeldekontakt(zelle.Element))
            kopf[SpProtokoll] = ZubehoerIstDcc(zelle.Protokoll) ? QStringLiteral("DCC") : QStringLiteral("Motorola");
    }
    return zeilen;
}
