#include "loopback.h"
#include "sockets/LeseThread.h"
#include "sockets/TcpClient.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QtTest>

#include <sys/socket.h>
#include <thread>

namespace {

// A client connected to a server socket on 127.0.0.1 (port chosen by the
// system); Gegen is the server's end.
struct Verbindung
{
    Hoerer H;
    TcpClient Client;
    Gegenstelle Gegen = [this] {
        verbinde(Client, H);
        return Gegenstelle(H);
    }();
};

// Records the lines handed over, and the thread each one was handled in.
struct Protokoll
{
    LeseThread::Routine routine()
    {
        return [this](const QByteArray &line) {
            Zeilen << line;
            Threads << QThread::currentThread();
        };
    }
    QByteArrayList Zeilen;
    QList<QThread *> Threads;
};

// Serves events until schleife is quit or ms have passed; false on time-out.
// (QTest::qWait sleeps between rounds, which would slow every hand-over down.)
bool drehen(QEventLoop &schleife, int ms)
{
    QTimer::singleShot(ms, &schleife, [&schleife] { schleife.exit(1); });
    return schleife.exec() == 0;
}

} // namespace

class TestLeseThread : public QObject
{
    Q_OBJECT
private slots:
    void reichtZeilenInReihenfolgeWeiter();
    void beendenWeckt_data();
    void beendenWeckt();
    void beendenWaehrendUebergabe();
    void serverSchliesst_data();
    void serverSchliesst();
    void beendenIstHarmlos();
    void zerstoerenBeiFlut();
    void anhaltenMittenImStrom();
};

void TestLeseThread::reichtZeilenInReihenfolgeWeiter()
{
    Verbindung v;
    QObject kontext;
    QByteArrayList zeilen;
    QByteArrayList gesehen;
    LeseThread *t = nullptr;
    LeseThread leser(
        v.Client.verbindung(), &kontext,
        [&](const QByteArray &line) {
            QCOMPARE(QThread::currentThread(), kontext.thread());
            zeilen << line;
            gesehen << t->Line;
            if (line == "WIRF")
                throw std::runtime_error("routine error");
        },
        true);
    t = &leser;
    leser.start();
    v.Gegen.senden("INFO 1\r\nINFO 2\nWIRF\n");
    v.Gegen.senden("INFO");
    QTest::qWait(30);
    v.Gegen.senden(" 3\n\n");
    QTRY_COMPARE(zeilen.size(), 5);
    QCOMPARE(zeilen, QByteArrayList({"INFO 1", "INFO 2", "WIRF", "INFO 3", ""}));
    QCOMPARE(gesehen, zeilen);
    QVERIFY(leser.isRunning());
}

void TestLeseThread::beendenWeckt_data()
{
    QTest::addColumn<bool>("endOnReadError");
    QTest::newRow("command") << true;
    QTest::newRow("info/poll") << false;
}

// The GUI thread writes while the reader is blocked in recv; the reader ends
// promptly once asked to end and disconnected.
void TestLeseThread::beendenWeckt()
{
    QFETCH(bool, endOnReadError);
    Verbindung v;
    QObject kontext;
    Protokoll p;
    LeseThread leser(v.Client.verbindung(), &kontext, p.routine(), endOnReadError);
    leser.start();
    QTest::qWait(50);
    QVERIFY(leser.isRunning());
    v.Client.writeLine("GO");
    char empfangen[8] = {};
    QCOMPARE(::recv(v.Gegen.Fd, empfangen, 4, MSG_WAITALL), 4);
    QCOMPARE(QByteArray(empfangen), QByteArray("GO\r\n"));
    leser.Beenden();
    v.Client.disconnect();
    QVERIFY(leser.wait(2000));
    QVERIFY(p.Zeilen.isEmpty());
}

// The GUI thread does not serve events while the reader waits for a
// hand-over; Beenden releases the reader, and the line is never handled.
void TestLeseThread::beendenWaehrendUebergabe()
{
    Verbindung v;
    QObject kontext;
    Protokoll p;
    auto leser = std::make_unique<LeseThread>(v.Client.verbindung(), &kontext, p.routine(), false);
    leser->start();
    v.Gegen.senden("INFO 1\nINFO 2\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    leser->Beenden();
    QVERIFY(leser->wait(2000));
    leser.reset();
    QTest::qWait(50);
    QVERIFY(p.Zeilen.isEmpty());
}

void TestLeseThread::serverSchliesst_data()
{
    beendenWeckt_data();
}

void TestLeseThread::serverSchliesst()
{
    QFETCH(bool, endOnReadError);
    Verbindung v;
    QObject kontext;
    Protokoll p;
    LeseThread leser(v.Client.verbindung(), &kontext, p.routine(), endOnReadError);
    leser.start();
    v.Gegen.senden("INFO 1\nINFO 2 hal");
    v.Gegen.schliessen();
    QTRY_VERIFY_WITH_TIMEOUT(leser.isFinished(), 2000);
    QCOMPARE(p.Zeilen, QByteArrayList{"INFO 1"});
    QVERIFY(!v.Client.connected());
}

void TestLeseThread::beendenIstHarmlos()
{
    Verbindung v;
    QObject kontext;
    Protokoll p;
    {
        LeseThread nieGestartet(v.Client.verbindung(), &kontext, p.routine(), true);
        nieGestartet.Beenden();
    }
    LeseThread leser(v.Client.verbindung(), &kontext, p.routine(), true);
    leser.start();
    v.Gegen.schliessen();
    QVERIFY(leser.wait(2000));
    leser.Beenden();
    leser.Beenden();
    QVERIFY(leser.isFinished());
}

void TestLeseThread::zerstoerenBeiFlut()
{
    Verbindung v;
    QObject kontext;
    Protokoll p;
    std::jthread flut([&] {
        while (v.Gegen.senden("INFO FB S88 18 1\n")) {
        }
    });
    QEventLoop schleife;
    auto leser = std::make_unique<LeseThread>(
        v.Client.verbindung(), &kontext,
        [&, protokollieren = p.routine()](const QByteArray &line) {
            protokollieren(line);
            if (p.Zeilen.size() == 1000)
                schleife.quit();
        },
        false);
    leser->start();
    QVERIFY(drehen(schleife, 5000));
    QElapsedTimer uhr;
    uhr.start();
    leser.reset();
    v.Client.disconnect();
    QVERIFY(uhr.elapsed() < 2000);
    flut.join();
    QVERIFY(p.Zeilen.size() >= 1000);
    QVERIFY(std::all_of(p.Zeilen.cbegin(), p.Zeilen.cend(),
                        [](const QByteArray &z) { return z == "INFO FB S88 18 1"; }));
}

// The server sends 10000 lines as fast as it can; the GUI thread stops the
// reader when it has handled 3000 of them. Exactly those came, in order and
// in the GUI thread.
void TestLeseThread::anhaltenMittenImStrom()
{
    QElapsedTimer uhr;
    uhr.start();
    Verbindung v;
    QObject kontext;
    Protokoll p;
    std::jthread server([&] {
        QByteArray alles;
        for (int i = 0; i < 10000; ++i)
            alles += "INFO " + QByteArray::number(i) + "\n";
        v.Gegen.senden(alles);
    });
    std::unique_ptr<LeseThread> leser;
    leser = std::make_unique<LeseThread>(
        v.Client.verbindung(), &kontext,
        [&, protokollieren = p.routine()](const QByteArray &line) {
            protokollieren(line);
            if (p.Zeilen.size() == 3000) {
                leser->Beenden();
                v.Client.disconnect();
            }
        },
        true);
    QEventLoop schleife;
    QTimer nachsehen;
    connect(&nachsehen, &QTimer::timeout, &schleife, [&] {
        if (leser->isFinished())
            schleife.quit();
    });
    nachsehen.start(5);
    leser->start();
    QVERIFY(drehen(schleife, 8000));
    leser.reset();
    server.join();
    QCOMPARE(p.Zeilen.size(), 3000);
    for (qsizetype i = 0; i < p.Zeilen.size(); ++i)
        QCOMPARE(p.Zeilen[i], "INFO " + QByteArray::number(i));
    QVERIFY(std::all_of(p.Threads.cbegin(), p.Threads.cend(),
                        [&](QThread *t) { return t == kontext.thread(); }));
    QVERIFY(uhr.elapsed() < 10000);
}

QTEST_GUILESS_MAIN(TestLeseThread)
#include "test_lesethread.moc"
