// SRCP 0.8: opening the sessions on the server's one port.
//
// Against srcpsim in its SRCP 0.8 mode, RUNS times: "Host verbinden" with
// the info mode on, the time until the server's "OK GO" of the info session
// has reached the window (a 1 ms timer sees the session id arrive while the
// opening waits in its pause), and until the routine has returned; the
// window must have taken the info session's id. Disconnected in between.
// Baseline after each connect: a bare client opens the same two sessions
// one after the other on plain sockets (greeting, SET CONNECTIONMODE SRCP
// COMMAND or INFO, GO, each reply read), timed until the info session's
// "OK GO" is read.
//
//   velmo_go_ms <ms>   velmo_zurueck_ms <ms>   basis_go_ms <ms>   for every connect
//
//   QT_QPA_PLATFORM=offscreen build/bin/bench_srcp08 [RUNS]
#include "Velmo/TForm1.h"
#include "benchhilfe.h"
#include "scripteddialoge.h"
#include "simprozess.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Runs the event loop for `ms`.
void laufenLassen(int ms)
{
    const qint64 ende = jetztNs() + qint64(ms) * 1000000;
    while (jetztNs() < ende)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

// "Host verbinden" once; prints its times, false when the info session did
// not open with its id.
bool verbinden(TForm1 &form)
{
    form.InfoSitzung = {};
    const qint64 start = jetztNs();
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
    const bool gut = form.CommandConnected && form.InfoConnected && goZeit && form.InfoSitzung.SessionId > 0;
    form.Hosttrennen1Click();
    // The readers end and the simulator closes both sessions.
    laufenLassen(200);
    if (!gut) {
        std::fprintf(stderr, "Velmo: the info session did not open with its id\n");
        return false;
    }
    std::printf("velmo_go_ms %.2f\nvelmo_zurueck_ms %.2f\n", (goZeit - start) / 1e6, (ende - start) / 1e6);
    return true;
}

// Opens one session of the given mode on a bare socket; returns the socket
// once its "OK GO" is read, -1 when the exchange failed.
int sitzung(int port, const char *modus)
{
    const int fd = nackterClient(port);
    if (fd < 0)
        return -1;
    zeileLesen(fd);
    allesSenden(fd, QByteArray("SET CONNECTIONMODE SRCP ") + modus + '\n');
    zeileLesen(fd);
    allesSenden(fd, "GO\n");
    if (zeileLesen(fd).contains("200 OK GO"))
        return fd;
    close(fd);
    return -1;
}

bool nacktVerbinden(int port)
{
    const qint64 start = jetztNs();
    const int befehle = sitzung(port, "COMMAND");
    const int info = befehle < 0 ? -1 : sitzung(port, "INFO");
    const qint64 go = jetztNs();
    for (int fd : {befehle, info})
        if (fd >= 0)
            close(fd);
    if (info < 0) {
        std::fprintf(stderr, "baseline: the sessions did not open\n");
        return false;
    }
    std::printf("basis_go_ms %.2f\n", (go - start) / 1e6);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = AnzahlArgument(argc, argv, 11, "bench_srcp08", "RUNS");
    if (runs == 0)
        return 2;

    QTemporaryDir work;
    DatenVerlinken(work.path());
    TestFenster form(work.path() + '/');
    form.Dialogs->Meldungen.clear(); // the missing settings file
    form->show();
    SimProzess sim(QCoreApplication::applicationDirPath(), {"--srcp", "0.8", "--quiet"});
    if (sim.Port <= 0) {
        std::fprintf(stderr, "srcpsim did not start\n");
        return 1;
    }
    form->ServerHost = "127.0.0.1";
    form->ServerPort = sim.Port;
    form->SrcpVersion = SrcpVersion080;
    form->InfoMode = 1;
    form->VerbindungenEinstellen();

    bool gut = true;
    for (int run = 0; run < runs && gut; ++run)
        gut = verbinden(*form.Form) && nacktVerbinden(sim.Port);
    for (const ScriptedDialoge::Shown &meldung : form.Dialogs->Meldungen)
        std::fprintf(stderr, "message: %s\n", qPrintable(meldung.Text));
    return gut && form.Dialogs->Meldungen.isEmpty() ? 0 : 1;
}
