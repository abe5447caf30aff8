#include "srcpproto/Fahrstrom.h"

#include <QList>

std::optional<Fahrstrom::Schaltung> Fahrstrom::Befehl(const QByteArray &befehl)
{
    const QList<QByteArray> w = befehl.simplified().split(' ');
    const qsizetype p = w.indexOf("POWER");
    if ((p != 1 && p != 2) || w.size() != p + 2 || w.first() != "SET" || (w[p + 1] != "ON" && w[p + 1] != "OFF"))
        return std::nullopt;
    bool zahl = p == 1;
    const int bus = p == 1 ? 0 : w[1].toInt(&zahl);
    if (!zahl || bus < 0)
        return std::nullopt;
    return Schaltung {bus, w[p + 1] == "ON"};
}

void Fahrstrom::Angenommen(const QByteArray &befehl)
{
    const auto s = Befehl(befehl);
    if (s && !Gemeldet)
        Setzen(s->Bus, s->Ein);
}

void Fahrstrom::Bericht(const Antwort &antwort)
{
    const QList<QByteArray> &f = antwort.Felder;
    if ((antwort.Code != 100 && antwort.Code != 101) || f.size() < 4 || f[0] != "INFO" || f[2] != "POWER"
        || (f[3] != "ON" && f[3] != "OFF"))
        return;
    bool zahl = false;
    const int bus = f[1].toInt(&zahl);
    if (!zahl || bus < 1)
        return;
    if (!Gemeldet)
        Busse.clear();
    Gemeldet = true;
    Setzen(bus, f[3] == "ON");
}

void Fahrstrom::Setzen(int bus, bool ein)
{
    if (bus == 0)
        Busse.clear();
    else
        Busse.remove(0);
    Busse.insert(bus, ein);
    if (ein)
        NothaltAktiv = false;
}

void Fahrstrom::Nothalt()
{
    NothaltAktiv = true;
}

void Fahrstrom::Vergessen()
{
    Busse.clear();
    Gemeldet = false;
    NothaltAktiv = false;
}

QString Fahrstrom::Text() const
{
    if (NothaltAktiv)
        return QStringLiteral("Nothalt");
    const QList<bool> werte = Busse.values();
    if (werte.isEmpty())
        return QStringLiteral("Strom ?");
    if (!werte.contains(false))
        return QStringLiteral("Strom ein");
    if (!werte.contains(true))
        return QStringLiteral("Strom aus");
    QStringList teile;
    for (auto it = Busse.begin(); it != Busse.end(); ++it)
        teile.append(QStringLiteral("%1 %2").arg(it.key()).arg(it.value() ? "ein" : "aus"));
    return QStringLiteral("Strom: Bus ") + teile.join(QStringLiteral(", Bus "));
}

Ampel Fahrstrom::Farbe() const
{
    const QList<bool> werte = Busse.values();
    if (NothaltAktiv || (!werte.isEmpty() && !werte.contains(true)))
        return Ampel::Rot;
    if (werte.isEmpty())
        return Ampel::Grau;
    return werte.contains(false) ? Ampel::Gelb : Ampel::Gruen;
}

QString Fahrstrom::Tooltip() const
{
    QStringList zeilen;
    if (NothaltAktiv)
        zeilen.append(QStringLiteral("Nothalt gesendet: Strom aus auf allen Bussen"));
    if (Busse.isEmpty())
        zeilen.append(QStringLiteral("Fahrstrom unbekannt"));
    else
        zeilen.append(Gemeldet ? QStringLiteral("Fahrstrom, wie der Server ihn meldet:")
                               : QStringLiteral("Fahrstrom, wie zuletzt gesendet:"));
    for (auto it = Busse.begin(); it != Busse.end(); ++it)
        zeilen.append((it.key() == 0 ? QStringLiteral("Anlage") : QStringLiteral("Bus %1").arg(it.key()))
                      + (it.value() ? QStringLiteral(" ein") : QStringLiteral(" aus")));
    return zeilen.join('\n');
}
