#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>

struct Antwort;

// The buses of an SRCP 0.8 server and the device groups each one serves
// ("GA", "GL", "POWER", ...). Until the server describes them they are the
// buses the command texts name, 1 to 3, each serving every group, so a
// server that does not answer the questions gets the commands as always.
class ServerBusse
{
public:
    static constexpr int HoechsterBus = 3;

    ServerBusse();

    // The question for one bus: "GET <bus> DESCRIPTION".
    static QByteArray Frage(int bus);
    // Takes the reply to Frage(bus): "<t> 100 INFO <bus> DESCRIPTION <groups>"
    // describes the bus; "<t> 412 ERROR wrong value" means the server has no
    // such bus. Any other reply (a server that does not know the question)
    // changes nothing.
    void Beschreibung(int bus, const Antwort &antwort);
    // Takes a line of an info session, which describes every bus right
    // after GO in the same form; other lines change nothing.
    void Bericht(const Antwort &antwort);

    // The bus a command of `gruppe` goes to: `bus` itself when the server
    // has it and it serves the group, else the lowest bus that serves the
    // group; `bus` unchanged when none does.
    int Ziel(int bus, const QByteArray &gruppe) const;
    // Every bus that serves the group, ascending.
    QList<int> Mit(const QByteArray &gruppe) const;

private:
    QMap<int, QSet<QByteArray>> Gruppen;
};
