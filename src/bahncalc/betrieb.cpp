#include "bahncalc/betrieb.h"

#include "bahncalc/befehlstext.h"
#include "bahncalc/version.h"

namespace {
constexpr int HoechsterBus = 3;
} // namespace

QList<QByteArray> PowerBefehle(int srcpVersion, bool ein)
{
    const QByteArray zustand = ein ? "ON" : "OFF";
    if (!SprichtSrcp08(srcpVersion))
        return {"SET POWER " + zustand};
    QList<QByteArray> zeilen;
    for (int bus = 1; bus <= HoechsterBus; ++bus)
        zeilen.append(BusKopf("SET", bus, "POWER") + zustand);
    return zeilen;
}
