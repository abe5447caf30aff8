// The connections of the main window against scripted servers on loopback:
// the opening exchange, the reader threads, the poll channel, the command
// texts and the operator commands, asserting the exact bytes sent.
#include "Velmo/LeseThreads.h"
#include "Velmo/TBildFlaeche.h"
#include "Velmo/TStatusLeiste.h"
#include "elemente/Bilder.h"
#include "scripteddialoge.h"
#include "skriptserver.h"
#include "spalte.h"
#include "testwork.h"

#include <QAction>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTimer>
#include <ctime>
#include <QtTest>

namespace {

QByteArray Srcp08(const QByteArray &rest)
{
    return "1796762107.242 " + rest + "\n";
}

// An SRCP 0.8 server that accepts the handshake of either mode and every command.
QByteArray AllesOk(const QByteArray &line)
{
    if (line == "SET CONNECTIONMODE SRCP COMMAND" || line == "SET CONNECTIONMODE SRCP INFO")
        return Srcp08("202 OK CONNECTIONMODE");
    if (line == "GO")
        return Srcp08("200 OK GO 7");
    return Srcp08("200 OK");
}

// The sockets of this process's host connected to one of the ports whose
// server has closed its side while this side has not (CLOSE-WAIT).
int HalbOffen(const QList<int> &ports)
{
    int n = 0;
    for (const char *datei : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile f(QString::fromLatin1(datei));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &zeile : f.readAll().split('\n')) {
            const QList<QByteArray> felder = zeile.simplified().split(' ');
            if (felder.size() > 3 && felder[3] == "08"
                && ports.contains(felder[2].mid(felder[2].indexOf(':') + 1).toInt(nullptr, 16)))
                ++n;
        }
    }
    return n;
}

// A window whose three connections point at the given servers.
struct Anlage
{
    TestWorkDir Work;
    TestFenster F {Work.path()};
    SkriptServer Kommando, Info, Poll;

    explicit Anlage(int version = 70)
    {
        F->ServerHost = "127.0.0.1";
        F->VerbindungenEinstellen();
        F->Command_Socket.setPort(Kommando.port());
        F->Info_Socket.setPort(Info.port());
        F->Poll_Socket.setPort(Poll.port());
        F->SrcpVersion = version;
        F->Bahn->Schaltimpuls = 50;
        F.Dialogs->Meldungen.clear();
    }
    ~Anlage()
    {
        if (!F.Form)
            return;
        F->Hosttrennen1Click();
        F->Abfragebeenden1Click();
    }
    QStringList Protokoll() const { return F->Memo1->toPlainText().split('\n', Qt::SkipEmptyParts); }
    bool Zeigt(int x, int y, const QString &bild)
    {
        QImage icon;
        LadeBild(Work.dataPath(bild), icon);
        return F->PlanBitmap.copy(x, y, 27, 27) == icon.copy(0, 0, 27, 27);
    }
    // Connects; under SRCP 0.8 with a session begun, until the questions
    // about the buses have arrived.
    bool Verbunden()
    {
        const qsizetype fragen = Kommando.Zeilen.count("GET 3 DESCRIPTION");
        F->Hostverbinden1Click();
        return QTest::qWaitFor([this] { return Kommando.hatClient(); }) && F->CommandConnected
            && (F->SessionId == 0
                || QTest::qWaitFor([&] { return Kommando.Zeilen.count("GET 3 DESCRIPTION") > fragen; }));
    }
    // Waits until the server has received n more bytes than before.
    QByteArray Neu(qsizetype &seit, qsizetype anzahl, int frist = 3000)
    {
        if (!QTest::qWaitFor([&] { return Kommando.Empfangen.size() >= seit + anzahl; }, frist))
            qWarning("server received only %lld bytes", qlonglong(Kommando.Empfangen.size() - seit));
        const QByteArray neu = Kommando.Empfangen.mid(seit);
        seit = Kommando.Empfangen.size();
        return neu;
    }
};

} // namespace

class TestVerbindung : public QObject
{
    Q_OBJECT
private slots:
    void srcp073Verbinden()
    {
        Anlage a(70);
        QVERIFY(a.Verbunden());
        QTRY_COMPARE(a.Kommando.Empfangen, QByteArray("SET POWER ON\n"));
        QVERIFY(!a.F->Hostverbinden1->isEnabled());
        QVERIFY(a.F.Dialogs->Meldungen.isEmpty());

        // A second connect while connected: refused by the client, the
        // connection is closed and the entry is enabled again.
        a.F->Hostverbinden1->setEnabled(true);
        a.F->Hostverbinden1Click();
        QCOMPARE(a.F.Dialogs->Meldungen.size(), 1);
        QCOMPARE(a.F.Dialogs->Meldungen[0].Text, QString("Fehler CommandSocket:\rBereits verbunden."));
        QVERIFY(!a.F->CommandConnected);
        QVERIFY(a.F->Hostverbinden1->isEnabled());
        QTRY_VERIFY(!a.Kommando.hatClient());
        QTRY_VERIFY(a.F->ClientThread->isFinished());
    }

    void srcp080Sitzung()
    {
        Anlage a(80);
        a.Kommando.Antwort = AllesOk;
        a.Kommando.Uhr.restart();
        QVERIFY(a.Verbunden());
        QCOMPARE(a.Kommando.Empfangen, QByteArray("SET CONNECTIONMODE SRCP COMMAND\r\nGO\r\nGET 1 DESCRIPTION\r\n"
                                                  "GET 2 DESCRIPTION\r\nGET 3 DESCRIPTION\r\n"));
        QVERIFY2(a.Kommando.Ankunft[0] >= 1400 && a.Kommando.Ankunft[0] < 2200, qPrintable(QString::number(a.Kommando.Ankunft[0])));
        QVERIFY(a.Kommando.Ankunft[1] - a.Kommando.Ankunft[0] >= 450);
        QCOMPARE(a.F->SessionId, 7);
        QCOMPARE(a.F->CommandReply, QByteArray("OK"));
        QVERIFY(a.Protokoll().contains("SessionID :7"));
        QTRY_COMPARE(a.F->StatusBar1->Text(1), QString("1796762107.242 200 OK"));
    }

    void srcp080Abgelehnt()
    {
        Anlage modus(80);
        modus.Kommando.Antwort = [](const QByteArray &) { return Srcp08("410 ERROR unknown command"); };
        QVERIFY(modus.Verbunden());
        QCOMPARE(modus.Kommando.Zeilen, QList<QByteArray>({"SET CONNECTIONMODE SRCP COMMAND"}));
        QCOMPARE(modus.Protokoll().last(), QString("Der Command Modus konnte niht gestartet werden!"));
        QCOMPARE(modus.F->StatusBar1->Text(1), QString("Der Command Modus konnte niht gestartet werden!"));
        QVERIFY(modus.F->CommandConnected);

        Anlage sitzung(80);
        sitzung.Kommando.Antwort = [](const QByteArray &line) {
            return line == "GO" ? Srcp08("401 ERROR unsupported") : AllesOk(line);
        };
        QVERIFY(sitzung.Verbunden());
        const QStringList log = sitzung.Protokoll();
        QCOMPARE(log.mid(log.size() - 2), QStringList({"Die Session konnte nicht begonnen werden!", "SessionID :0"}));
        QCOMPARE(sitzung.F->StatusBar1->Text(1), QString("Die Session konnte nicht begonnen werden!"));
        QCOMPARE(sitzung.F->SessionId, 0);
    }

    // Each handshake step judges only the replies to its own line.
    void srcp080OhneAntwort()
    {
        Anlage a(80);
        a.Kommando.Antwort = AllesOk;
        QVERIFY(a.Verbunden());
        QCOMPARE(a.F->SessionId, 7);
        a.F->Hosttrennen1Click();
        QTRY_VERIFY(!a.Kommando.hatClient());

        // The same window meets a server that answers nothing.
        a.Kommando.Antwort = nullptr;
        a.Kommando.Zeilen.clear();
        QVERIFY(a.Verbunden());
        QCOMPARE(a.Kommando.Zeilen, QList<QByteArray>({"SET CONNECTIONMODE SRCP COMMAND"}));
        QCOMPARE(a.Protokoll().last(), QString("Der Command Modus konnte niht gestartet werden!"));
        QCOMPARE(a.F->SessionId, 0);
        a.F->Hosttrennen1Click();
        QTRY_VERIFY(!a.Kommando.hatClient());

        // "GO" without an answer: the session fails, and the info
        // connection is still opened.
        a.Kommando.Antwort = [](const QByteArray &line) { return line == "GO" ? QByteArray() : AllesOk(line); };
        a.Info.Antwort = AllesOk;
        a.F->InfoMode = 1;
        QVERIFY(a.Verbunden());
        const QStringList log = a.Protokoll();
        // The info session still begins.
        QCOMPARE(log.mid(log.size() - 3),
                 QStringList({"Die Session konnte nicht begonnen werden!", "SessionID :0", "SessionID :7"}));
        QVERIFY(a.F->InfoConnected);
        QVERIFY(a.F.Dialogs->Meldungen.isEmpty());
    }

    void verbindungsfehler()
    {
        Anlage a(70);
        a.F->Command_Socket.setPort(freierPort());
        a.F->Info_Socket.setPort(freierPort());
        a.F->InfoMode = 1;
        a.F->Hostverbinden1Click();
        const auto &m = a.F.Dialogs->Meldungen;
        QCOMPARE(m.size(), 2);
        QCOMPARE(m[0].Text, QString("Fehler CommandSocket:\rConnection refused"));
        QCOMPARE(m[1].Text, QString("Fehler InfoSocket:\rConnection refused"));
        QVERIFY(m[0].Kind == Dialoge::Art::Fehler);
        QVERIFY(a.F->Hostverbinden1->isEnabled());
        QVERIFY(!a.F->CommandConnected && !a.F->InfoConnected);

        // Disconnecting while not connected shows nothing and changes nothing.
        a.F->Hosttrennen1Click();
        QCOMPARE(m.size(), 2);
        QVERIFY(!a.F->CommandConnected && !a.F->InfoConnected);
    }

    void schliessenNurGetrennt()
    {
        Anlage a(70);
        QVERIFY(a.Verbunden());
        QVERIFY(!a.F->close());
        QCOMPARE(a.F.Dialogs->Meldungen.size(), 1);
        QCOMPARE(a.F.Dialogs->Meldungen[0].Text,
                 QString("Velmo ist noch mit dem Server verbunden, bitte erst die Verbindung schliessen!"));
        QCOMPARE(a.F.Dialogs->Meldungen[0].Caption, QString("Fehler"));
        QVERIFY(a.F.Dialogs->Meldungen[0].Kind == Dialoge::Art::Information);
        a.F->Hosttrennen1Click();
        QVERIFY(a.F->Hostverbinden1->isEnabled());
        // The connection itself decides, not a flag that may lag behind it.
        a.F->CommandConnected = true;
        QVERIFY(a.F->close());
    }

    // "Host trennen" closes the info connection too, so the next connect
    // opens it again without an error; any info mode above 0 counts as on.
    void trennenSchliesstInfo_data()
    {
        QTest::addColumn<int>("infoMode");
        QTest::newRow("1") << 1;
        QTest::newRow("5") << 5;
    }
    void trennenSchliesstInfo()
    {
        QFETCH(int, infoMode);
        Anlage a(70);
        a.F->InfoMode = infoMode;
        for (int runde = 1; runde <= 2; ++runde) {
            QVERIFY(a.Verbunden());
            QTRY_VERIFY(a.Info.hatClient());
            QVERIFY(a.F->InfoConnected);
            a.F->Hosttrennen1Click();
            QTRY_VERIFY(!a.Info.hatClient() && !a.Kommando.hatClient());
            QVERIFY(!a.F->InfoConnected);
        }
        QCOMPARE(a.Info.Verbindungen, 2);
        QVERIFY(a.F.Dialogs->Meldungen.isEmpty());
    }

    // The server ends one connection: the command connection takes the
    // info and feedback connections with it, the contacts show free, the
    // menus show what is still open, the left panel says so, and no socket
    // is left half open; the program can then be closed and connected again.
    void verbindungVerloren_data()
    {
        QTest::addColumn<QByteArray>("zuletzt"); // sent right before closing
        QTest::addColumn<int>("infoMode");
        QTest::addColumn<QString>("getrennt"); // the server closing its side
        QTest::addColumn<QString>("status");
        const QString verloren = "Verbindung zum Server verloren";
        QTest::newRow("sauber geschlossen") << QByteArray() << 0 << "Kommando" << verloren;
        QTest::newRow("mitten in der Zeile") << QByteArray("INFO 1 GA 5 0 ") << 0 << "Kommando" << verloren;
        QTest::newRow("mit Info-Verbindung") << QByteArray("ganze Zeile\n") << 1 << "Kommando" << verloren;
        QTest::newRow("nur Info") << QByteArray() << 1 << "Info" << verloren + " (Info)";
        QTest::newRow("nur Rueckmeldung") << QByteArray() << 1 << "Poll" << verloren + QString::fromUtf8(" (Rückmeldung)");
    }
    void verbindungVerloren()
    {
        QFETCH(QByteArray, zuletzt);
        QFETCH(int, infoMode);
        QFETCH(QString, getrennt);
        Anlage a;
        a.F->InfoMode = infoMode;
        a.F->Dokument.Zellen.NeuePosition(27, 54, 65);
        a.F->Seite.AutomatischNeuVerbinden = false;
        a.F->Dokument.Zellen.Positionen[1].Dekoder1 = 1;
        a.F->Dokument.Zellen.Positionen[1].Adresse1 = 3;
        a.F->Abfragebeenden1Click(); // a plan is there: both entries enabled
        QVERIFY(a.Verbunden());
        a.F->Abfragestarten1Click();
        QTRY_VERIFY(a.Poll.hatClient() && a.Info.hatClient() == (infoMode > 0));
        a.Poll.senden("INFO FB S88 3 1\n");
        QTRY_VERIFY(a.Zeigt(27, 54, "Icon6502.bmp"));

        SkriptServer &server = getrennt == "Kommando" ? a.Kommando : getrennt == "Info" ? a.Info : a.Poll;
        server.senden(zuletzt);
        server.trennen();
        QTRY_COMPARE(a.F->StatusBar1->Text(0), Spalte<QString>("status"));
        const bool kommando = getrennt == "Kommando";
        QCOMPARE(a.F->CommandConnected, !kommando);
        QCOMPARE(a.F->InfoConnected, getrennt == "Poll");
        QCOMPARE(a.F->PollConnected, getrennt == "Info");
        QCOMPARE(a.F->Hostverbinden1->isEnabled(), kommando);
        QCOMPARE(a.F->Abfragestarten1->isEnabled(), getrennt != "Info");
        QCOMPARE(a.Zeigt(27, 54, "Icon6501.bmp"), getrennt != "Info");
        QTRY_COMPARE(a.Kommando.hatClient() || a.Info.hatClient() || a.Poll.hatClient(), !kommando);
        QTRY_COMPARE(HalbOffen({a.Kommando.port(), a.Info.port(), a.Poll.port()}), 0);
        QVERIFY(a.F.Dialogs->Meldungen.isEmpty());
        if (!kommando)
            return;
        QVERIFY(a.F->close());
        QVERIFY(a.Verbunden());
        QCOMPARE(a.Kommando.Verbindungen, 2);
    }

    // A connect that "Host trennen" cancels opens no info connection.
    void trennenWaehrendVerbinden()
    {
        Anlage a(70);
        a.F->InfoMode = 1;
        QTimer::singleShot(0, a.F.Form.get(), [&] { a.F->Hosttrennen1Click(); });
        a.F->Hostverbinden1Click();
        QCOMPARE(a.F.Dialogs->Meldungen.size(), 1);
        QCOMPARE(a.F.Dialogs->Meldungen[0].Text, QString("Fehler CommandSocket:\rOperation canceled"));
        QVERIFY(!a.F->CommandConnected && !a.F->InfoConnected);
        QTest::qWait(100);
        QCOMPARE(a.Info.Verbindungen, 0);
        QVERIFY(a.F->Hostverbinden1->isEnabled());
    }

    // The protocol log keeps its newest 5000 lines, and it and the status
    // bar show at most 1000 characters of a line.
    void protokollBegrenzt()
    {
        Anlage a(70);
        for (int i = 1; i <= 6000; ++i)
            a.F->KommandoZeile(QByteArray::number(i));
        QStringList log = a.Protokoll();
        QCOMPARE(log.size(), 5000);
        QCOMPARE(log.first(), QString("1001"));
        QCOMPARE(log.last(), QString("6000"));

        const QString gezeigt = QString(1000, 'x') + QChar(0x2026);
        a.F->KommandoZeile(QByteArray(65536, 'x'));
        a.F->InfoZeile(QByteArray(65536, 'x'));
        QCOMPARE(a.Protokoll().last(), gezeigt);
        QCOMPARE(a.F->StatusBar1->Text(1), gezeigt);
        QCOMPARE(a.F->StatusBar1->Text(2), gezeigt);
    }

    void empfangeneZeilen()
    {
        Anlage a(70);
        a.F->InfoMode = 1;
        QVERIFY(a.Verbunden());
        QTRY_VERIFY(a.Info.hatClient());
        QVERIFY(a.F->InfoConnected);
        a.Kommando.senden("erste\r\nzweite\n");
        a.Kommando.senden("dritte\n");
        QTRY_COMPARE(a.Protokoll().mid(a.Protokoll().size() - 3), QStringList({"erste", "zweite", "dritte"}));
        QCOMPARE(a.F->StatusBar1->Text(1), QString("dritte"));
        a.Info.senden("INFO GA M 18 0 1\n");
        QTRY_COMPARE(a.F->StatusBar1->Text(2), QString("INFO GA M 18 0 1"));
        QCOMPARE(a.F->StatusBar1->Text(1), QString("dritte"));
    }

    void pollKanal()
    {
        Anlage a;
        a.F->Dokument.Zellen.NeuePosition(27, 54, 65);
        a.F->Dokument.Zellen.Positionen[1].Dekoder1 = 2;
        a.F->Dokument.Zellen.Positionen[1].Adresse1 = 2;
        a.F->Abfragebeenden1Click(); // a plan is there: both entries enabled
        a.F->Abfragestarten1Click();
        QVERIFY(a.F->PollConnected);
        QVERIFY(!a.F->Abfragestarten1->isEnabled() && !a.F->reset1->isEnabled());
        QTRY_VERIFY(a.Poll.hatClient());

        QImage belegt, frei;
        LadeBild(a.Work.dataPath("Icon6502.bmp"), belegt);
        LadeBild(a.Work.dataPath("Icon6501.bmp"), frei);
        auto zeigt = [&](const QImage &bild) { return a.F->PlanBitmap.copy(27, 54, 27, 27) == bild.copy(0, 0, 27, 27); };

        a.Poll.senden("INFO GA M 18 0 1\ninfo fb s88 18 1\nINFO FB S88 18 x\n");
        a.Poll.senden("INFO FB S88 18 1\n");
        QTRY_VERIFY(zeigt(belegt));
        a.Poll.senden("INFO FB S88 * 0000000000000000000\n");
        QTRY_VERIFY(zeigt(frei));
        QVERIFY(a.F->StatusBar1->Text(1).startsWith("WorkDir"));
        // A value without a picture is reported in the status bar; the cell keeps its picture.
        a.Poll.senden("INFO FB S88 18 2\n");
        QTRY_COMPARE(a.F->StatusBar1->Text(1), QString("Fehler !!"));
        QVERIFY(zeigt(frei));

        // The server closes the poll connection: the reader ends, and the
        // channel is stopped.
        a.Poll.trennen();
        QTRY_VERIFY(a.F->PollThread->isFinished());
        QTRY_VERIFY(a.F->Abfragestarten1->isEnabled() && a.F->reset1->isEnabled());
        QVERIFY(!a.F->PollConnected);

        // Reset shows the contact free again.
        a.F->ZeichneElement(2, 27, 54, 65);
        a.F->reset1->trigger();
        QVERIFY(zeigt(frei));

        // A poll connection that cannot be opened.
        a.F->Poll_Socket.setPort(freierPort());
        a.F->Abfragestarten1Click();
        QCOMPARE(a.F.Dialogs->Meldungen.last().Text, QString("Fehler PollSocket:\rConnection refused"));
        QVERIFY(a.F->Abfragestarten1->isEnabled());
        QVERIFY(!a.F->reset1->isEnabled());
        QVERIFY(!a.F->PollConnected);
    }

    void zubehoerSchalten()
    {
        Anlage a(70);
        // Not connected: back at once, nothing sent.
        a.F->Bahn->Schaltimpuls = 5000;
        QElapsedTimer uhr;
        uhr.start();
        a.F->Bahn->SwitchAccessory("M", 4, 3);
        QVERIFY(uhr.elapsed() < 100);

        QVERIFY(a.Verbunden());
        qsizetype seit = 0;
        a.Neu(seit, 13);
        // The real pulse: off follows on after 5000 ms.
        a.Kommando.Uhr.restart();
        a.F->Bahn->SwitchAccessory("M", 4, 3);
        QCOMPARE(a.Neu(seit, 38, 6000), QByteArray("SET GA M 18 0 1 -1\nSET GA M 18 0 0 -1\n"));
        const qint64 impuls = a.Kommando.Ankunft.last() - a.Kommando.Ankunft[a.Kommando.Ankunft.size() - 2];
        QVERIFY2(impuls >= 4950 && impuls < 5600, qPrintable(QString::number(impuls)));

        a.F->Bahn->Schaltimpuls = 50;
        a.F->Bahn->SwitchAccessory("n", 1, 0);
        QCOMPARE(a.Neu(seit, 36), QByteArray("SET GA N 4 1 1 -1\nSET GA N 4 1 0 -1\n"));
        a.F->Bahn->SwitchAccessory("", 1, 9);
        QCOMPARE(a.Neu(seit, 36), QByteArray("SET GA M 8 1 1 -1\nSET GA M 8 1 0 -1\n"));
        a.F->Bahn->SwitchAccessory("M", 0, 1);
        a.F->Bahn->SwitchAccessory("M", 1, -1);
        QTest::qWait(100);
        QCOMPARE(a.Kommando.Empfangen.size(), seit);
    }

    void zubehoerSrcp080()
    {
        Anlage a(80);
        a.Kommando.Antwort = AllesOk;
        QVERIFY(a.Verbunden());
        qsizetype seit = a.Kommando.Empfangen.size();
        a.F->Bahn->SwitchAccessory("M", 4, 3);
        QCOMPARE(a.Neu(seit, 53), QByteArray("INIT 1 GA 18 M\nSET 1 GA 18 0 1 -1\nSET 1 GA 18 0 0 -1\n"));
        a.F->Bahn->SwitchAccessory("M", 4, 4);
        QCOMPARE(a.Neu(seit, 38), QByteArray("SET 1 GA 18 1 1 -1\nSET 1 GA 18 1 0 -1\n"));
        a.F->Bahn->SwitchAccessory("N", 4, 4);
        QCOMPARE(a.Neu(seit, 53), QByteArray("INIT 2 GA 18 N\nSET 2 GA 18 1 1 -1\nSET 2 GA 18 1 0 -1\n"));

        // A new session announces its accessories again.
        a.F->Hosttrennen1Click();
        QTRY_VERIFY(!a.Kommando.hatClient());
        QVERIFY(a.Verbunden());
        seit = a.Kommando.Empfangen.size();
        a.F->Bahn->SwitchAccessory("M", 4, 3);
        QCOMPARE(a.Neu(seit, 53), QByteArray("INIT 1 GA 18 M\nSET 1 GA 18 0 1 -1\nSET 1 GA 18 0 0 -1\n"));

        // A version code other than 70 and 80 speaks SRCP 0.8 like the session does.
        a.F->SrcpVersion = 75;
        a.F->Bahn->SwitchAccessory("M", 4, 3);
        QCOMPARE(a.Neu(seit, 38), QByteArray("SET 1 GA 18 0 1 -1\nSET 1 GA 18 0 0 -1\n"));
    }

    void lokomotiven()
    {
        Anlage a(70);
        cLocoInfo &lok = a.F->Lokomotiven[0];
        lok.Protokoll = "M2";
        lok.Adresse = 3;
        lok.Richtung = 1;
        lok.Geschwindigkeit = 12;
        lok.Vmax = 28;
        lok.Funktion0 = 1;
        lok.Funktionsanzahl = 2;
        lok.Funktionen = {11, 10, 0, 0, 0, 0, 0, 0};
        a.F->Bahn->SendLocoCommand(0); // not connected: dropped
        QVERIFY(a.Verbunden());
        qsizetype seit = 0;
        a.Neu(seit, 13);
        a.F->Bahn->SendLocoCommand(0);
        QCOMPARE(a.Neu(seit, 29), QByteArray("SET GL M2 3 1 12 28 1 2 1 0 \n"));
        a.F->Hosttrennen1Click();

        // Under 0.80 each session announces the locomotive once, then drives
        // it; a change while the announcement awaits its reply is announced anew.
        Anlage b(80);
        b.Kommando.Antwort = AllesOk;
        b.F->Lokomotiven[0] = lok;
        b.F->Lokomotiven[0].Initialisiert = 1;
        QVERIFY(b.Verbunden());
        QCOMPARE(b.F->Lokomotiven[0].Initialisiert, 0);
        seit = b.Kommando.Empfangen.size();
        b.F->Bahn->SendLocoCommand(0);
        b.F->Lokomotiven[0].Funktionsanzahl = 1;
        b.F->Bahn->SendLocoCommand(0);
        QCOMPARE(b.Neu(seit, 90), QByteArray("INIT 1 GL 3 M 2 14 3\nSET 1 GL 3 1 12 28 1 1 0 \n"
                                             "INIT 1 GL 3 M 2 14 2\nSET 1 GL 3 1 12 28 1 1 \n"));
        QTRY_COMPARE(b.F->Lokomotiven[0].Initialisiert, 1);
        // A code outside the table sends nothing.
        b.F->Lokomotiven[1].Protokoll = "X7";
        b.F->Lokomotiven[1].Adresse = 5;
        b.F->Bahn->SendLocoCommand(1);
        QTest::qWait(100);
        QCOMPARE(b.Kommando.Empfangen.size(), seit);
        QCOMPARE(b.F->Bahn->BuildLocoInit(0), QByteArray("INIT 1 GL 3 M 2 14 2\n"));
    }

    void bedienbefehle()
    {
        Anlage a(70);
        // Disconnected: nothing sent, nothing shown.
        a.F.Dialogs->InputAnswers = {{true, "SET GA M 1 1 1 -1"}};
        a.F->Poweron1->trigger();
        a.F->freieBefehle1->trigger();
        QVERIFY(a.F.Dialogs->Meldungen.isEmpty());
        QCOMPARE(a.F.Dialogs->InputPrompts, QStringList({"Befehlseingabe|z.B. SET GA M 16 1 1 500"}));

        QVERIFY(a.Verbunden());
        qsizetype seit = 0;
        a.Neu(seit, 13);
        a.F->Poweron1->trigger();
        QCOMPARE(a.Neu(seit, 14), QByteArray("SET POWER ON\r\n"));
        a.F->Poweroff1->trigger();
        QCOMPARE(a.Neu(seit, 15), QByteArray("SET POWER OFF\r\n"));
        a.F.Dialogs->InputAnswers = {{true, ""}, {true, "GET 1 POWER  "}, {false, "SET POWER OFF"}};
        a.F->freieBefehle1->trigger();
        a.F->freieBefehle1->trigger();
        a.F->freieBefehle1->trigger();
        QCOMPARE(a.Neu(seit, 16), QByteArray("\r\nGET 1 POWER  \r\n"));
        QTest::qWait(100);
        QCOMPARE(a.Kommando.Empfangen.size(), seit);
        a.F->Hosttrennen1Click();

        Anlage b(80);
        b.Kommando.Antwort = AllesOk;
        QVERIFY(b.Verbunden());
        seit = b.Kommando.Empfangen.size();
        b.F->Poweron1->trigger();
        QCOMPARE(b.Neu(seit, 48), QByteArray("SET 1 POWER ON\r\nSET 2 POWER ON\r\nSET 3 POWER ON\r\n"));
    }

    // With three open connections and nothing arriving, the readers sleep in
    // the kernel and the process uses (almost) no CPU.
    void ruhendOhneRechenzeit()
    {
        Anlage a(70);
        a.F->InfoMode = 1;
        QVERIFY(a.Verbunden());
        a.F->Abfragestarten1Click();
        QTRY_VERIFY(a.Info.hatClient() && a.Poll.hatClient());
        QTest::qWait(100);
        timespec vorher {}, nachher {};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &vorher);
        QEventLoop ruhe;
        QTimer::singleShot(1000, &ruhe, &QEventLoop::quit);
        ruhe.exec();
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &nachher);
        const double ms = (nachher.tv_sec - vorher.tv_sec) * 1e3 + (nachher.tv_nsec - vorher.tv_nsec) / 1e6;
        QVERIFY2(ms < 20, qPrintable(QString("%1 ms CPU in 1 s idle").arg(ms)));
        QVERIFY(a.F->ClientThread->isRunning() && a.F->InfoThread->isRunning() && a.F->PollThread->isRunning());
    }

    // A server floods the poll connection while the channel is stopped in
    // the middle: no hang, no crash, well within 10 s.
    void flutAufDemPollKanal()
    {
        Anlage a;
        a.F->Dokument.Zellen.NeuePosition(0, 0, 65);
        a.F->Dokument.Zellen.Positionen[1].Dekoder1 = 1;
        a.F->Dokument.Zellen.Positionen[1].Adresse1 = 1;
        QElapsedTimer uhr;
        uhr.start();
        a.F->Abfragestarten1Click();
        QTRY_VERIFY(a.Poll.hatClient());
        QByteArray flut;
        for (int i = 0; i < 10000; ++i)
            flut += "INFO FB S88 1 " + QByteArray::number(i % 2) + "\n";
        a.Poll.senden(flut);
        QTest::qWait(50);
        a.F->Abfragebeenden1Click();
        QVERIFY(!a.F->PollConnected);
        QTRY_VERIFY(a.F->PollThread->isFinished());
        QVERIFY(uhr.elapsed() < 10000);

        // Quitting with a reader mid-flood joins it without a hang.
        a.F->Abfragestarten1Click();
        QTRY_VERIFY(a.Poll.hatClient());
        a.Poll.senden(flut);
        a.F.Form.reset();
        QVERIFY(uhr.elapsed() < 10000);
    }
};

QTEST_MAIN(TestVerbindung)
#include "test_verbindung.moc"
