#include "bahncalc/lokbefehle.h"

#include "bahncalc/befehlstext.h"

#include <algorithm>
#include <iterator>

namespace {

struct ProtokollEintrag
{
    const char *Code;
    int Bus;
    int Version;
};

constexpr ProtokollEintrag ProtokollTabelle[] = {
    {"M1", 1, 1}, {"M2", 1, 2}, {"M3", 1, 3}, {"M4", 1, 4}, {"M5", 1, 5},
    {"NB", 2, 1}, {"N1", 2, 2}, {"N2", 2, 3}, {"N3", 3, 4}, {"N4", 3, 5},
};

// The table row of a code, or nullptr for a code outside the table.
const ProtokollEintrag *SucheProtokoll(const QByteArray &code)
{
    const auto *it = std::find_if(std::begin(ProtokollTabelle), std::end(ProtokollTabelle),
                                  [&code](const ProtokollEintrag &e) { return code == e.Code; });
    return it == std::end(ProtokollTabelle) ? nullptr : it;
}

constexpr int StandardFahrstufen = 14;

// "<Adresse> <Richtung> <V> <Vmax> <F0> ", shared by both drive commands.
void Fahrwerte(QByteArray &text, const cLocoInfo &lok)
{
    for (int zahl : {lok.Adresse, lok.Richtung, lok.Geschwindigkeit, lok.Vmax, lok.Funktion0})
        ZahlMitBlank(text, zahl);
}

// "1 " or "0 " for each of the first `anzahl` function codes.
void Funktionswerte(QByteArray &text, const cLocoInfo &lok, int anzahl)
{
    for (int j = 0; j < anzahl; ++j)
        ZahlMitBlank(text, lok.Funktionen[j] > 10 ? 1 : 0);
}

} // namespace

int ProtocolBus(const QByteArray &code)
{
    const ProtokollEintrag *e = SucheProtokoll(code);
    return e ? e->Bus : 0;
}

int ProtocolVersion(const QByteArray &code)
{
    const ProtokollEintrag *e = SucheProtokoll(code);
    return e ? e->Version : 0;
}

int FunktionenImBefehl(const cLocoInfo &lok)
{
    return std::clamp(lok.Funktionsanzahl, 0, static_cast<int>(lok.Funktionen.size()));
}

QByteArray LokBefehl70(const cLocoInfo &lok)
{
    const int anzahl = FunktionenImBefehl(lok);
    QByteArray text = "SET GL " + lok.Protokoll + ' ';
    Fahrwerte(text, lok);
    ZahlMitBlank(text, anzahl);
    Funktionswerte(text, lok, anzahl);
    text += '\n';
    return text;
}

QByteArray LokBefehl80(const cLocoInfo &lok, const ServerBusse &busse)
{
    const ProtokollEintrag *e = SucheProtokoll(lok.Protokoll);
    if (!e)
        return {};
    QByteArray text = BusKopf("SET", busse.Ziel(e->Bus, "GL"), "GL");
    Fahrwerte(text, lok);
    Funktionswerte(text, lok, FunktionenImBefehl(lok));
    text += '\n';
    return text;
}

QByteArray LokInit80(const cLocoInfo &lok, const ServerBusse &busse)
{
    const ProtokollEintrag *e = SucheProtokoll(lok.Protokoll);
    if (!e)
        return {};
    const int stufen = lok.Fahrstufen != 0 ? lok.Fahrstufen : StandardFahrstufen;
    int funktionen = lok.InitFunktionsanzahl;
    if (funktionen == 0 && lok.Protokoll != "M1")
        funktionen = 1 + FunktionenImBefehl(lok);

    QByteArray text = BusKopf("INIT", busse.Ziel(e->Bus, "GL"), "GL");
    ZahlMitBlank(text, lok.Adresse);
    text += lok.Protokoll.left(1);
    text += ' ';
    ZahlMitBlank(text, e->Version);
    ZahlMitBlank(text, stufen);
    text += QByteArray::number(funktionen);
    text += '\n';
    return text;
}
