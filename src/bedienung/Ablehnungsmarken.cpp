#include "bedienung/Ablehnungsmarken.h"

#include "bahncalc/lokbefehle.h"
#include "bahncalc/zubehoer.h"
#include "elemente/Elementrollen.h"

#include <QList>

std::optional<Geraet> GeraetDesBefehls(const QByteArray &befehl)
{
    const QList<QByteArray> w = befehl.simplified().split(' ');
    if (w.size() < 4 || (w[0] != "SET" && w[0] != "INIT") || (w[2] != "GA" && w[2] != "GL"))
        return std::nullopt;
    bool busZahl = false, adresseZahl = false;
    const Geraet g {w[2], w[1].toInt(&busZahl), w[3].toInt(&adresseZahl)};
    if (!busZahl || !adresseZahl)
        return std::nullopt;
    return g;
}

bool Ablehnungsmarken::Beantwortet(const QByteArray &befehl, bool abgelehnt)
{
    const auto geraet = GeraetDesBefehls(befehl);
    if (!geraet || Marken.contains(*geraet) == abgelehnt)
        return false;
    if (abgelehnt)
        Marken.insert(*geraet);
    else
        Marken.remove(*geraet);
    return true;
}

void Ablehnungsmarken::Leeren()
{
    Marken.clear();
}

bool Ablehnungsmarken::ZelleMarkiert(const C_Position &zelle, const ServerBusse &busse) const
{
    if (Marken.isEmpty() || IstRueckmeldekontakt(zelle.Element) || IstFahrstrassentaste(zelle.Element))
        return false;
    const int bus = ZubehoerBus80(zelle.Protokoll, busse);
    for (int r = 1; r <= 3; ++r) {
        const DekoderZeile z = DekoderZeileVon(zelle, r);
        if (ZubehoerSchaltbar(z.Dekoder, z.Adresse)
            && Marken.contains({"GA", bus, ZubehoerZiel(z.Dekoder, z.Adresse).Adresse}))
            return true;
    }
    return false;
}

bool Ablehnungsmarken::LokMarkiert(const cLocoInfo &lok, const ServerBusse &busse) const
{
    return !Marken.isEmpty() && lok.Adresse > 0
        && Marken.contains({"GL", busse.Ziel(ProtocolBus(lok.Protokoll), "GL"), lok.Adresse});
}
