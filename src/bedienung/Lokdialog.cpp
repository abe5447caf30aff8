#include "bedienung/Lokdialog.h"

#include "bahncalc/version.h"
#include "hilfen/fehler.h"
#include "hilfen/texte.h"

#include <algorithm>

namespace {

constexpr int VarianteZahl = 5;

// The variant of a protocol code: "B" is 0, a digit its value.
int Variante(const QByteArray &protokoll)
{
    const QString zweites = QString::fromUtf8(protokoll.mid(1, 1));
    return zweites == QLatin1String("B") ? 0 : StrToInt(zweites);
}

int ZahlOder(const QString &text, int leer)
{
    return text.isEmpty() ? leer : StrToInt(text);
}

// A function code switched off: an on code (above 10) loses its 10.
int AusCode(int code)
{
    return code > 10 ? code - 10 : code;
}

QString ZahlOderLeer(int zahl)
{
    return zahl > 0 ? QString::number(zahl) : QString();
}

} // namespace

bool FunktionenSichtbar(int variante)
{
    return variante > 0;
}

LokdialogInhalt LokdialogFuellen(const cLocoInfo &lok)
{
    LokdialogInhalt inhalt;
    inhalt.Adresse = QString::number(lok.Adresse);
    const int variante = Variante(lok.Protokoll);
    const char familie = lok.Protokoll.isEmpty() ? '\0' : lok.Protokoll[0];
    if (familie == 'M' || familie == 'N') {
        inhalt.Maerklin = familie == 'M';
        const int item = familie == 'M' ? variante - 1 : variante;
        inhalt.Variante = item >= 0 && item < VarianteZahl ? item : -1;
    }
    inhalt.Funktionen = lok.Protokoll != "M1" && lok.Protokoll != "NB";
    inhalt.Beschreibung = QString::fromUtf8(lok.Lokname);
    inhalt.Vmax = QString::number(lok.Vmax);
    inhalt.Funktionsanzahl = ZahlOderLeer(lok.Funktionsanzahl);
    inhalt.Fahrstufen = ZahlOderLeer(lok.Fahrstufen);
    if (lok.Funktionsanzahl > 0) {
        for (std::size_t k = 0; k < inhalt.Codes.size(); ++k) {
            const int code = lok.Funktionen[k];
            if (code <= 0)
                continue;
            inhalt.Codes[k] = AusCode(code);
            inhalt.Bilder[k] = SymbolDatei(inhalt.Codes[k] + 10);
        }
    }
    return inhalt;
}

bool LokdialogSpeichern(cLocoInfo &lok, const LokdialogEingaben &eingaben, int version)
{
    if (eingaben.Adresse.isEmpty())
        return false;
    // Every field is converted before the record changes: a faulty one
    // raises its error with the record as it was.
    cLocoInfo neu = lok;
    neu.Adresse = StrToInt(eingaben.Adresse);
    neu.Lokname = Utf8Kuerzen(Einzeilig(eingaben.Beschreibung.toUtf8()), LoknameLaenge);
    neu.Vmax = ZahlOder(eingaben.Vmax, 100);
    if (eingaben.Variante >= 0 && eingaben.Variante < VarianteZahl) {
        const char familie = eingaben.Maerklin ? 'M' : 'N';
        const int nummer = eingaben.Maerklin ? eingaben.Variante + 1 : eingaben.Variante;
        neu.Protokoll = QByteArray(1, familie) + (nummer == 0 ? QByteArray("B") : QByteArray::number(nummer));
        if (eingaben.Variante == 0) {
            neu.Funktionsanzahl = eingaben.Maerklin ? 0 : 4;
            neu.Fahrstufen = 14;
        } else if (version == SrcpVersion073) {
            neu.Funktionsanzahl = 4;
            neu.Fahrstufen = 14;
        } else {
            neu.Funktionsanzahl = ZahlOder(eingaben.Funktionsanzahl, 4);
            neu.Fahrstufen = ZahlOder(eingaben.Fahrstufen, 14);
        }
    }
    neu.Funktion0 = 0;
    neu.Geschwindigkeit = 0;
    neu.Richtung = 1;
    if (neu.Funktionsanzahl > 0)
        std::transform(eingaben.Codes.begin(), eingaben.Codes.end(), neu.Funktionen.begin(), AusCode);
    if (neu.Protokoll != lok.Protokoll || neu.Adresse != lok.Adresse || neu.Fahrstufen != lok.Fahrstufen
        || neu.Funktionsanzahl != lok.Funktionsanzahl)
        neu.Initialisiert = 0;
    lok = neu;
    return true;
}
