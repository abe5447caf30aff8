// Velmo under SRCP 0.8 against both peers, the simulator and the real
// server srcpd, so that the simulator cannot drift from the real thing:
// pulse times on the server's clock, feedback of two buses, a locomotive
// announced with all its functions and announced again after a change.
#include "Velmo/TBildFlaeche.h"
#include "Velmo/TStatusLeiste.h"
#include "bedienung/Lokdialog.h"
#include "elemente/Bilder.h"
#include "infomitschnitt.h"
#include "scripteddialoge.h"
#include "simprozess.h"
#include "srcpdprozess.h"
#include "testwork.h"

#include <QtTest>
#include <memory>

namespace {

// The peer of the data row: "srcpsim" or "srcpd"; Port 0 when it did not start.
struct Gegenstelle
{
    std::unique_ptr<SrcpdProzess> Srcpd;
    std::unique_ptr<SimProzess> Sim;
    int Port = 0;
    QString Fehlt; // srcpd is not built here

    Gegenstelle()
    {
        if (QByteArray(QTest::currentDataTag()) == "srcpd") {
            Srcpd = std::make_unique<SrcpdProzess>();
            Fehlt = Srcpd->Verfuegbar() ? QString() : Srcpd->Grund;
            Port = Srcpd->Port;
        } else {
            Sim = std::make_unique<SimProzess>(builtBinDir(), QStringList {"--srcp", "0.8", "--buses", "1,2"});
            Port = Sim->Port;
        }
    }
};

// A window on a new plan, connected to the peer under SRCP 0.80 with the
// track power on, and an info session recording what the server does.
struct Anschluss
{
    TestWorkDir Work;
    TestFenster F {Work.path()};
    std::unique_ptr<InfoMitschnitt> Info;

    Anschluss()
    {
        F.Dialogs->FileAnswers = {Work.path() + "plan"};
        F->Neu1Click();
    }
    bool Verbinden(int port)
    {
        F->ServerHost = "127.0.0.1";
        F->ServerPort = port;
        F->SrcpVersion = 80;
        F->VerbindungenEinstellen();
        Info = std::make_unique<InfoMitschnitt>(port);
        F->Hostverbinden1Click();
        F->Poweron1Click();
        return Info->Bereit && F->SessionId > 0
            && Info->warteAuf([](const SrcpZeile &z) { return z.Rest.startsWith("100 INFO 1 POWER ON"); }) >= 0;
    }
    ~Anschluss() { F->Hosttrennen1Click(); }
    // The server time of the first report from `ab` on that is exactly `rest`.
    qint64 Zeit(const QByteArray &rest, int ab = 0)
    {
        const int i = Info->warteAuf(rest, 8000, ab);
        return i < 0 ? -1 : Info->Zeilen[i].Serverzeit;
    }
};

#define GEGENSTELLE(g)                                                                                                 \
    Gegenstelle g;                                                                                                     \
    if (!g.Fehlt.isEmpty())                                                                                            \
        QSKIP(qPrintable(g.Fehlt));                                                                                    \
    QVERIFY(g.Port > 0)

void BeideGegenstellen()
{
    QTest::addColumn<int>("leer");
    QTest::newRow("srcpsim") << 0;
    QTest::newRow("srcpd") << 0;
}

} // namespace

class TestGegenstellen : public QObject
{
    Q_OBJECT
private slots:
    // Three turnouts pressed a third of a pulse apart: each output is
    // reported off one pulse after its own "on" on the server's clock; a
    // fourth press ended by "Host trennen" is reported off at once.
    void impulse_data() { BeideGegenstellen(); }
    void impulse()
    {
        GEGENSTELLE(g);
        Anschluss a;
        constexpr int impuls = 900;
        a.F->Bahn->Schaltimpuls = impuls;
        for (int i = 0; i < 3; ++i) {
            a.F->Dokument.Zellen.NeuePosition(27 * (i + 1), 27, 6);
            C_Position &zelle = a.F->Dokument.Zellen.Positionen[i + 1];
            zelle.Dekoder1 = zelle.Dekoder2 = 3 + i;
            zelle.Adresse1 = 1;
            zelle.Adresse2 = 2;
        }
        a.F->Betrieb1Click();
        QVERIFY(a.Verbinden(g.Port));
        const int ab = int(a.Info->Zeilen.size());
        for (int i = 0; i < 3; ++i) {
            a.F->VelmoMouseDown(Qt::LeftButton, {}, 27 * (i + 1), 27);
            QTest::qWait(impuls / 3);
        }
        for (int adresse : {13, 17, 21}) {
            const qint64 ein = a.Zeit(QByteArray("100 INFO 1 GA %1 1 1").replace("%1", QByteArray::number(adresse)), ab);
            const qint64 aus = a.Zeit(QByteArray("100 INFO 1 GA %1 1 0").replace("%1", QByteArray::number(adresse)), ab);
            QVERIFY2(ein > 0 && qAbs(aus - ein - impuls) <= 200, qPrintable(QString("%1: %2 ms").arg(adresse).arg(aus - ein)));
        }
        const int vorher = int(a.Info->Zeilen.size());
        a.F->VelmoMouseDown(Qt::LeftButton, {}, 27, 27);
        QTest::qWait(impuls / 3);
        a.F->Hosttrennen1Click();
        const qint64 ein = a.Zeit("100 INFO 1 GA 13 0 1", vorher);
        const qint64 aus = a.Zeit("100 INFO 1 GA 13 0 0", vorher);
        QVERIFY2(ein > 0 && aus > 0 && aus - ein < impuls * 2 / 3, qPrintable(QString("%1 ms").arg(aus - ein)));
    }

    // The plan shows the contacts of the lowest bus that has feedback
    // (bus 1 of both peers); a report of bus 2 only reaches the right panel.
    void zweiBusse_data() { BeideGegenstellen(); }
    void zweiBusse()
    {
        GEGENSTELLE(g);
        Anschluss a;
        a.F->Dokument.Zellen.NeuePosition(27, 27, 65);
        a.F->Dokument.Zellen.Positionen[1].Dekoder1 = 1;
        a.F->Dokument.Zellen.Positionen[1].Adresse1 = 3;
        a.F->Betrieb1Click();
        QVERIFY(a.Verbinden(g.Port));
        a.F->Abfragestarten1Click();
        QVERIFY(a.F->PollConnected && a.F->PollSitzung.SessionId > 0);
        QImage belegt;
        LadeBild(a.Work.dataPath("Icon6502.bmp"), belegt);
        auto zeigtBelegt = [&] { return a.F->PlanBitmap.copy(27, 27, 27, 27) == belegt.copy(0, 0, 27, 27); };

        QCOMPARE(Befehl(g.Port, {"SET 2 FB 3 1"}), QByteArrayList {"200 OK"});
        QTRY_VERIFY(a.F->StatusBar1->Text(2).endsWith("100 INFO 2 FB 3 1"));
        QVERIFY(!zeigtBelegt());
        QCOMPARE(Befehl(g.Port, {"SET 1 FB 3 1"}), QByteArrayList {"200 OK"});
        QTRY_VERIFY(zeigtBelegt());
        a.F->Abfragebeenden1Click();
    }

    // A locomotive is announced with F0 and its four functions, so F4
    // reaches the layout; confirming a new address in the decoder dialog
    // announces it again before its next drive command, with its own
    // protocol rather than the server's default.
    void lokomotive_data() { BeideGegenstellen(); }
    void lokomotive()
    {
        GEGENSTELLE(g);
        Anschluss a;
        QVERIFY(a.Verbinden(g.Port));
        cLocoInfo &lok = a.F->Lokomotiven[0];
        lok.Protokoll = "M2";
        lok.Adresse = 3;
        lok.Richtung = 1;
        lok.Vmax = 28;
        lok.Funktionsanzahl = 4;
        lok.Funktionen = {1, 2, 3, 15};
        a.F->Bahn->SendLocoCommand(0);
        QVERIFY(a.Zeit("101 INFO 1 GL 3 M 2 14 5") > 0);
        const int zustand = a.Info->warteAuf([](const SrcpZeile &z) {
            return z.Rest.startsWith("100 INFO 1 GL 3 ") && z.Rest.split(' ').size() == 13 && z.Rest.endsWith(" 0 0 0 1");
        });
        QVERIFY2(zustand >= 0, "no report of F4 switched on");

        LokdialogEingaben eingaben {"4", "BR 01", "28", "4", "14", true, 1, {1, 2, 3, 5}};
        QVERIFY(LokdialogSpeichern(lok, eingaben, 80));
        a.F->Bahn->SendLocoCommand(0);
        QVERIFY(a.Zeit("101 INFO 1 GL 4 M 2 14 5") > 0);
    }
};

QTEST_MAIN(TestGegenstellen)
#include "test_gegenstellen.moc"
