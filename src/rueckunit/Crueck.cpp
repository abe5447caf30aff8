#include "rueckunit/Crueck.h"

#include "bahncalc/antworten.h"
#include "hilfen/fehler.h"

Crueck::Crueck(const CPlanZellen &plan, Zeichner zeichner, Fehlerbericht fehler)
    : Plan(plan), Zeichnen(std::move(zeichner)), Fehler(std::move(fehler))
{
}

void Crueck::NeueSitzung()
{
    Busse = ServerBusse();
}

int Crueck::FeedbackBus() const
{
    const QList<int> busse = Busse.Mit("FB");
    return busse.isEmpty() ? 1 : busse.first();
}

Crueck::Zeilenart Crueck::ZeileVerarbeiten(const QByteArray &line)
{
    if (const std::optional<KontaktWert> kontakt = Srcp08Rueckmeldung(line)) {
        if (kontakt->Bus != FeedbackBus())
            return Zeilenart::AndererBus;
        KontaktWertZeigen(kontakt->Kontakt, kontakt->Wert);
        return Zeilenart::Gezeigt;
    }
    Busse.Bericht(ZerlegeAntwort(line));
    const QString text = QString::fromUtf8(line);
    try {
        switch (RueckmeldungsArt(text)) {
        case RueckArt::Einzel:
            RueckmeldungZeigen(text);
            return Zeilenart::Gezeigt;
        case RueckArt::Alle:
            RueckmeldungAlleZeigen(text);
            return Zeilenart::Gezeigt;
        case RueckArt::Keine:
            break;
        }
    } catch (const VelmoFehler &) {
    }
    return Zeilenart::Keine;
}

void Crueck::RueckmeldungZeigen(const QString &line)
{
    const KontaktWert kontakt = ZerlegeRueckmeldung(line);
    KontaktWertZeigen(kontakt.Kontakt, kontakt.Wert);
}

void Crueck::RueckmeldungAlleZeigen(const QString &line)
{
    for (const KontaktWert &kontakt : ZerlegeRueckmeldungAlle(line))
        KontaktWertZeigen(kontakt.Kontakt, kontakt.Wert);
}

void Crueck::KontaktWertZeigen(int n, int value)
{
    const ModulKontakt ziel = KontaktAdresse(n);
    KontaktZeichnen(ziel.Modul, ziel.Kontakt, value);
}

void Crueck::KontaktZeichnen(int module, int contact, int value)
{
    for (int i = 1; i <= Plan.PosAnzahl; ++i) {
        const C_Position &zelle = Plan.Positionen[i];
        if (IstRueckmeldekontakt(zelle.Element) && zelle.Adresse1 > 0 && zelle.Adresse1 == contact
            && zelle.Dekoder1 == module)
            Zeichne(zelle, value);
    }
}

void Crueck::RueckmeldungReset()
{
    for (int i = 1; i <= Plan.PosAnzahl; ++i)
        if (IstRueckmeldekontakt(Plan.Positionen[i].Element))
            Zeichne(Plan.Positionen[i], 0);
}

// A picture that cannot be drawn (also for a value other than 0 and 1,
// whose name has no picture ending) is reported and the cell keeps its
// previous picture.
void Crueck::Zeichne(const C_Position &zelle, int value)
{
    QString name = QStringLiteral("Icon%1").arg(zelle.Element);
    if (value == 0)
        name += QStringLiteral("01.bmp");
    else if (value == 1)
        name += QStringLiteral("02.bmp");
    try {
        Zeichnen(name, zelle.X, zelle.Y);
    } catch (const VelmoFehler &) {
        Fehler();
    }
}
