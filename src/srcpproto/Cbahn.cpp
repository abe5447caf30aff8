#include "srcpproto/Cbahn.h"

#include "bahncalc/betrieb.h"
#include "bahncalc/lokbefehle.h"
#include "bahncalc/zubehoer.h"
#include "hilfen/fehler.h"
#include "hilfen/textdatei.h"
#include "hilfen/texte.h"
#include "sockets/TcpClient.h"

#include <QFileInfo>
#include <QTemporaryFile>

Cbahn::Cbahn(BahnZustand &zustand, TcpClient &commandSocket, Protokoll protokoll, Protokoll melden, Protokoll fehler)
    : Impulse({[this](const QList<Zubehoerausgang> &ausgaenge) { return Einschalten(ausgaenge); },
               [this] { return Zustand.CommandConnected && Command_Socket.connected(); },
               [this](const QByteArray &zeile) { Senden(zeile); },
               [fehler = std::move(fehler)](const QString &text) {
                   if (fehler)
                       fehler(text);
               }})
    , Zustand(zustand)
    , Command_Socket(commandSocket)
    , Protokollieren(std::move(protokoll))
    , Melden(std::move(melden))
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
    if (!Schreibbar)
        return;
    if (SicherungFaellig())
        DateiKopieren(ParameterPfad(), Zustand.WorkDir + "Data/" + SicherungsName());
    SchreibeParameterDatei(ParameterPfad(), Zustand);
    DateiUebernommen = true;
    SaveSideSettings();
}

QString Cbahn::SeitenPfad() const
{
    return Zustand.WorkDir + "Data/velmo.ini";
}

void Cbahn::SaveSideSettings()
{
    if (Schreibbar)
        SchreibeSeitendatei(SeitenPfad(), Zustand.Seite, Zustand.Lokomotiven);
}

bool Cbahn::DatenSchreibbar()
{
    QTemporaryFile probe(Zustand.WorkDir + "Data/.velmo-XXXXXX");
    Schreibbar = probe.open();
    return Schreibbar;
}

void Cbahn::StartSession()
{
    const Sitzungskanal kanal{[this](const QByteArray &line) { Senden(line + "\r\n"); }, Zustand.CommandReply,
                              Zustand.SessionIdText, Zustand.SessionId};
    if (SitzungEroeffnen(kanal, "COMMAND", QStringLiteral("Command"), Protokollieren, Melden))
        BusseErfragen();
}

// The replies arrive while the interface runs on; until they do, the
// commands go to the buses of the command texts.
void Cbahn::BusseErfragen()
{
    for (int bus = 1; bus <= ServerBusse::HoechsterBus; ++bus)
        Senden(ServerBusse::Frage(bus) + "\r\n", [this, bus](const QByteArray &, const Antwort &antwort) {
            ServerBusseListe.Beschreibung(bus, antwort);
            // "No such bus" is an answer, not a failure.
            return antwort.Code != 412;
        });
}

void Cbahn::NeueSitzung()
{
    Zustand.CommandReply.clear();
    Zustand.SessionIdText.clear();
    Offen.Leeren();
    ServerBusseListe = ServerBusse();
    for (cLocoInfo &lok : Zustand.Lokomotiven)
        lok.Initialisiert = cLocoInfo::Unbekannt;
    LokAnmeldungen.clear();
    AngemeldeteZubehoere.clear();
}

// A refused command goes to the log with the command it answers, so the
// log shows what failed in the server's own words.
void Cbahn::Senden(const QByteArray &daten, OffeneBefehle::Auswertung auswertung)
{
    if (SprichtSrcp08(Zustand.SrcpVersion)) {
        Offen.Gesendet(daten, [this, auswertung](const QByteArray &befehl, const Antwort &antwort) {
            if (auswertung && !auswertung(befehl, antwort))
                return false;
            if (Beantwortet)
                Beantwortet(befehl, antwort);
            if (!antwort.Fehler())
                return true;
            Protokollieren(QString::fromUtf8(befehl.trimmed() + ": " + antwort.Text));
            return !Beantwortet;
        });
    }
    Command_Socket.write(daten);
    if (!SprichtSrcp08(Zustand.SrcpVersion) && Beantwortet)
        for (const QByteArray &zeile : daten.split('\n'))
            if (!zeile.trimmed().isEmpty())
                Beantwortet(zeile.trimmed(), Antwort());
}

bool Cbahn::AntwortErhalten(const Antwort &antwort)
{
    return Offen.Beantwortet(antwort);
}

void Cbahn::Power(bool ein)
{
    for (const QByteArray &befehl : PowerBefehle(Zustand.SrcpVersion, ein, ServerBusseListe))
        Senden(befehl + "\r\n");
}

OffeneBefehle::Auswertung Cbahn::InitAuswertung(std::function<void(bool angenommen)> beantwortet)
{
    return [beantwortet](const QByteArray &, const Antwort &antwort) {
        beantwortet(antwort.Erfolg());
        return true;
    };
}

void Cbahn::SwitchAccessory(const QByteArray &protocol, int decoderAddress, int output, std::function<void()> danach)
{
    SwitchAccessories({{protocol, decoderAddress, output}}, std::move(danach));
}

void Cbahn::SwitchAccessories(const QList<Zubehoerausgang> &ausgaenge, std::function<void()> danach)
{
    Schalten({{ausgaenge, std::move(danach)}});
}

int Cbahn::Schalten(QList<Impulsschritt> schritte)
{
    return Impulse.Starten(std::move(schritte), Schaltimpuls);
}

QList<QByteArray> Cbahn::Einschalten(const QList<Zubehoerausgang> &ausgaenge)
{
    if (!Zustand.CommandConnected)
        return {};
    const bool srcp08 = SprichtSrcp08(Zustand.SrcpVersion);
    QList<QByteArray> ein, aus;
    for (const Zubehoerausgang &a : ausgaenge) {
        if (!ZubehoerSchaltbar(a.Dekoder, a.Ausgang))
            continue;
        const ZubehoerAdresse ziel = ZubehoerZiel(a.Dekoder, a.Ausgang);
        if (srcp08)
            ZubehoerAnmelden(a.Protokoll, ziel.Adresse);
        auto befehl = [&](int value) {
            return srcp08 ? ZubehoerBefehl80(a.Protokoll, ziel, value, ServerBusseListe)
                          : ZubehoerBefehl70(a.Protokoll, ziel, value);
        };
        ein.append(befehl(1));
        aus.append(befehl(0));
    }
    for (const QByteArray &befehl : ein)
        Senden(befehl);
    return aus;
}

void Cbahn::ZubehoerAnmelden(const QByteArray &protocol, int address)
{
    const std::pair<int, int> schluessel(ZubehoerBus80(protocol, ServerBusseListe), address);
    if (AngemeldeteZubehoere.contains(schluessel))
        return;
    AngemeldeteZubehoere.insert(schluessel, false);
    Senden(ZubehoerInit80(protocol, address, ServerBusseListe), InitAuswertung([this, schluessel](bool angenommen) {
               if (angenommen)
                   AngemeldeteZubehoere.insert(schluessel, true);
               else
                   AngemeldeteZubehoere.remove(schluessel);
           }));
}

void Cbahn::SendLocoCommand(int locoIndex)
{
    cLocoInfo &lok = Zustand.Lokomotiven.at(locoIndex);
    if (!Zustand.CommandConnected)
        return;
    if (Zustand.SrcpVersion == SrcpVersion073) {
        Senden(LokBefehl70(lok));
    } else if (Zustand.SrcpVersion == SrcpVersion080) {
        const QByteArray fahrbefehl = LokBefehl80(lok, ServerBusseListe);
        if (fahrbefehl.isEmpty())
            return;
        // A locomotive changed while its announcement awaits the reply is
        // announced anew; the reply to the old one no longer counts. One the
        // server refused is not announced again at every step of a drag,
        // only after a new connection or a change in its dialog.
        const QByteArray init = BuildLocoInit(locoIndex);
        if (lok.Initialisiert == cLocoInfo::Unbekannt && LokAnmeldungen.value(locoIndex) != init) {
            LokAnmeldungen.insert(locoIndex, init);
            Senden(init, InitAuswertung([this, locoIndex, init](bool angenommen) {
                       if (LokAnmeldungen.value(locoIndex) == init)
                           LokAnmeldungen.remove(locoIndex);
                       if (BuildLocoInit(locoIndex) == init)
                           Zustand.Lokomotiven[locoIndex].Initialisiert =
                               angenommen ? cLocoInfo::Angemeldet : cLocoInfo::Abgelehnt;
                   }));
        }
        Senden(fahrbefehl);
    }
}

QByteArray Cbahn::BuildLocoInit(int locoIndex) const
{
    return LokInit80(Zustand.Lokomotiven.at(locoIndex), ServerBusseListe);
}
