#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>

#include <array>
#include <map>
#include <optional>

// What the simulated layout remembers, shared by all sessions. The methods
// that change it return the lines that report the change to info clients,
// in the SRCP 0.8 form "<t> 100 INFO <bus> ...".
class LayoutState
{
public:
    // Accessory addresses a bus has: 1 to this.
    static constexpr int MaxAccessoryAddress = 512;
    // Function values a locomotive may carry: f0 and up to 31 more.
    static constexpr int MaxFunctions = 32;

    struct Accessory
    {
        QByteArray protocol = "M";
        QMap<int, int> portValues; // port -> last value switched
    };
    struct Loco
    {
        QByteArray protocol = "N"; // from INIT: protocol, version, steps, functions
        int version = 1;
        int speedSteps = 128;
        int functionCount = 1;
        int driveMode = 0; // the state, as SET sends it
        int speed = 0;
        int vmax = 0;
        QList<int> functions; // f0, f1, ...
    };

    // `srcp08Server`: the simulator serves SRCP 0.8 info sessions, which
    // learn of INITs too and see accessory commands only once the bus has
    // power; until then those wait. Otherwise they are carried out at once.
    LayoutState(const QList<int> &buses, bool srcp08Server);

    bool srcp08Server() const { return Srcp08Server; }
    bool hasBus(int bus) const { return Buses.count(bus) != 0; }
    int lowestBus() const { return Buses.begin()->first; }
    QList<int> buses() const;
    int nextSessionId() { return NextSessionId++; }

    // Description of bus 0 (the server) or of an existing bus, "DESCRIPTION ...".
    static QByteArray description(int bus);
    // "ON", or "OFF" followed by why, e.g. "OFF AUTO POWER OFF" before
    // anyone switched the bus.
    QByteArray powerText(int bus) const;
    QList<QByteArray> setPower(int bus, bool on);

    // INIT of a device; the report is for info sessions only.
    QByteArray initAccessory(int bus, int address, const QByteArray &protocol);
    QByteArray initLoco(int bus, int address, const Loco &init);
    Accessory *accessory(int bus, int address);
    Loco *loco(int bus, int address);
    void termAccessory(int bus, int address) { Accessories.remove({bus, address}); }
    void termLoco(int bus, int address) { Locos.remove({bus, address}); }
    // Switches an accessory's port, or keeps the command until the bus has
    // power (see the constructor). In SRCP 0.8 server mode an accessory that
    // is not INITed when the command is carried out gets INITed then with
    // the default protocol "P", reported before the switch, as a real
    // server does.
    QList<QByteArray> switchAccessory(int bus, int address, int port, int value);
    // "<drive mode> <V> <Vmax> <f0> ..."
    static QByteArray locoState(const Loco &loco);
    QByteArray locoReport(int bus, int address) const;

    int contact(int bus, int contact) const { return Buses.at(bus).contacts.value(contact, 0); }
    // The report when the contact's value changed.
    std::optional<QByteArray> setContact(int bus, int contact, int value);

    // What an SRCP 0.8 info session is told right after GO.
    QList<QByteArray> stateReport() const;

private:
    struct Bus
    {
        bool power = false;
        QByteArray offReason = "AUTO POWER OFF";
        QMap<int, int> contacts; // contact -> value; absent means 0
        QList<std::array<int, 3>> waitingSwitches; // address, port, value
    };

    QList<QByteArray> applySwitch(int bus, int address, int port, int value);
    static QByteArray locoInitReport(int bus, int address, const Loco &loco);
    static QByteArray accessoryInitReport(int bus, int address, const Accessory &accessory);

    bool Srcp08Server;
    std::map<int, Bus> Buses;
    QMap<QPair<int, int>, Accessory> Accessories; // keyed by (bus, address)
    QMap<QPair<int, int>, Loco> Locos;
    int NextSessionId = 1;
};

// SRCP time stamp: Unix time in seconds with three decimals, "1796762107.242".
QByteArray srcpTimestamp();
// "<t> <code> <text>"
QByteArray stamped(int code, const QByteArray &text);
