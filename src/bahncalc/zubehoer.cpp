#include "bahncalc/zubehoer.h"

#include "bahncalc/befehlstext.h"

namespace {

constexpr int DccBus = 2;

// "<address> <port> <value> -1\n", the common tail of both protocol versions.
QByteArray Schaltwerte(ZubehoerAdresse ziel, int value)
{
    QByteArray text;
    ZahlMitBlank(text, ziel.Adresse);
    ZahlMitBlank(text, ziel.Port);
    ZahlMitBlank(text, value);
    text += "-1\n";
    return text;
}

} // namespace

bool ZubehoerIstDcc(const QByteArray &protocol)
{
    return protocol == "N" || protocol == "n";
}

bool ZubehoerSchaltbar(int decoderAddress, int output)
{
    return decoderAddress > 0 && output >= 0;
}

ZubehoerAdresse ZubehoerZiel(int decoderAddress, int output)
{
    const int basis = 4 * decoderAddress + output / 2;
    switch (output) {
    case 1:
    case 3:
    case 5:
    case 7:
        return {basis + 1, 0};
    default:
        return {basis, 1};
    }
}

int ZubehoerBus(const QByteArray &protocol)
{
    return ZubehoerIstDcc(protocol) ? DccBus : 1;
}

QByteArray ZubehoerBefehl70(const QByteArray &protocol, ZubehoerAdresse ziel, int value)
{
    QByteArray text = ZubehoerIstDcc(protocol) ? "SET GA N " : "SET GA M ";
    return text + Schaltwerte(ziel, value);
}

int ZubehoerBus80(const QByteArray &protocol, const ServerBusse &busse)
{
    return busse.Ziel(ZubehoerBus(protocol), "GA");
}

QByteArray ZubehoerBefehl80(const QByteArray &protocol, ZubehoerAdresse ziel, int value, const ServerBusse &busse)
{
    return BusKopf("SET", ZubehoerBus80(protocol, busse), "GA") + Schaltwerte(ziel, value);
}

QByteArray ZubehoerInit80(const QByteArray &protocol, int address, const ServerBusse &busse)
{
    QByteArray text = BusKopf("INIT", ZubehoerBus80(protocol, busse), "GA");
    ZahlMitBlank(text, address);
    text += ZubehoerIstDcc(protocol) ? "N\n" : "M\n";
    return text;
}
