// SRCP 0.8: opening the sessions on the server's one port, and feedback on
// the poll session.
//
// 1. Connect: against srcpsim in 0.8 mode, the time from "Host verbinden"
//    (info mode on) until the server's "OK GO" of the info session has
//    reached the window, and until the routine has returned, when the info
//    session should have its id; min, median and max over RUNS connects,
//    disconnected in between, and in how many the window took the id.
// 2. Latency: a server in this program answers the poll session's opening
//    exchange and then sends REPORTS feedback reports 1 ms apart, noting
//    when it sent each; measured is the time from the send to the feedback
//    display having drawn the contact's picture on the plan (median and 99th
//    percentile). Baseline in the same run: the same exchange and reports
//    read by a plain thread from a socket.
//
//   QT_QPA_PLATFORM=offscreen build/bin/bench_srcp08 [RUNS] [REPORTS]
#include "Velmo/TForm1.h"
#include "benchhilfe.h"
#include "rueckplan.h"
#include "scripteddialoge.h"
#include "simprozess.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr int Kontakte = 8;

QByteArray Zeitstempel()
{
    return QByteArray::number(QDateTime::currentMSecsSinceEpoch() / 1000.0, 'f', 3);
}

// Report i: contact i % 8 + 1, occupied in even rounds over the contacts,
// free in odd ones, so every report changes the picture of its cell.
int Kontakt(int i)
{
    return i % Kontakte + 1;
}
int Wert(int i)
{
    return 1 - (i / Kontakte) % 2;
}

// A one-client SRCP 0.8 server on a loopback port: it greets, answers the
// opening exchange of an info session, and after Los sends `anzahl`
// feedback reports 1 ms apart, noting when it sent each.
class Meldeserver
{
public:
    explicit Meldeserver(int anzahl)
        : Netz([this, anzahl](int client) { bedienen(client, anzahl); })
    {
    }
    // Waits until the server has sent everything and the client has closed;
    // only then may Gesendet be read.
    void Ende() { Netz.Ende(); }

    std::atomic<bool> Los{false};
    std::vector<qint64> Gesendet;
    // Declared last: its thread starts once Los and Gesendet exist, and it
    // is joined before they go.
    Einzelserver Netz;

private:
    void bedienen(int client, int anzahl)
    {
        // Each report leaves at once, not held back until the client has
        // acknowledged the reply to GO.
        ohneVerzoegerung(client);
        allesSenden(client, "bench_srcp08; SRCP 0.8.4; SRCPOTHER 0.8.3\n");
        if (zeileLesen(client) == "SET CONNECTIONMODE SRCP INFO") {
            allesSenden(client, Zeitstempel() + " 202 OK CONNECTIONMODE\n");
            if (zeileLesen(client) == "GO") {
                allesSenden(client, Zeitstempel() + " 200 OK GO 7\n");
                while (!Los)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                for (int i = 0; i < anzahl; ++i) {
                    const QByteArray zeile = Zeitstempel() + " 100 INFO 1 FB " + QByteArray::number(Kontakt(i)) + ' '
                                             + QByteArray::number(Wert(i)) + '\n';
                    Gesendet.push_back(jetztNs());
                    allesSenden(client, zeile);
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            }
        }
        ausklingen(client);
    }
};

// Runs the event loop until `fertig` holds or `ms` have passed.
bool warten(const std::function<bool()> &fertig, int ms)
{
    const qint64 ende = jetztNs() + qint64(ms) * 1000000;
    while (!fertig() && jetztNs() < ende)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return fertig();
}

void zeigeSpanne(const char *name, const std::vector<double> &ms)
{
    std::printf("  %s min %7.1f ms, median %7.1f ms, max %7.1f ms\n", name, Quantil(ms, 0), Quantil(ms, 0.5),
                Quantil(ms, 1));
}

void zeigeLatenz(const char *name, const std::vector<double> &us)
{
    std::printf("  %s %s (%zu reports)\n", name, medianP99(us, 7).c_str(), us.size());
}

bool verbinden(TForm1 &form, int runs)
{
    // srcpsim in its SRCP 0.8 mode, beside the benchmark.
    SimProzess sim(QCoreApplication::applicationDirPath(), {"--srcp", "0.8", "--quiet"});
    if (sim.Port <= 0) {
        std::fprintf(stderr, "srcpsim did not start\n");
        return false;
    }
    form.ServerHost = "127.0.0.1";
    form.ServerPort = sim.Port;
    form.VerbindungenEinstellen();

    std::vector<double> goEmpfangen, zurueck;
    int mitId = 0;
    for (int run = 0; run < runs; ++run) {
        form.InfoSitzung = {};
        const qint64 start = jetztNs();
        // The reader hands "OK GO" to the window while the opening exchange
        // waits in its pause; a 1 ms timer sees the session id text arrive.
        qint64 goZeit = 0;
        QTimer wache;
        wache.setTimerType(Qt::PreciseTimer);
        QObject::connect(&wache, &QTimer::timeout, [&] {
            if (!goZeit && !form.InfoSitzung.SessionIdText.isEmpty())
                goZeit = jetztNs();
        });
        wache.start(1);
        form.Hostverbinden1Click();
        const qint64 ende = jetztNs();
        wache.stop();
        if (!form.CommandConnected || !form.InfoConnected || !goZeit) {
            std::fprintf(stderr, "connect %d: the server's \"OK GO\" of the info session did not arrive\n", run + 1);
            return false;
        }
        goEmpfangen.push_back((goZeit - start) / 1e6);
        zurueck.push_back((ende - start) / 1e6);
        mitId += form.InfoSitzung.SessionId > 0;
        form.Hosttrennen1Click();
        // The readers end and the simulator closes both sessions.
        warten([] { return false; }, 200);
    }
    std::printf("Host verbinden -> info session GO accepted (srcpsim --srcp 0.8, %d connects)\n", runs);
    zeigeSpanne("\"OK GO\" in the window:  ", goEmpfangen);
    zeigeSpanne("Host verbinden returned:", zurueck);
    std::printf("  info session id taken by the window in %d of %d connects\n", mitId, runs);
    return true;
}

bool latenz(TForm1 &form, int anzahl)
{
    std::vector<double> gezeichnet, basis;
    {
        std::vector<qint64> zeiten;
        int falsch = 0;
        form.Rueck = std::make_unique<Crueck>(
            form,
            [&](const QString &name, int x, int y) {
                form.IconZeichnen(name, x, y);
                const int i = int(zeiten.size());
                zeiten.push_back(jetztNs());
                if (x != 27 * (Kontakt(i) - 1) || name != QStringLiteral("Icon650%1.bmp").arg(Wert(i) + 1))
                    ++falsch;
            },
            [] {});
        Meldeserver server(anzahl);
        form.ServerPort = server.Netz.Port;
        form.VerbindungenEinstellen();
        form.Abfragestarten1Click();
        const bool begonnen = form.PollSitzung.SessionId == 7;
        server.Los = true;
        const bool alle = begonnen && warten([&] { return int(zeiten.size()) >= anzahl; }, 60000);
        form.Abfragebeenden1Click();
        server.Ende();
        if (!begonnen) {
            std::fprintf(stderr, "the poll session did not begin\n");
            return false;
        }
        if (!alle || falsch) {
            std::fprintf(stderr, "%zu of %d reports drawn, %d on the wrong cell or picture\n", zeiten.size(), anzahl,
                         falsch);
            return false;
        }
        for (int i = 0; i < anzahl; ++i)
            gezeichnet.push_back((zeiten[i] - server.Gesendet[i]) / 1e3);
    }
    {
        Meldeserver server(anzahl);
        TcpClient client;
        verbinde(client, server.Netz.Lauscher);
        client.readLine();
        client.writeLine("SET CONNECTIONMODE SRCP INFO");
        client.readLine();
        client.writeLine("GO");
        client.readLine();
        std::vector<qint64> zeiten;
        std::thread leser([&, verbindung = client.verbindung()] {
            for (int i = 0; i < anzahl; ++i) {
                verbindung->readLine();
                zeiten.push_back(jetztNs());
            }
        });
        server.Los = true;
        leser.join();
        client.disconnect();
        server.Ende();
        for (int i = 0; i < anzahl; ++i)
            basis.push_back((zeiten[i] - server.Gesendet[i]) / 1e3);
    }
    std::printf("feedback report on the poll session -> contact drawn on the plan\n");
    zeigeLatenz("velmo report -> drawn:       ", gezeichnet);
    zeigeLatenz("baseline report -> reader:   ", basis);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    const int berichte = argc > 2 ? std::atoi(argv[2]) : 1000;
    if (runs < 1 || berichte < 1) {
        std::fprintf(stderr, "usage: bench_srcp08 [RUNS] [REPORTS]\n");
        return 2;
    }

    QTemporaryDir work;
    DatenVerlinken(work.path());
    TestFenster form(work.path() + '/');
    form.Dialogs->Meldungen.clear(); // the missing settings file
    form->show();
    form->SrcpVersion = SrcpVersion080;
    form->InfoMode = 1;
    form->LadePlan(work.path() + '/', QFileInfo(RueckmeldePlan(work.path(), Kontakte)).fileName());

    const bool gut = verbinden(*form.Form, runs) && latenz(*form.Form, berichte);
    for (const ScriptedDialoge::Shown &meldung : form.Dialogs->Meldungen)
        std::fprintf(stderr, "message: %s\n", qPrintable(meldung.Text));
    return gut ? 0 : 1;
}
