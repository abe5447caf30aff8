#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>

// What the simulated layout remembers, shared by all command connections.
struct LayoutState
{
    static constexpr int BusCount = 3; // buses 1 to 3

    struct Accessory
    {
        QMap<int, int> portValues; // port -> last value set
    };
    struct Loco
    {
        int driveMode = 1;
        int speed = 0;
        int vmax = 0;
        QList<int> functions{0}; // f0, f1, ...
    };

    // Devices known through INIT, keyed by (bus, address).
    QMap<QPair<int, int>, Accessory> accessories;
    QMap<QPair<int, int>, Loco> locos;
    bool power[BusCount + 1] = {};
    int nextSessionId = 1;
};

// The answer to one line received on a command connection.
struct SessionOutput
{
    QList<QByteArray> replies; // for this client, without line end
    QList<QByteArray> reports; // for every info client, without line end
    QByteArray rejected;       // why the line was refused, for the log
};

// One command connection. It starts in SRCP 0.7.3 mode, where accepted
// commands get no reply, as with an old server. The SRCP 0.8 opening lines
// "SET CONNECTIONMODE SRCP COMMAND" and "GO" switch it to an SRCP 0.8
// command session, in which every line gets exactly one reply.
class CommandSession
{
public:
    enum class Mode { Srcp073, Handshake, Srcp08 };

    explicit CommandSession(LayoutState &layout);

    SessionOutput handleLine(const QByteArray &line);

    Mode mode() const { return CurrentMode; }
    int sessionId() const { return SessionId; }

private:
    bool handleOpening(const QList<QByteArray> &words, SessionOutput &out);
    SessionOutput handle073(const QList<QByteArray> &words);
    SessionOutput handle08(const QList<QByteArray> &words);
    SessionOutput accessory08(const QByteArray &command, int bus, const QList<QByteArray> &args);
    SessionOutput loco08(const QByteArray &command, int bus, const QList<QByteArray> &args);
    SessionOutput power08(const QByteArray &command, int bus, const QList<QByteArray> &args);

    LayoutState &Layout;
    Mode CurrentMode = Mode::Srcp073;
    bool CommandModeChosen = false;
    int SessionId = 0;
};

// SRCP time stamp: Unix time in seconds with three decimals, "1796762107.242".
QByteArray srcpTimestamp();
