#pragma once

#include "bahncalc/antworten.h"
#include "srcpproto/Verbindungslage.h"

#include <QMap>
#include <optional>

// The track power as the power indicator shows it: per bus as the server
// last reported it on an info session ("INFO <bus> POWER ON|OFF"); as long
// as no session reports it, the power command last sent that the server did
// not refuse. Bus 0 stands for the whole layout of SRCP 0.7.3.
class Fahrstrom
{
public:
    // The bus and state a power command sets: "SET POWER ON" (bus 0) or
    // "SET <bus> POWER OFF"; nothing for any other line.
    struct Schaltung
    {
        int Bus;
        bool Ein;
    };
    static std::optional<Schaltung> Befehl(const QByteArray &befehl);

    // A power command the server accepted (SRCP 0.8) or that went out
    // where no reply comes (SRCP 0.7.3).
    void Angenommen(const QByteArray &befehl);
    // A line of an info session; power reports count from now on.
    void Bericht(const Antwort &antwort);
    // The emergency stop went out; it shows until power comes on again.
    void Nothalt();
    // A new or closed connection: nothing is known.
    void Vergessen();

    QString Text() const;
    Ampel Farbe() const;
    QString Tooltip() const;

private:
    void Setzen(int bus, bool ein);

    QMap<int, bool> Busse;
    bool Gemeldet = false;
    bool NothaltAktiv = false;
};
