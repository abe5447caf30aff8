#include "Velmo/TForm1.h"

#include "Velmo/LeseThreads.h"
#include "Velmo/TStatusLeiste.h"
#include "bahncalc/antworten.h"
#include "bahncalc/betrieb.h"
#include "bahncalc/servertexte.h"
#include "hilfen/texte.h"

#include <QAction>
#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QThread>

#include <exception>

namespace {

// The plain pause after opening a connection; the interface is not served.
constexpr int Oeffnungspause = 500;

// Starts a reader on the connection just opened, ending the reader of the
// previous connection first.
template<class Thread>
void LeserStarten(std::unique_ptr<Thread> &thread, TcpClient &socket, TForm1 &form)
{
    QThread::msleep(Oeffnungspause);
    thread.reset();
    thread = std::make_unique<Thread>(socket.verbindung(), form);
    thread->start();
}

template<class Thread>
void LeserBitten(const std::unique_ptr<Thread> &thread)
{
    if (thread)
        thread->Beenden();
}

} // namespace

// Opens one connection and starts its reader; a failure is shown as
// "Fehler <name>:" with the system's text (unless `still`) and leaves the
// connection closed.
template<class Thread>
bool TForm1::Oeffnen(TcpClient &socket, bool &verbunden, std::unique_ptr<Thread> &thread, const char *name,
                     const std::function<void()> &geoeffnet, bool still)
{
    try {
        socket.connect();
        verbunden = true;
        if (geoeffnet)
            geoeffnet();
        LeserStarten(thread, socket, *this);
        return true;
    } catch (const VelmoFehler &fehler) {
        Verbindungsfehler = fehler.Text;
        if (!still)
            Dialog->Meldung(QStringLiteral("Fehler %1:\r%2").arg(QLatin1String(name), fehler.Text),
                            QStringLiteral("Fehler"), Dialoge::Art::Fehler);
        socket.disconnect();
        verbunden = false;
        return false;
    }
}

void TForm1::Hostverbinden1Click()
{
    Neuverbinden->Abbrechen();
    AbfrageWiederOeffnen = false;
    Verbinden(0);
}

bool TForm1::Verbinden(int versuch)
{
    Lage.Verbinde(versuch);
    Strom.Vergessen();
    Abgelehnt.Leeren();
    LageZeigen();
    StromZeigen();
    MarkenZeigen();
    const bool offen = Oeffnen(
        Command_Socket, CommandConnected, ClientThread, "CommandSocket",
        [this] {
            Hostverbinden1->setEnabled(false);
            Bahn->NeueSitzung();
            Lage.Verbunden(SrcpVersion);
        },
        versuch > 0);
    if (!offen) {
        Hostverbinden1->setEnabled(true);
        Lage.Getrennt(Verbindungsfehler);
    }
    // "Host trennen" during the connect meant the whole connect.
    if (Command_Socket.abgebrochen())
        return false;
    LageZeigen();

    // The info connection is tried whatever the opening exchange brought;
    // an error of the exchange is reported after that.
    std::exception_ptr fehler;
    try {
        if (Command_Socket.connected()) {
            if (SprichtSrcp08(SrcpVersion)) {
                Bahn->StartSession();
                Lage.Sitzung(SessionId);
            } else {
                Bahn->Senden("SET POWER ON\n");
            }
        }
    } catch (const std::exception &) {
        fehler = std::current_exception();
    }
    if (CommandConnected)
        LageZeigen();

    if (InfoMode > 0 && Oeffnen(Info_Socket, InfoConnected, InfoThread, "InfoSocket", {}, versuch > 0)
        && SprichtSrcp08(SrcpVersion))
        InfoSitzungEroeffnen(Info_Socket, InfoSitzung);
    if (fehler)
        std::rethrow_exception(fehler);
    return CommandConnected && Command_Socket.connected() && Lage.Jetzt() == Verbindungslage::Stufe::Verbunden;
}

void TForm1::Hosttrennen1Click()
{
    Neuverbinden->Abbrechen();
    AbfrageWiederOeffnen = false;
    Trennen();
}

// Every running pulse sends its "off" while the connection still holds.
void TForm1::Trennen()
{
    Bahn->Impulse.AlleBeenden();
    Hostverbinden1->setEnabled(true);
    if (CommandConnected)
        LeserBitten(ClientThread);
    Command_Socket.disconnect();
    CommandConnected = false;
    if (InfoConnected)
        LeserBitten(InfoThread);
    Info_Socket.disconnect();
    InfoConnected = false;
    Lage.Getrennt();
    Strom.Vergessen();
    LageZeigen();
    StromZeigen();
}

// Nothing can be sent any more: the pulses end without their "off", and
// the user learns how many outputs may have stayed on. With the automatic
// reconnect on, the tries begin.
void TForm1::VerbindungVerloren()
{
    Bahn->Impulse.AlleBeenden();
    const int eingeschaltet = Bahn->Impulse.MoeglichEingeschaltet();
    const bool abfrage = AbfrageWiederOeffnen || PollConnected;
    Trennen();
    if (PollConnected)
        Abfragebeenden1Click();
    Rueck->RueckmeldungReset();
    VerlustZusatz.clear();
    if (eingeschaltet == 1)
        VerlustZusatz = QStringLiteral(", 1 Ausgang kann noch eingeschaltet sein");
    else if (eingeschaltet > 1)
        VerlustZusatz = QStringLiteral(", %1 Ausgänge können noch eingeschaltet sein").arg(eingeschaltet);
    StatusBar1->SetzeText(0, QStringLiteral("Verbindung zum Server verloren") + VerlustZusatz);
    Lage.Verloren();
    LageZeigen();
    AbfrageWiederOeffnen = abfrage && Seite.AutomatischNeuVerbinden;
    if (Seite.AutomatischNeuVerbinden)
        Neuverbinden->Starten();
}

void TForm1::InfoVerloren()
{
    LeserBitten(InfoThread);
    Info_Socket.disconnect();
    InfoConnected = false;
    StatusBar1->SetzeText(0, QStringLiteral("Verbindung zum Server verloren (Info)"));
}

// The contacts would keep showing what the server last said.
void TForm1::RueckmeldungVerloren()
{
    Abfragebeenden1Click();
    Rueck->RueckmeldungReset();
    AbfrageWiederOeffnen = true;
    StatusBar1->SetzeText(0, QStringLiteral("Verbindung zum Server verloren (Rückmeldung)"));
}

void TForm1::FormCloseQuery(bool &CanClose)
{
    Bahn->Impulse.AlleBeenden();
    CanClose = !Command_Socket.connected();
    if (!CanClose) {
        Dialog->Meldung(QStringLiteral("Velmo ist noch mit dem Server verbunden, bitte erst die Verbindung schliessen!"),
                        QStringLiteral("Fehler"), Dialoge::Art::Information);
        return;
    }
    // A failed save of unsaved changes keeps the window open.
    CanClose = false;
    Geschuetzt(*Dialog, [&] { CanClose = SchliessenGefragt || AenderungenBehandelt(); });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    bool CanClose = true;
    FormCloseQuery(CanClose);
    if (CanClose)
        event->accept();
    else
        event->ignore();
}

// Every reader ends and is joined before the window goes, so no thread
// outlives the program; a reader's destructor shuts its connection down.
void TForm1::LeserBeenden()
{
    ClientThread.reset();
    InfoThread.reset();
    PollThread.reset();
}

void TForm1::Abfragestarten1Click()
{
    AbfrageOeffnen(false);
}

bool TForm1::AbfrageOeffnen(bool still)
{
    Abfragestarten1->setEnabled(false);
    reset1->setEnabled(false);
    Rueck->NeueSitzung();
    if (!Oeffnen(Poll_Socket, PollConnected, PollThread, "PollSocket", {}, still)) {
        Abfragestarten1->setEnabled(true);
        return false;
    }
    if (SprichtSrcp08(SrcpVersion))
        InfoSitzungEroeffnen(Poll_Socket, PollSitzung);
    return true;
}

void TForm1::InfoSitzungEroeffnen(TcpClient &socket, Infositzung &sitzung)
{
    const Sitzungskanal kanal{[&socket](const QByteArray &line) { socket.writeLine(line); }, sitzung.Reply,
                              sitzung.SessionIdText, sitzung.SessionId};
    SitzungEroeffnen(
        kanal, "INFO", QStringLiteral("Info"), [this](const QString &zeile) { ProtokollZeile(zeile); },
        [this](const QString &meldung) { StatusMelden(meldung); });
}

void TForm1::ProtokollZeile(const QString &zeile)
{
    Memo1->appendPlainText(zeile);
}

void TForm1::StatusMelden(const QString &meldung)
{
    StatusBar1->SetzeText(1, meldung);
}

void TForm1::Abfragebeenden1Click()
{
    if (PollConnected) {
        LeserBitten(PollThread);
        Poll_Socket.disconnect();
        PollConnected = false;
    }
    Abfragestarten1->setEnabled(true);
    reset1->setEnabled(true);
}

void TForm1::reset1Click()
{
    Rueck->RueckmeldungReset();
}

void TForm1::PowerSenden(bool ein)
{
    StromWunsch = ein;
    if (Command_Socket.connected())
        Bahn->Power(ein);
}

void TForm1::Poweron1Click()
{
    PowerSenden(true);
}

void TForm1::Poweroff1Click()
{
    PowerSenden(false);
}

void TForm1::freieBefehle1Click()
{
    QString befehl;
    if (Dialog->Eingabe(QStringLiteral("Befehlseingabe"), QStringLiteral("z.B. SET GA M 16 1 1 500"), befehl)
        && Command_Socket.connected())
        Bahn->Senden(befehl.toUtf8() + "\r\n");
}

// A reply goes to the command it answers first, whose evaluation may show
// a refusal with its command in place of the bare line. The server's
// greeting names the versions it speaks.
void TForm1::KommandoZeile(const QByteArray &line)
{
    const QString text = AnzeigeKuerzen(QString::fromUtf8(line), ZeilenZeichen);
    Memo1->appendPlainText(text);
    if (IstGruss(line)) {
        const QString hinweis = VersionsHinweis(line, SrcpVersion);
        Lage.Gruss(line, hinweis);
        LageZeigen();
        if (!hinweis.isEmpty())
            SendehinweisZeigen(hinweis);
    }
    const Antwort antwort = ZerlegeAntwort(line);
    AntwortMerken(antwort, CommandReply, SessionIdText);
    if (!antwort.Gueltig || Bahn->AntwortErhalten(antwort))
        StatusBar1->SetzeText(1, text);
}

// An info session reports the track power of every bus.
void TForm1::InfoZeile(const QByteArray &line)
{
    StatusBar1->SetzeText(2, AnzeigeKuerzen(QString::fromUtf8(line), ZeilenZeichen));
    const Antwort antwort = ZerlegeAntwort(line);
    AntwortMerken(antwort, InfoSitzung.Reply, InfoSitzung.SessionIdText);
    Strom.Bericht(antwort);
    StromZeigen();
}

// A contact report of a bus other than the plan's is only shown as it came.
void TForm1::PollZeile(const QByteArray &line)
{
    const Antwort antwort = ZerlegeAntwort(line);
    AntwortMerken(antwort, PollSitzung.Reply, PollSitzung.SessionIdText);
    if (Rueck->ZeileVerarbeiten(line) == Crueck::Zeilenart::AndererBus)
        StatusBar1->SetzeText(2, AnzeigeKuerzen(QString::fromUtf8(line), ZeilenZeichen));
    if (SprichtSrcp08(SrcpVersion)) {
        Strom.Bericht(antwort);
        StromZeigen();
    }
}
