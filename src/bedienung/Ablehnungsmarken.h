#pragma once

#include "bahncalc/busse.h"
#include "lokunit/cLocoInfo.h"
#include "position/C_Position.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <optional>

// The device an SRCP 0.8 command addresses: "SET 1 GA 13 1 1 -1" and
// "INIT 1 GA 13 M" address accessory 13 of bus 1, "SET 2 GL 3 …" and
// "INIT 2 GL 3 …" locomotive 3 of bus 2.
struct Geraet
{
    QByteArray Gruppe; // "GA" or "GL"
    int Bus = 0;
    int Adresse = 0;
    bool operator==(const Geraet &) const = default;
};
inline size_t qHash(const Geraet &g, size_t seed = 0)
{
    return qHashMulti(seed, g.Gruppe, g.Bus, g.Adresse);
}
std::optional<Geraet> GeraetDesBefehls(const QByteArray &befehl);

// The devices whose last answered command the server refused: their cells
// carry a red frame and their throttles a red name until the server accepts
// a command for them again.
class Ablehnungsmarken
{
public:
    // The server answered `befehl`; returns whether the marks changed.
    bool Beantwortet(const QByteArray &befehl, bool abgelehnt);
    void Leeren();
    bool Leer() const { return Marken.isEmpty(); }

    // A switchable cell is marked when one of its outputs lies on a marked
    // accessory; feedback contacts and route buttons never are.
    bool ZelleMarkiert(const C_Position &zelle, const ServerBusse &busse) const;
    bool LokMarkiert(const cLocoInfo &lok, const ServerBusse &busse) const;

private:
    QSet<Geraet> Marken;
};
