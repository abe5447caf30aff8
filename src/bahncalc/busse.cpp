#include "bahncalc/busse.h"

#include "bahncalc/antworten.h"

namespace {
constexpr int KeinBus = 412;
} // namespace

ServerBusse::ServerBusse()
{
    for (int bus = 1; bus <= HoechsterBus; ++bus)
        Gruppen.insert(bus, {"GA", "GL", "POWER"});
}

QByteArray ServerBusse::Frage(int bus)
{
    return "GET " + QByteArray::number(bus) + " DESCRIPTION";
}

void ServerBusse::Beschreibung(int bus, const Antwort &antwort)
{
    const QList<QByteArray> &f = antwort.Felder;
    if (antwort.Code == KeinBus) {
        Gruppen.remove(bus);
    } else if (antwort.Code == 100 && f.size() >= 3 && f[0] == "INFO" && f[1] == QByteArray::number(bus)
               && f[2] == "DESCRIPTION") {
        Gruppen.insert(bus, QSet<QByteArray>(f.begin() + 3, f.end()));
    }
}

void ServerBusse::Bericht(const Antwort &antwort)
{
    bool zahl = false;
    const int bus = antwort.Felder.size() >= 3 ? antwort.Felder[1].toInt(&zahl) : 0;
    if (zahl && bus > 0 && antwort.Code != KeinBus)
        Beschreibung(bus, antwort);
}

int ServerBusse::Ziel(int bus, const QByteArray &gruppe) const
{
    if (Gruppen.value(bus).contains(gruppe))
        return bus;
    const QList<int> busse = Mit(gruppe);
    return busse.isEmpty() ? bus : busse.first();
}

QList<int> ServerBusse::Mit(const QByteArray &gruppe) const
{
    QList<int> busse;
    for (auto it = Gruppen.cbegin(); it != Gruppen.cend(); ++it)
        if (it->contains(gruppe))
            busse.append(it.key());
    return busse;
}
