#include "bahncalc/betrieb.h"

#include "bahncalc/befehlstext.h"

namespace {
constexpr int Srcp073 = 70;
constexpr int HoechsterBus = 3;
} // namespace

QList<QByteArray> PowerBefehle(int srcpVersion, bool ein)
{
    const QByteArray zustand = ein ? "ON" : "OFF";
    if (srcpVersion == Srcp073)
        return {"SET POWER " + zustand};
    QList<QByteArray> zeilen;
    for (int bus = 1; bus <= HoechsterBus; ++bus)
        zeilen.append(BusKopf("SET", bus, "POWER") + zustand);
    return zeilen;
}
