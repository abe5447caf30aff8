// SRCP 0.8 sessions on the server's one port: the handshakes of the info
// and poll sessions, feedback reports, the server's own buses, and replies
// paired with the commands they answer. Against a scripted server.
#include "Velmo/TStatusLeiste.h"
#include "elemente/Bilder.h"
#include "scripteddialoge.h"
#include "skriptserver.h"
#include "testwork.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QtTest>

namespace {

QByteArray Z(const QByteArray &rest)
{
    return "1796773747.108 " + rest + "\n";
}

const QByteArray Srcpd = "srcpd V2.1.3; SRCP 0.8.4; SRCPOTHER 0.8.3\n";
const QByteArray Alles = "GA GL FB SM POWER LOCK DESCRIPTION";

// A window set to SRCP 0.80 with every connection on one scripted server
// that behaves as a real one: it greets, accepts both handshakes (session
// ids 1, 2, ... in the order of GO), describes the buses in `Busse`
// (any other gets "412 ERROR wrong value"), refuses each line of
// `Verweigert` once with 412, and accepts everything else.
struct Anlage
{
    TestWorkDir Work;
    TestFenster F {Work.path()};
    SkriptServer Server;
    int GoZahl = 0;
    int GoVerweigert = 0; // this GO (counted from 1) is refused
    QMap<int, QByteArray> Busse {{1, Alles}, {2, Alles}, {3, Alles}};
    bool FragenStumm = false;
    QByteArrayList Verweigert;
    // Sent after the reply to this GO (counted from 1), as an info session's report.
    QMap<int, QByteArray> NachGo;

    explicit Anlage(int infoMode = 0)
    {
        F->ServerHost = "127.0.0.1";
        F->SrcpVersion = 80;
        F->ServerPort = Server.port();
        F->VerbindungenEinstellen();
        F->InfoMode = infoMode;
        F->Bahn->Schaltimpuls = 20;
        F.Dialogs->Meldungen.clear();
        Server.Gruss = Srcpd;
        Server.Antwort = [this](const QByteArray &line) { return Antworten(line); };
    }
    ~Anlage()
    {
        F->Abfragebeenden1Click();
        F->Hosttrennen1Click();
    }
    QByteArray Antworten(const QByteArray &line)
    {
        if (Verweigert.removeOne(line))
            return Z("412 ERROR wrong value");
        if (line.startsWith("SET CONNECTIONMODE SRCP "))
            return Z("202 OK CONNECTIONMODE");
        if (line == "GO") {
            ++GoZahl;
            if (GoZahl == GoVerweigert)
                return Z("402 ERROR insufficient data");
            return Z("200 OK GO " + QByteArray::number(GoZahl)) + NachGo.value(GoZahl);
        }
        if (line.startsWith("GET ") && line.endsWith(" DESCRIPTION")) {
            const int bus = line.mid(4, 1).toInt();
            if (FragenStumm)
                return {};
            if (!Busse.contains(bus))
                return Z("412 ERROR wrong value");
            return Z("100 INFO " + QByteArray::number(bus) + " DESCRIPTION " + Busse[bus]);
        }
        return Z("200 OK");
    }
    // Connects and waits until the questions about the buses are out.
    bool Verbunden()
    {
        F->Hostverbinden1Click();
        return F->CommandConnected && QTest::qWaitFor([this] { return Server.Zeilen.contains("GET 3 DESCRIPTION"); });
    }
    QStringList Protokoll() const { return F->Memo1->toPlainText().split('\n', Qt::SkipEmptyParts); }
    // What the command connection received since the last call.
    QByteArray Neu(qsizetype &seit, qsizetype anzahl)
    {
        if (!QTest::qWaitFor([&] { return Server.Je[0].size() >= seit + anzahl; }, 3000))
            qWarning("command connection received only %lld bytes", qlonglong(Server.Je[0].size() - seit));
        const QByteArray neu = Server.Je[0].mid(seit);
        seit = Server.Je[0].size();
        return neu;
    }
};

cLocoInfo Lok(const QByteArray &protokoll, int adresse)
{
    cLocoInfo lok;
    lok.Protokoll = protokoll;
    lok.Adresse = adresse;
    lok.Richtung = 1;
    lok.Vmax = 28;
    lok.Funktionsanzahl = 1;
    return lok;
}

// How many of the lines begin with `anfang`.
qsizetype Beginnend(const QByteArrayList &zeilen, const QByteArray &anfang)
{
    return std::count_if(zeilen.begin(), zeilen.end(), [&](const QByteArray &l) { return l.startsWith(anfang); });
}

} // namespace

class TestSitzungen : public QObject
{
    Q_OBJECT
private slots:
    // The info session (after the command session) and the poll session
    // open on the command port with the command session's handshake and
    // pauses, in mode INFO.
    void infoSitzung_data()
    {
        QTest::addColumn<bool>("abfrage");
        QTest::addColumn<QByteArray>("gruss");
        QTest::addColumn<QByteArray>("verweigert"); // the refused line, if any
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("protokollEnde");
        QTest::addColumn<int>("sessionId");
        const QByteArray beide = "SET CONNECTIONMODE SRCP INFO\r\nGO\r\n";
        QTest::newRow("Info") << false << Srcpd << QByteArray() << beide << QStringList{"SessionID :2"} << 2;
        QTest::newRow("Abfrage, anderer Gruss") << true << QByteArray("srcpsim 1.0; SRCP 0.8.4; SRCPOTHER 0.7.3\n")
                                                << QByteArray() << beide << QStringList{"SessionID :1"} << 1;
        QTest::newRow("Info, Modus verweigert")
            << false << Srcpd << QByteArray("SET CONNECTIONMODE SRCP INFO") << QByteArray("SET CONNECTIONMODE SRCP INFO\r\n")
            << QStringList{"Der Info Modus konnte niht gestartet werden!"} << 0;
        QTest::newRow("Abfrage, GO verweigert")
            << true << Srcpd << QByteArray("GO") << beide
            << QStringList{"Die Session konnte nicht begonnen werden!", "SessionID :0"} << 0;
    }
    void infoSitzung()
    {
        QFETCH(bool, abfrage);
        QFETCH(QByteArray, gruss);
        QFETCH(QByteArray, verweigert);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, protokollEnde);
        QFETCH(int, sessionId);
        Anlage a(abfrage ? 0 : 1);
        a.Server.Gruss = gruss;
        if (verweigert == "GO")
            a.GoVerweigert = 1;
        else if (!verweigert.isEmpty())
            a.Verweigert = {verweigert};

        qint64 start = a.Server.Uhr.elapsed();
        if (abfrage) {
            a.F->Abfragestarten1Click();
        } else {
            QVERIFY(a.Verbunden());
            QCOMPARE(a.F->SessionId, 1);
            start = a.Server.Ankunft[a.Server.Zeilen.indexOf("GET 3 DESCRIPTION")];
        }
        QVERIFY(abfrage ? a.F->PollConnected : a.F->InfoConnected);
        QCOMPARE(a.Server.Verbindungen, abfrage ? 1 : 2);
        QCOMPARE(a.Server.Je.last(), bytes);
        QCOMPARE((abfrage ? a.F->PollSitzung : a.F->InfoSitzung).SessionId, sessionId);
        const QStringList log = a.Protokoll();
        QCOMPARE(log.mid(log.size() - protokollEnde.size()), protokollEnde);
        if (sessionId == 0)
            QCOMPARE(a.F->StatusBar1->Text(1), protokollEnde.first());

        // Opening pause and greeting wait before the mode, 500 ms before GO.
        const qsizetype modus = a.Server.Zeilen.indexOf("SET CONNECTIONMODE SRCP INFO");
        const qint64 vorModus = a.Server.Ankunft[modus] - start;
        QVERIFY2(vorModus >= 1450 && vorModus < 3000, qPrintable(QString::number(vorModus)));
        const qsizetype go = a.Server.Zeilen.indexOf("GO", modus);
        if (go > 0)
            QVERIFY(a.Server.Ankunft[go] - a.Server.Ankunft[modus] >= 450);
    }

    // Reports of the poll session: the first report right after GO lights
    // the occupied contacts at once; later reports with code 100 or 101
    // count, lines that only look like reports do not. Only the lowest bus
    // whose description lists FB reaches the plan; a report of another bus
    // only shows in the right panel.
    void rueckmeldungen()
    {
        Anlage a;
        const QList<QPoint> zellen {{0, 27}, {27, 27}, {54, 27}};
        const QList<QPoint> adressen {{1, 3}, {2, 2}, {1, 5}}; // module, contact: contacts 3, 18, 5
        for (qsizetype i = 0; i < zellen.size(); ++i) {
            a.F->Dokument.Zellen.NeuePosition(zellen[i].x(), zellen[i].y(), 65);
            a.F->Dokument.Zellen.Positionen[a.F->Dokument.Zellen.PosAnzahl].Dekoder1 = adressen[i].x();
            a.F->Dokument.Zellen.Positionen[a.F->Dokument.Zellen.PosAnzahl].Adresse1 = adressen[i].y();
        }
        QImage belegt, frei;
        LadeBild(a.Work.dataPath("Icon6502.bmp"), belegt);
        LadeBild(a.Work.dataPath("Icon6501.bmp"), frei);
        auto zeigt = [&](int i, const QImage &bild) {
            return a.F->PlanBitmap.copy(zellen[i].x(), zellen[i].y(), 27, 27) == bild.copy(0, 0, 27, 27);
        };
        a.NachGo[1] = Z("100 INFO 0 DESCRIPTION SESSION SERVER TIME GM") + Z("100 INFO 1 DESCRIPTION GA GL POWER")
            + Z("100 INFO 1 POWER OFF AUTO POWER OFF") + Z("100 INFO 2 DESCRIPTION GA GL FB POWER")
            + Z("100 INFO 2 FB 3 1") + Z("100 INFO 2 FB 18 1") + Z("100 INFO 3 FB 5 1");

        a.F->Abfragestarten1Click();
        QCOMPARE(a.F->PollSitzung.SessionId, 1);
        QVERIFY(zeigt(0, belegt) && zeigt(1, belegt) && !zeigt(2, belegt));
        QTRY_VERIFY(a.F->StatusBar1->Text(2).endsWith("100 INFO 3 FB 5 1"));

        a.Server.sendenAn(0, Z("101 INFO 2 FB 18 0") + Z("100 INFO 1 FB 3 0") + Z("100 INFO 2 FB 5 1"));
        QTRY_VERIFY(zeigt(1, frei) && zeigt(2, belegt));
        a.Server.sendenAn(0, Z("100 INFO 2 FB 3 0 1") + Z("102 INFO 2 FB 3 0") + "100 INFO 2 FB 3 0\n"
                                 + Z("100 INFO 2 GA 3 0") + Z("100 INFO 2 FB 3") + Z("200 OK")
                                 + Z("100 INFO 2 FB 5 0"));
        QTRY_VERIFY(zeigt(2, frei));
        QVERIFY(zeigt(0, belegt));
        QVERIFY(a.F->StatusBar1->Text(1).startsWith("WorkDir"));
    }

    // The buses the server describes decide where power, accessory and
    // locomotive commands go; "no such bus" is not shown as a failure.
    void busse_data()
    {
        QTest::addColumn<QList<int>>("busse");
        QTest::addColumn<bool>("stumm");
        QTest::addColumn<QByteArray>("power");
        QTest::addColumn<QByteArray>("initGa"); // of a DCC accessory
        QTest::addColumn<QByteArray>("initGl"); // of an N3 locomotive
        QTest::newRow("ein Bus") << QList<int> {1} << false << QByteArray("SET 1 POWER ON\r\n")
                                 << QByteArray("INIT 1 GA 18 N") << QByteArray("INIT 1 GL 3 N 4 14 2");
        QTest::newRow("zwei Busse") << QList<int> {1, 2} << false << QByteArray("SET 1 POWER ON\r\nSET 2 POWER ON\r\n")
                                    << QByteArray("INIT 2 GA 18 N") << QByteArray("INIT 1 GL 3 N 4 14 2");
        QTest::newRow("drei Busse") << QList<int> {1, 2, 3} << false
                                    << QByteArray("SET 1 POWER ON\r\nSET 2 POWER ON\r\nSET 3 POWER ON\r\n")
                                    << QByteArray("INIT 2 GA 18 N") << QByteArray("INIT 3 GL 3 N 4 14 2");
        QTest::newRow("keine Antwort") << QList<int> {1} << true
                                       << QByteArray("SET 1 POWER ON\r\nSET 2 POWER ON\r\nSET 3 POWER ON\r\n")
                                       << QByteArray("INIT 2 GA 18 N") << QByteArray("INIT 3 GL 3 N 4 14 2");
    }
    void busse()
    {
        QFETCH(QList<int>, busse);
        QFETCH(bool, stumm);
        QFETCH(QByteArray, power);
        QFETCH(QByteArray, initGa);
        QFETCH(QByteArray, initGl);
        Anlage a;
        a.Busse.clear();
        for (int bus : busse)
            a.Busse.insert(bus, Alles);
        a.FragenStumm = stumm;
        QVERIFY(a.Verbunden());
        QVERIFY(a.Server.Je[0].endsWith("GO\r\nGET 1 DESCRIPTION\r\nGET 2 DESCRIPTION\r\nGET 3 DESCRIPTION\r\n"));
        if (!stumm)
            QTRY_COMPARE(a.Protokoll().filter(" DESCRIPTION ").size() + a.Protokoll().filter("412 ERROR").size(), 3);
        QVERIFY(!a.F->StatusBar1->Text(1).contains("ERROR"));

        qsizetype seit = a.Server.Je[0].size();
        a.F->Poweron1->trigger();
        QCOMPARE(a.Neu(seit, power.size()), power);
        if (stumm)
            return; // later replies would answer the unanswered questions
        a.F->Bahn->SwitchAccessory("N", 4, 3);
        a.F->Lokomotiven[0] = Lok("N3", 3);
        a.F->Bahn->SendLocoCommand(0);
        QTRY_VERIFY(a.Server.Zeilen.contains(initGa) && a.Server.Zeilen.contains(initGl));
        QCOMPARE(Beginnend(a.Server.Zeilen, "INIT"), 2);
        QVERIFY(!a.F->StatusBar1->Text(1).contains("ERROR"));
    }

    // A refused INIT leaves the device unannounced and is shown with its
    // command. An accessory is announced again at its next press; a
    // locomotive, driven a step at a time, only on a new connection.
    void initVerweigert_data()
    {
        QTest::addColumn<bool>("lok");
        QTest::addColumn<QByteArray>("init");
        QTest::addColumn<QByteArrayList>("befehle"); // refused as well, after the INIT
        QTest::newRow("Zubehoer") << false << QByteArray("INIT 2 GA 18 N")
                                  << QByteArrayList {"SET 2 GA 18 0 1 -1", "SET 2 GA 18 0 0 -1"};
        QTest::newRow("Lok") << true << QByteArray("INIT 2 GL 3 N 2 14 2") << QByteArrayList {"SET 2 GL 3 1 0 28 0 0 "};
    }
    void initVerweigert()
    {
        QFETCH(bool, lok);
        QFETCH(QByteArray, init);
        QFETCH(QByteArrayList, befehle);
        Anlage a;
        a.F->Lokomotiven[0] = Lok("N1", 3);
        QVERIFY(a.Verbunden());
        a.Verweigert = QByteArrayList {init} + befehle;
        auto benutzen = [&] {
            if (lok)
                a.F->Bahn->SendLocoCommand(0);
            else
                a.F->Bahn->SwitchAccessory("N", 4, 3);
        };
        auto inits = [&] { return a.Server.Zeilen.count(init); };

        benutzen();
        QTRY_VERIFY(a.Protokoll().contains(init + ": 412 ERROR wrong value"));
        QTRY_COMPARE(a.F->StatusBar1->Text(1),
                     QString("Server lehnt ab: " + befehle.last().trimmed() + " – 412 falscher Wert"));
        QCOMPARE(a.F->Lokomotiven[0].Initialisiert, lok ? cLocoInfo::Abgelehnt : cLocoInfo::Unbekannt);
        if (lok) {
            for (int schritt = 0; schritt < 3; ++schritt) {
                a.Verweigert.append(befehle.last());
                benutzen();
            }
            QTRY_COMPARE(a.Server.Zeilen.count(befehle.last()), 4);
            QCOMPARE(inits(), 1);
            QCOMPARE(a.F->StatusBar1->Text(1), QString("Server lehnt ab: " + befehle.last().trimmed() + " – 412 falscher Wert"));
            a.F->Hosttrennen1Click();
            a.Verweigert.clear();
            QVERIFY(a.Verbunden());
        }
        benutzen();
        QTRY_COMPARE(inits(), 2);
        if (lok)
            QTRY_COMPARE(a.F->Lokomotiven[0].Initialisiert, 1);
        QTRY_VERIFY(a.F->StatusBar1->Text(1).endsWith("200 OK"));
        benutzen();
        QTRY_VERIFY(a.Server.Zeilen.last().startsWith(lok ? "SET 2 GL" : "SET 2 GA 18 0 0"));
        QCOMPARE(inits(), 2);
    }

    // Thirty locomotives driven in a burst, every reply held back and then
    // sent at once: each reply reaches its own command, so exactly the
    // refused INITs are reported, and the next step sends no INIT again.
    void antwortenGepaart()
    {
        Anlage a;
        QVERIFY(a.Verbunden());
        QTRY_VERIFY(a.Protokoll().last().contains("INFO 3 DESCRIPTION"));
        a.Server.Antwort = nullptr;
        const qsizetype vorher = a.Server.Zeilen.size();
        constexpr int Loks = 30;
        for (int i = 0; i < Loks; ++i) {
            a.F->Lokomotiven[i] = Lok("N1", i + 1);
            a.F->Bahn->SendLocoCommand(i);
        }
        QTRY_COMPARE(a.Server.Zeilen.size(), vorher + 2 * Loks);
        QByteArray antworten;
        QStringList erwartet;
        for (const QByteArray &line : a.Server.Zeilen.mid(vorher)) {
            const bool weigern = line.startsWith("INIT") && line.split(' ')[3].toInt() % 3 == 0;
            antworten += Z(weigern ? "412 ERROR wrong value" : "200 OK");
            if (weigern)
                erwartet.append(line + ": 412 ERROR wrong value");
        }
        a.Server.sendenAn(0, antworten);
        QTRY_COMPARE(a.Protokoll().filter("ERROR").size(), 2 * erwartet.size());
        QCOMPARE(a.Protokoll().filter(": 412"), erwartet);
        for (int i = 0; i < Loks; ++i)
            QCOMPARE(a.F->Lokomotiven[i].Initialisiert, (i + 1) % 3 == 0 ? 2 : 1);

        const qsizetype danach = a.Server.Zeilen.size();
        for (int i = 0; i < Loks; ++i)
            a.F->Bahn->SendLocoCommand(i);
        QTRY_COMPARE(a.Server.Zeilen.size(), danach + Loks);
        QCOMPARE(Beginnend(a.Server.Zeilen.mid(danach), "INIT"), 0);
    }

    // SRCP 0.73 keeps three ports and opens info and poll without a handshake.
    void srcp073OhneHandshake()
    {
        TestWorkDir work;
        TestFenster f(work.path());
        SkriptServer kommando, info, poll;
        f->ServerHost = "127.0.0.1";
        f->VerbindungenEinstellen();
        f->Command_Socket.setPort(kommando.port());
        f->Info_Socket.setPort(info.port());
        f->Poll_Socket.setPort(poll.port());
        f->InfoMode = 1;
        f->Hostverbinden1Click();
        f->Abfragestarten1Click();
        QVERIFY(f->CommandConnected && f->InfoConnected && f->PollConnected);
        QTRY_COMPARE(kommando.Empfangen, QByteArray("SET POWER ON\n"));
        QTest::qWait(200);
        QVERIFY(info.Empfangen.isEmpty() && poll.Empfangen.isEmpty());
        f->Abfragebeenden1Click();
        f->Hosttrennen1Click();
    }
};

QTEST_MAIN(TestSitzungen)
#include "test_sitzungen.moc"
