// Feedback lines from the poll connection to icons on the plan.
//
// 1. Throughput: a loopback server sends N feedback lines as fast as it can;
//    Velmo's poll reader hands each to the GUI thread, which draws the contact
//    picture on the plan. Baselines in the same run: reading the same lines
//    from a socket without hand-over or drawing, and drawing them without a
//    socket or thread.
// 2. Latency: the server sends stamped lines 1 ms apart; measured is the time
//    from the send to the routine running in the GUI thread (median and 99th
//    percentile). Baseline: the same lines read by a plain thread that takes
//    the time itself, without a hand-over.
//
//   QT_QPA_PLATFORM=offscreen build/bin/bench_rueckmeldung [N]
#include "Velmo/Dialoge.h"
#include "Velmo/TForm1.h"
#include "rueckunit/Crueck.h"
#include "sockets/LeseThread.h"
#include "sockets/TcpVerbindung.h"

#include "benchhilfe.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Uhr = std::chrono::steady_clock;

class StilleDialoge : public Dialoge
{
public:
    void Meldung(const QString &, const QString &, Art) override {}
    Antwort Frage(const QString &, const QString &, bool) override { return Antwort::Nein; }
    QString SpeichernUnter(const QString &, const QString &) override { return {}; }
    QString Oeffnen(const QString &, const QString &) override { return {}; }
    bool Eingabe(const QString &, const QString &, QString &) override { return false; }
};

// A one-client loopback server that sends what `senden` produces once a
// client has connected, then waits for the client to close.
class Server : public Einzelserver
{
public:
    explicit Server(std::function<void(int fd)> senden)
        : Einzelserver([senden = std::move(senden)](int fd) {
            senden(fd);
            ausklingen(fd);
        })
    {
    }
};

QByteArray Rueckmeldungen(int n)
{
    QByteArray text;
    for (int i = 0; i < n; ++i)
        text += "INFO FB S88 " + QByteArray::number(i % 16 + 1) + ' ' + QByteArray::number((i / 16) % 2) + '\n';
    return text;
}

void warten(const std::function<bool()> &fertig)
{
    while (!fertig())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

double proSekunde(int n, Uhr::duration d)
{
    return n / std::chrono::duration<double>(d).count();
}

void durchsatz(TForm1 &form, int n)
{
    int gezeichnet = 0;
    form.Rueck = std::make_unique<Crueck>(
        form, [&](const QString &name, int x, int y) { form.IconZeichnen(name, x, y); ++gezeichnet; }, [] {});
    const QByteArray daten = Rueckmeldungen(n);

    std::atomic<bool> los {false};
    Uhr::time_point start;
    {
        Server server([&](int fd) {
            while (!los)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            start = Uhr::now();
            allesSenden(fd, daten);
        });
        form.Poll_Socket.setHost("127.0.0.1");
        form.Poll_Socket.setPort(server.Port);
        form.Abfragestarten1Click();
        los = true;
        warten([&] { return gezeichnet >= n; });
        const auto dauer = Uhr::now() - start;
        form.Abfragebeenden1Click();
        std::printf("velmo poll -> plan:        %9.0f lines/s (%d lines, %d icons drawn)\n", proSekunde(n, dauer), n, gezeichnet);
    }
    {
        Server server([&](int fd) { allesSenden(fd, daten); });
        TcpClient client;
        verbinde(client, server.Lauscher);
        const auto t0 = Uhr::now();
        for (int i = 0; i < n; ++i)
            client.readLine();
        std::printf("baseline socket read only: %9.0f lines/s\n", proSekunde(n, Uhr::now() - t0));
        client.disconnect();
    }
    {
        const QList<QByteArray> zeilen = daten.split('\n');
        const auto t0 = Uhr::now();
        for (int i = 0; i < n; ++i)
            form.Rueck->RueckmeldungZeigen(QString::fromUtf8(zeilen[i]));
        std::printf("baseline drawing only:     %9.0f lines/s\n", proSekunde(n, Uhr::now() - t0));
    }
}

void zeigeVerteilung(const char *name, const std::vector<double> &us)
{
    std::printf("%s %s (%zu lines)\n", name, medianP99(us, 7).c_str(), us.size());
}

void latenz(QObject &gui, int n)
{
    auto sendeGestempelt = [n](int fd) {
        for (int i = 0; i < n; ++i) {
            allesSenden(fd, "T " + QByteArray::number(jetztNs()) + '\n');
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };
    std::vector<double> uebergabe, basis;
    {
        Server server(sendeGestempelt);
        TcpClient client;
        verbinde(client, server.Lauscher);
        LeseThread leser(client.verbindung(), &gui,
                         [&](const QByteArray &line) { uebergabe.push_back((jetztNs() - line.mid(2).toLongLong()) / 1e3); }, false);
        leser.start();
        warten([&] { return int(uebergabe.size()) >= n; });
        client.disconnect();
    }
    {
        Server server(sendeGestempelt);
        TcpClient client;
        verbinde(client, server.Lauscher);
        auto verbindung = client.verbindung();
        std::thread leser([&] {
            for (int i = 0; i < n; ++i) {
                const QByteArray line = verbindung->readLine();
                basis.push_back((jetztNs() - line.mid(2).toLongLong()) / 1e3);
            }
        });
        leser.join();
        client.disconnect();
    }
    zeigeVerteilung("line -> GUI routine:      ", uebergabe);
    zeigeVerteilung("baseline line -> reader:  ", basis);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 20000;

    QTemporaryDir work;
    DatenVerlinken(work.path());
    TForm1 form(work.path() + '/', std::make_unique<StilleDialoge>());
    form.show();
    for (int k = 1; k <= 16; ++k) {
        form.NeuePosition(27 * k, 27, 65);
        form.Positionen[k].Dekoder1 = 1;
        form.Positionen[k].Adresse1 = k;
    }

    durchsatz(form, n);
    latenz(form, 2000);
    return 0;
}
