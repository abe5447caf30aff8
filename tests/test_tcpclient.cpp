#include "hilfen/fehler.h"
#include "loopback.h"
#include "sockets/TcpClient.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <thread>

namespace {

// A connected client whose peer has a receive buffer of only 4 KB, so that a
// large write soon finds the buffers full.
struct EngeVerbindung
{
    Hoerer H;
    TcpClient Client;
    Gegenstelle Gegen = [this] {
        const int klein = 4096;
        ::setsockopt(H.Fd, SOL_SOCKET, SO_RCVBUF, &klein, sizeof klein);
        verbinde(Client, H);
        return Gegenstelle(H);
    }();
};

QString fehlerVon(const std::function<void()> &f)
{
    try {
        f();
    } catch (const VelmoFehler &e) {
        return e.Text;
    }
    return {};
}

} // namespace

class TestTcpClient : public QObject
{
    Q_OBJECT
private slots:
    void schreibtUnveraendert();
    void schreibenWartetMitEreignissen();
    void zeilenLesen_data();
    void zeilenLesen();
    void langeZeilen();
    void gegenstelleSchliesst();
    void trennenIstHarmlos();
    void verbindenScheitert();
    void verbindenBedientEreignisse();
    // Last: once the application quits, no event loop runs again here.
    void wartenEndetBeimBeenden();
};

void TestTcpClient::schreibtUnveraendert()
{
    Hoerer h;
    TcpClient c;
    verbinde(c, h, "localhost");
    Gegenstelle g(h);
    QVERIFY(c.connected());
    c.write("SET POWER ON\n");
    c.writeLine("GO");
    c.write(QByteArray("\0\xff\r", 3));
    c.writeLine("");
    c.disconnect();
    QCOMPARE(g.allesLesen(), QByteArray("SET POWER ON\nGO\r\n\0\xff\r\r\n", 22));
}

// A peer that reads slowly fills the send buffer: write() waits serving
// events, and a write from such an event queues behind the pending bytes.
// 16 MB is far more than the kernel buffers (4 MB send buffer at most by
// default, a 4 KB receive buffer here) take up.
void TestTcpClient::schreibenWartetMitEreignissen()
{
    EngeVerbindung v;
    TcpClient &c = v.Client;
    const Gegenstelle &g = v.Gegen;

    QByteArray gross(16 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < gross.size(); ++i)
        gross[i] = char('a' + i % 23);
    QByteArray empfangen;
    std::jthread leser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        empfangen = g.allesLesen();
    });
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (ticks++ < 3)
            c.write("X");
    });
    tick.start(20);
    c.write(gross);
    tick.stop();
    c.disconnect();
    leser.join();
    QVERIFY(ticks >= 3);
    QCOMPARE(empfangen.size(), gross.size() + 3);
    QVERIFY(empfangen == gross + "XXX");
}

void TestTcpClient::zeilenLesen_data()
{
    QTest::addColumn<QByteArrayList>("stuecke");
    QTest::addColumn<QByteArrayList>("zeilen");
    QTest::newRow("LF") << QByteArrayList{"INFO 1\n"} << QByteArrayList{"INFO 1"};
    QTest::newRow("CR LF") << QByteArrayList{"OK\r\n"} << QByteArrayList{"OK"};
    QTest::newRow("several in one segment")
        << QByteArrayList{"a\r\nb\n\nc\r\n"} << QByteArrayList{"a", "b", "", "c"};
    QTest::newRow("split over segments")
        << QByteArrayList{"INFO ", "FB S88", " 18 1\r", "\nnext\n"}
        << QByteArrayList{"INFO FB S88 18 1", "next"};
    QTest::newRow("inner CR and lone CR kept")
        << QByteArrayList{"a\rb\n\r\r\n"} << QByteArrayList{"a\rb", "\r"};
}

void TestTcpClient::zeilenLesen()
{
    QFETCH(QByteArrayList, stuecke);
    QFETCH(QByteArrayList, zeilen);
    Hoerer h;
    TcpClient c;
    verbinde(c, h);
    Gegenstelle g(h);
    std::jthread sender([&] {
        for (const QByteArray &s : stuecke) {
            g.senden(s);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    QByteArrayList gelesen;
    for (qsizetype i = 0; i < zeilen.size(); ++i)
        gelesen << c.readLine();
    sender.join();
    QCOMPARE(gelesen, zeilen);
}

void TestTcpClient::langeZeilen()
{
    Hoerer h;
    TcpClient c;
    verbinde(c, h);
    Gegenstelle g(h);
    const QByteArray genau(65536, 'g');
    QByteArray lang(70000, 'l');
    lang[65535] = 'E';
    QByteArray crAmSchnitt = lang;
    crAmSchnitt[65535] = '\r';
    std::jthread sender(
        [&] { g.senden(lang + "\n" + crAmSchnitt + "\n" + genau + "\r\n" + "danach\n"); });
    QCOMPARE(c.readLine(), lang.left(65536));
    QCOMPARE(c.readLine(), crAmSchnitt.left(65536));
    QCOMPARE(c.readLine(), genau);
    QCOMPARE(c.readLine(), QByteArray("danach"));
    sender.join();
}

void TestTcpClient::gegenstelleSchliesst()
{
    Hoerer h;
    TcpClient c;
    verbinde(c, h);
    const auto erste = c.verbindung();
    {
        Gegenstelle g(h);
        g.senden("ganz\nhalb");
    }
    QCOMPARE(c.readLine(), QByteArray("ganz"));
    QVERIFY(c.connected());
    QVERIFY(!fehlerVon([&] { c.readLine(); }).isEmpty());
    QVERIFY(!c.connected());
    QVERIFY(!erste->connected());

    // Writing to a peer that has gone fails without SIGPIPE.
    verbinde(c, h);
    QVERIFY(c.verbindung() != erste);
    QVERIFY(c.connected());
    Gegenstelle(h).schliessen();
    QString fehler;
    for (int i = 0; i < 100 && fehler.isEmpty(); ++i) {
        fehler = fehlerVon([&] { c.write("SET POWER ON\n"); });
        QTest::qWait(10);
    }
    QVERIFY(!fehler.isEmpty());
    QVERIFY(!c.connected());

    // The dead connection is replaced by the next connect.
    verbinde(c, h);
    Gegenstelle g(h);
    c.writeLine("GO");
    c.disconnect();
    QCOMPARE(g.allesLesen(), QByteArray("GO\r\n"));
}

void TestTcpClient::trennenIstHarmlos()
{
    TcpClient c;
    c.disconnect();
    QVERIFY(!c.connected());

    Hoerer h;
    verbinde(c, h);
    Gegenstelle g(h);
    const auto v = c.verbindung();
    c.disconnect();
    c.disconnect();
    QVERIFY(!c.connected());
    QVERIFY(!c.verbindung());
    QVERIFY(!v->connected());
    QCOMPARE(fehlerVon([&] { c.write("x"); }), QString("Nicht verbunden."));
    QCOMPARE(g.allesLesen(), QByteArray());
}

void TestTcpClient::verbindenScheitert()
{
    const Hoerer taub(false);
    TcpClient c;
    c.setHost("127.0.0.1");
    c.setPort(taub.Port);
    QCOMPARE(fehlerVon([&] { c.connect(); }), QString("Connection refused"));
    QVERIFY(!c.connected());
    c.setPort(70000);
    QCOMPARE(fehlerVon([&] { c.connect(); }), QString("Servname not supported for ai_socktype"));

    Hoerer h;
    verbinde(c, h);
    Gegenstelle g(h);
    QCOMPARE(fehlerVon([&] { c.connect(); }), QString("Bereits verbunden."));
    c.writeLine("noch da");
    c.disconnect();
    QCOMPARE(g.allesLesen(), QByteArray("noch da\r\n"));
}

void TestTcpClient::verbindenBedientEreignisse()
{
    Hoerer h;
    TcpClient c;
    bool gelaufen = false;
    QString zweiter;
    QTimer::singleShot(0, [&] {
        gelaufen = true;
        zweiter = fehlerVon([&] { c.connect(); });
    });
    verbinde(c, h);
    QVERIFY(gelaufen);
    QCOMPARE(zweiter, QString("Bereits verbunden."));
    c.disconnect();

    // Disconnecting while connect waits cancels it.
    QTimer::singleShot(0, [&] { c.disconnect(); });
    QCOMPARE(fehlerVon([&] { verbinde(c, h); }), QString("Operation canceled"));
    QVERIFY(!c.connected());
    QVERIFY(!c.verbindung());
}

// A write that waits for room, and a connect that waits for the peer, give up
// at once when the application is quitting instead of spinning.
void TestTcpClient::wartenEndetBeimBeenden()
{
    EngeVerbindung v;
    QCoreApplication::exit(0);

    QElapsedTimer uhr;
    uhr.start();
    QCOMPARE(fehlerVon([&] { v.Client.write(QByteArray(16 * 1024 * 1024, 'x')); }), qt_error_string(ECANCELED));
    TcpClient zweiter;
    QCOMPARE(fehlerVon([&] { verbinde(zweiter, v.H); }), qt_error_string(ECANCELED));
    QVERIFY(!zweiter.connected());
    QVERIFY(uhr.elapsed() < 1000);
}

QTEST_GUILESS_MAIN(TestTcpClient)
#include "test_tcpclient.moc"
