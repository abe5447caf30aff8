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

    Cbahn(BahnZustand &zustand, TcpClient &commandSocket, Protokoll protokoll);

    void LoadParameters();
    void SaveParameters();

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
    // Accessory addresses (bus, address) announced to the server in this session.
    QSet<std::pair<int, int>> AngemeldeteZubehoere;
};
