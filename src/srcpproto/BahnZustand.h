#pragma once

#include "bahncalc/version.h"
#include "lokunit/cLocoInfo.h"
#include "srcpproto/Seitendatei.h"

#include <QByteArray>
#include <QString>

// What the opening exchange of an SRCP 0.8 info session (the info or the
// poll connection) learns from the server's replies.
struct Infositzung
{
    QByteArray Reply;
    QByteArray SessionIdText;
    int SessionId = 0;
};

// The connection settings, the state of the three connections and the
// locomotive records, as the main window keeps them for the whole run.
struct BahnZustand
{
    QString WorkDir;
    QByteArray ServerHost = "localhost";
    int ServerPort = 12345;
    int SrcpVersion = SrcpVersion073;
    int InfoMode = 0;
    // The settings of Data/velmo.ini.
    Seiteneinstellungen Seite;

    bool CommandConnected = false;
    bool InfoConnected = false;
    bool PollConnected = false;
    int SessionId = 0;
    QByteArray CommandReply;
    QByteArray SessionIdText;
    Infositzung InfoSitzung;
    Infositzung PollSitzung;

    LokTabelle Lokomotiven;
};

// The base port P of the server: P + 2 must still be a port.
constexpr int KleinsterPort = 1;
constexpr int GroessterPort = 65533;
constexpr bool PortGueltig(qint64 port)
{
    return port >= KleinsterPort && port <= GroessterPort;
}
// The ports of the three connections for base port P. SRCP 0.7.3 serves
// commands on P, feedback (poll) on P + 1 and info on P + 2; an SRCP 0.8
// server serves every session on P and tells them apart by their opening
// exchange.
struct SrcpPorts
{
    int Command;
    int Poll;
    int Info;
};
constexpr SrcpPorts Ports(int srcpVersion, int basePort)
{
    if (SprichtSrcp08(srcpVersion))
        return {basePort, basePort, basePort};
    return {basePort, basePort + 1, basePort + 2};
}

// A port typed into the connection dialog: a decimal integer outside the
// range raises "Ungültiger Port: <text> (1 bis 65533)"; any other text
// passes, to be converted (and refused if it is no number) by the caller.
void PortPruefen(const QString &text);

// The settings file Data/parmc.dat: port, host, version, info mode and the
// first GespeicherteLoks locomotive records, 164 lines.

// Reads the file, assigning every value as soon as it is read; raises
// VelmoFehler at the first failure, keeping what was read before it. A port
// outside the range counts as a failure like a line that holds no number.
void LiesParameterDatei(const QString &path, BahnZustand &zustand);
// Writes the file through a temporary file; the old file survives a failure.
void SchreibeParameterDatei(const QString &path, const BahnZustand &zustand);
