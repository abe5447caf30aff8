#include "srcpproto/Cbahn.h"

#include "bahncalc/lokbefehle.h"
#include "bahncalc/zubehoer.h"
#include "hilfen/fehler.h"
#include "hilfen/pause.h"
#include "hilfen/textdatei.h"
#include "hilfen/texte.h"
#include "sockets/TcpClient.h"

#include <QFileInfo>

Cbahn::Cbahn(BahnZustand &zustand, TcpClient &commandSocket, Protokoll protokoll, Protokoll melden)
    : Zustand(zustand), Command_Socket(commandSocket), Protokollieren(std::move(protokoll)), Melden(std::move(melden))
{
}

QString Cbahn::ParameterPfad() const
{
    return Zustand.WorkDir + "Data/parmc.dat";
}

QString Cbahn::SicherungsName() const
{
    return QStringLiteral("parmc.dat.bak");
}

void Cbahn::LoadParameters()
{
    LiesParameterDatei(ParameterPfad(), Zustand);
    DateiUebernommen = true;
}

bool Cbahn::SicherungFaellig() const
{
    return !DateiUebernommen && QFileInfo::exists(ParameterPfad());
}

// A settings file this run could not read may hold the user's locomotives
// and connection; it is kept before defaults or half-read values replace it.
void Cbahn::SaveParameters()
{
    if (SicherungFaellig())
        DateiKopieren(ParameterPfad(), Zustand.WorkDir + "Data/" + SicherungsName());
    SchreibeParameterDatei(ParameterPfad(), Zustand);
    DateiUebernommen = true;
}

bool Cbahn::ErwarteOk(const QString &fehlertext)
{
    if (Zustand.CommandReply == "OK")
        return true;
    Protokollieren(fehlertext);
    Melden(fehlertext);
    return false;
}

void Cbahn::StartSession()
{
    Zustand.SessionId = 0;
    Pause(1000);
    AntwortVergessen();
    Command_Socket.writeLine("SET CONNECTIONMODE SRCP COMMAND");
    Pause(500);
    if (!ErwarteOk(QStringLiteral("Der Command Modus konnte niht gestartet werden!")))
        return;
    AntwortVergessen();
    Command_Socket.writeLine("GO");
    Pause(1000);
    if (ErwarteOk(QStringLiteral("Die Session konnte nicht begonnen werden!")))
        Zustand.SessionId = StrToInt(TrimSteuerzeichen(QString::fromUtf8(Zustand.SessionIdText)));
    Protokollieren(QStringLiteral("SessionID :%1").arg(Zustand.SessionId));
}

// Each step of the handshake judges only the replies that arrive after its
// own line, never an "OK" left over from an earlier line or session.
void Cbahn::AntwortVergessen()
{
    Zustand.CommandReply.clear();
    Zustand.SessionIdText.clear();
}

void Cbahn::NeueSitzung()
{
    AntwortVergessen();
    for (cLocoInfo &lok : Zustand.Lokomotiven)
        lok.Initialisiert = 0;
    AngemeldeteZubehoere.clear();
}

void Cbahn::SwitchAccessory(const QByteArray &protocol, int decoderAddress, int output)
{
    if (!ZubehoerSchaltbar(decoderAddress, output))
        return;
    const ZubehoerAdresse ziel = ZubehoerZiel(decoderAddress, output);
    if (!Zustand.CommandConnected)
        return;
    const bool srcp08 = SprichtSrcp08(Zustand.SrcpVersion);
    auto befehl = [&](int value) {
        return srcp08 ? ZubehoerBefehl80(protocol, ziel, value) : ZubehoerBefehl70(protocol, ziel, value);
    };
    if (srcp08) {
        const std::pair<int, int> schluessel(ZubehoerBus(protocol), ziel.Adresse);
        if (!AngemeldeteZubehoere.contains(schluessel)) {
            Command_Socket.write(ZubehoerInit80(protocol, ziel.Adresse));
            AngemeldeteZubehoere.insert(schluessel);
        }
    }
    Command_Socket.write(befehl(1));
    Pause(Schaltimpuls);
    Command_Socket.write(befehl(0));
}

void Cbahn::SendLocoCommand(int locoIndex)
{
    cLocoInfo &lok = Zustand.Lokomotiven.at(locoIndex);
    if (!Zustand.CommandConnected)
        return;
    if (Zustand.SrcpVersion == SrcpVersion073) {
        Command_Socket.write(LokBefehl70(lok));
    } else if (Zustand.SrcpVersion == SrcpVersion080) {
        const QByteArray fahrbefehl = LokBefehl80(lok);
        if (fahrbefehl.isEmpty())
            return;
        if (lok.Initialisiert != 1) {
            Command_Socket.write(BuildLocoInit(locoIndex));
            lok.Initialisiert = 1;
        }
        Command_Socket.write(fahrbefehl);
    }
}

QByteArray Cbahn::BuildLocoInit(int locoIndex) const
{
    return LokInit80(Zustand.Lokomotiven.at(locoIndex));
}
