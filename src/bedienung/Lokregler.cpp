#include "bedienung/Lokregler.h"

#include <QList>

#include <algorithm>

namespace {

const QString Doppelpfeil = QStringLiteral("pfeil_dop.bmp");

bool KenntRichtung(const QByteArray &protokoll)
{
    static const QList<QByteArray> codes {"M2", "M3", "M4", "M5", "NB", "N1", "N2", "N3", "N4"};
    return codes.contains(protokoll);
}

QString Pfeil(int richtung)
{
    return richtung == 1 ? QStringLiteral("pfeil_li.bmp") : QStringLiteral("pfeil_re.bmp");
}

int Umgekehrt(int richtung)
{
    return richtung == 1 ? 0 : 1;
}

} // namespace

int ReglerMaximum(const cLocoInfo &lok)
{
    return std::max(lok.Vmax, 0);
}

int ReglerGeschwindigkeit(const cLocoInfo &lok, int position)
{
    return std::max(ReglerMaximum(lok) - position, 0);
}

QString RichtungsbildEinrichten(const cLocoInfo &lok)
{
    if (lok.Protokoll == "M1" || lok.Protokoll == "NB")
        return Doppelpfeil;
    return Pfeil(lok.Richtung);
}

QString RichtungsDruck(cLocoInfo &lok, bool stehend)
{
    if (lok.Protokoll == "M1") {
        if (stehend)
            lok.Richtung = Umgekehrt(lok.Richtung);
        return Doppelpfeil;
    }
    if (!stehend || !KenntRichtung(lok.Protokoll))
        return {};
    lok.Richtung = Umgekehrt(lok.Richtung);
    return Pfeil(lok.Richtung);
}

QString Funktion0Bild(int funktion0)
{
    return funktion0 == 0 ? QStringLiteral("Func_off.bmp") : QStringLiteral("Func_on.bmp");
}

int FunktionGeschaltet(int code)
{
    if (code <= 0)
        return code;
    return code > 10 ? code - 10 : code + 10;
}

std::array<std::optional<QString>, 4> Funktionsbilder(const cLocoInfo &lok)
{
    std::array<std::optional<QString>, 4> bilder;
    if (lok.Funktionsanzahl <= 0)
        return bilder;
    for (std::size_t k = 0; k < bilder.size(); ++k)
        if (lok.Funktionen[k] > 0)
            bilder[k] = SymbolDatei(lok.Funktionen[k]);
    return bilder;
}
