#pragma once

#include "bahncalc/busse.h"
#include "bahncalc/zubehoer.h"
#include "srcpproto/BahnZustand.h"
#include "srcpproto/Impulsfolgen.h"
#include "srcpproto/OffeneBefehle.h"
#include "srcpproto/Sitzung.h"

#include <QHash>
#include <functional>

class TcpClient;

// The SRCP operations of the program: the settings file, the opening
// exchange of an SRCP 0.8 session and the accessory and locomotive commands.
class Cbahn
{
public:
    using Protokoll = Meldung;

    // protokoll: appends to the protocol log; melden: shows a message that
    // the user must see (the status bar) as well; fehler: shows an error
    // that ended a pulse's continuation (a picture that cannot be drawn).
    Cbahn(BahnZustand &zustand, TcpClient &commandSocket, Protokoll protokoll, Protokoll melden,
          Protokoll fehler = {});

    void LoadParameters();
    // Writes the settings file, then the side file. The first write of a
    // run that has not read the existing file completely keeps that file as
    // parmc.dat.bak first. Nothing is written where DatenSchreibbar() found
    // that this user cannot write.
    void SaveParameters();
    // Data/velmo.ini, the side file of the settings that parmc.dat has no line for.
    QString SeitenPfad() const;
    // Writes the side file, unless DatenSchreibbar() found that this user cannot write.
    void SaveSideSettings();
    // Whether this user can create files in Data/ at all, tried once with
    // a scratch file: a program installed into a folder it does not own
    // says so once and skips its saves instead of failing at every one.
    bool DatenSchreibbar();
    // The settings file exists, but this run has neither read it completely
    // nor written it: the next save keeps it as parmc.dat.bak.
    bool SicherungFaellig() const;
    // The name of the kept copy.
    QString SicherungsName() const;

    // The opening exchange of an SRCP 0.8 command session, waiting for the
    // server's replies while the interface keeps running; once the session
    // has begun, the server is asked which buses it has.
    void StartSession();
    // A new connection: every locomotive and accessory is announced again
    // before its first command, and the buses are those of the command texts
    // until the server describes its own.
    void NeueSitzung();

    // Sends command text (lines ended by LF) on the command connection.
    // Under SRCP 0.8 each line awaits its reply; `auswertung` acts on the
    // reply to each line.
    void Senden(const QByteArray &daten, OffeneBefehle::Auswertung auswertung = {});
    // Learns every command line the server took or refused: under SRCP 0.8
    // with its reply, under SRCP 0.7.3, which sends none, as it goes out
    // (with a reply that is no reply line). A refusal is shown here, in
    // place of the reply line.
    std::function<void(const QByteArray &befehl, const Antwort &antwort)> Beantwortet;
    // A reply on the command connection, handed to the command it answers.
    // Returns whether the reply line is still to be shown as it came.
    bool AntwortErhalten(const Antwort &antwort);
    // Switches track power on every bus that has it.
    void Power(bool ein);
    // The buses of the server as far as it has described them.
    const ServerBusse &Busse() const { return ServerBusseListe; }

    // Pulses one accessory output: on, 5000 ms, off, then `danach`. The
    // pulse runs on its own timer and this returns after the "on"; nothing
    // is sent while the command connection is closed, and `danach` then
    // runs at once.
    void SwitchAccessory(const QByteArray &protocol, int decoderAddress, int output,
                         std::function<void()> danach = {});
    // Pulses several outputs at once: every "on" in the given order, one
    // pulse time, every "off" in the same order. Outputs that cannot be
    // switched (decoder below 1, output below 0) are left out.
    void SwitchAccessories(const QList<Zubehoerausgang> &ausgaenge, std::function<void()> danach = {});
    // Pulses the steps one after the other, each with its continuation;
    // returns the sequence's number while it runs (see Impulsfolgen).
    int Schalten(QList<Impulsschritt> schritte);
    // The pulses on the air and their sequences.
    Impulsfolgen Impulse;
    // Sends the drive command of locomotive locoIndex (0 to 39).
    void SendLocoCommand(int locoIndex);
    // The SRCP 0.8 initialisation text; the bus and protocol version of a
    // code come from ProtocolBus/ProtocolVersion of the command texts.
    QByteArray BuildLocoInit(int locoIndex) const;

    // The 5000 ms between switching an output on and off.
    int Schaltimpuls = 5000;

private:
    QString ParameterPfad() const;
    // Sends the "on" lines of the outputs that can be switched (under SRCP
    // 0.8 announcing their addresses first) and returns their "off" lines;
    // nothing while the command connection is closed.
    QList<QByteArray> Einschalten(const QList<Zubehoerausgang> &ausgaenge);
    void BusseErfragen();
    // The evaluation of an INIT: `beantwortet` learns whether the server
    // accepted it; after any other reply the next use announces again.
    static OffeneBefehle::Auswertung InitAuswertung(std::function<void(bool angenommen)> beantwortet);
    // Announces the accessory address under SRCP 0.8 unless it is announced
    // or its announcement awaits the reply.
    void ZubehoerAnmelden(const QByteArray &protocol, int address);

    BahnZustand &Zustand;
    TcpClient &Command_Socket;
    Protokoll Protokollieren;
    Protokoll Melden;
    // The settings file on disk is the one this run read or wrote.
    bool DateiUebernommen = false;
    bool Schreibbar = true;
    ServerBusse ServerBusseListe;
    OffeneBefehle Offen;
    // Accessory addresses (bus, address) announced to the server in this
    // session: true once the server accepted the INIT, false while it has
    // not answered yet.
    QHash<std::pair<int, int>, bool> AngemeldeteZubehoere;
    // Locomotives (index) whose INIT awaits its reply, with that INIT.
    QHash<int, QByteArray> LokAnmeldungen;
};
