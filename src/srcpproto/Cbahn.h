#pragma once

#include "srcpproto/BahnZustand.h"

#include <QSet>
#include <functional>

class TcpClient;

// The SRCP operations of the program: the settings file, the opening
// exchange of an SRCP 0.8 session and the accessory and locomotive commands.
class Cbahn
{
public:
    using Protokoll = std::function<void(const QString &)>;

    // protokoll: appends to the protocol log; melden: shows a message that
    // the user must see (the status bar) as well.
    Cbahn(BahnZustand &zustand, TcpClient &commandSocket, Protokoll protokoll, Protokoll melden);

    void LoadParameters();
    // Writes the settings file. The first write of a run that has not read
    // the existing file completely keeps that file as parmc.dat.bak first.
    void SaveParameters();
    // The settings file exists, but this run has neither read it completely
    // nor written it: the next save keeps it as parmc.dat.bak.
    bool SicherungFaellig() const;
    // The name of the kept copy.
    QString SicherungsName() const;

    // The opening exchange of an SRCP 0.8 session, waiting for the server's
    // replies while the interface keeps running.
    void StartSession();
    // A new connection: every locomotive and accessory is announced again
    // before its first command.
    void NeueSitzung();

    // Pulses one accessory output: on, 5000 ms, off. Nothing is sent while
    // the command connection is closed.
    void SwitchAccessory(const QByteArray &protocol, int decoderAddress, int output);
    // Sends the drive command of locomotive locoIndex (0 to 39).
    void SendLocoCommand(int locoIndex);
    // The SRCP 0.8 initialisation text; the bus and protocol version of a
    // code come from ProtocolBus/ProtocolVersion of the command texts.
    QByteArray BuildLocoInit(int locoIndex) const;

    // The 5000 ms between switching an output on and off.
    int Schaltimpuls = 5000;

private:
    QString ParameterPfad() const;
    bool ErwarteOk(const QString &fehlertext);
    void AntwortVergessen();

    BahnZustand &Zustand;
    TcpClient &Command_Socket;
    Protokoll Protokollieren;
    Protokoll Melden;
    // The settings file on disk is the one this run read or wrote.
    bool DateiUebernommen = false;
    // Accessory addresses (bus, address) announced to the server in this session.
    QSet<std::pair<int, int>> AngemeldeteZubehoere;
};
