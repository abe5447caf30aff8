#include "bahncalc/betrieb.h"

#include "bahncalc/befehlstext.h"
#include "bahncalc/version.h"

QList<QByteArray> PowerBefehle(int srcpVersion, bool ein, const ServerBusse &busse)
{
    const QByteArray zustand = ein ? "ON" : "OFF";
    if (!SprichtSrcp08(srcpVersion))
        return {"SET POWER " + zustand};
    QList<QByteArray> zeilen;
    for (int bus : busse.Mit("POWER"))
        zeilen.append(BusKopf("SET", bus, "POWER") + zustand);
    return zeilen;
}
