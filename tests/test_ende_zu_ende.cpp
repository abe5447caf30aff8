// Velmo against the bundled SRCP simulator: connect under 0.73 and 0.80,
// switch an accessory, drive a locomotive, show feedback on the plan,
// disconnect.
#include "Velmo/TStatusLeiste.h"
#include "elemente/Bilder.h"
#include "scripteddialoge.h"
#include "simprozess.h"
#include "testwork.h"

#include <QPlainTextEdit>
#include <QProcess>
#include <QtTest>

namespace {

// The simulator in the mode of the protocol version.
struct Simulator : SimProzess
{
    explicit Simulator(int version)
        : SimProzess(builtBinDir(), {"--srcp", version == 70 ? "0.7.3" : "0.8"})
    {
    }
    bool Empfing(const QByteArray &line)
    {
        return QTest::qWaitFor([&] { return Log.contains("< " + line + "\n"); }, 3000);
    }
};

void Durchspielen(int version)
{
    Simulator sim(version);
    QVERIFY(sim.Port > 0);
    TestWorkDir work;
    TestFenster f(work.path());
    f.Dialogs->Meldungen.clear(); // the missing settings file
    f->ServerHost = "localhost";
    f->ServerPort = sim.Port;
    f->SrcpVersion = version;
    f->VerbindungenEinstellen();
    f->InfoMode = 1;
    f->Bahn->Schaltimpuls = 200;

    f->Dokument.Zellen.NeuePosition(27, 27, 65);
    f->Dokument.Zellen.Positionen[1].Dekoder1 = 2;
    f->Dokument.Zellen.Positionen[1].Adresse1 = 2;

    f->Hostverbinden1Click();
    QVERIFY(f->CommandConnected && f->InfoConnected);
    if (version == 70) {
        QVERIFY(sim.Empfing("SET POWER ON"));
    } else {
        QVERIFY(f->SessionId > 0);
        QVERIFY(f->Memo1->toPlainText().contains(QStringLiteral("SessionID :%1").arg(f->SessionId)));
    }

    // The pulse runs on its own timer; the locomotive drives once it is over.
    f->Bahn->SwitchAccessory("M", 4, 3);
    QVERIFY(sim.Empfing(version == 70 ? "SET GA M 18 0 0 -1" : "SET 1 GA 18 0 0 -1"));
    cLocoInfo &lok = f->Lokomotiven[0];
    lok.Protokoll = "N1";
    lok.Adresse = 3;
    lok.Richtung = 1;
    lok.Geschwindigkeit = 12;
    lok.Vmax = 28;
    lok.Funktionsanzahl = 2;
    lok.Funktionen[0] = 15;
    f->Bahn->SendLocoCommand(0);
    if (version == 70) {
        QVERIFY(sim.Empfing("SET GA M 18 0 1 -1"));
        QVERIFY(sim.Empfing("SET GA M 18 0 0 -1"));
        QVERIFY(sim.Empfing("SET GL N1 3 1 12 28 0 2 1 0 "));
        QTRY_COMPARE(f->StatusBar1->Text(2), QString("INFO GL N1 3 1 12 28 0 2 1 0"));
    } else {
        QVERIFY(sim.Empfing("SET 2 GL 3 1 12 28 0 1 0 "));
        QTRY_VERIFY(f->StatusBar1->Text(2).endsWith("100 INFO 2 GL 3 1 12 28 0 1 0"));
        // Every command was accepted.
        QTRY_VERIFY(f->Memo1->toPlainText().count("200 OK") >= 5);
        QVERIFY(!f->Memo1->toPlainText().contains("ERROR"));
    }

    f->Abfragebeenden1Click();
    f->Abfragestarten1Click();
    QVERIFY(f->PollConnected);
    // Under 0.80 the info and the poll connection are info sessions on the one port.
    if (version == 80)
        QVERIFY(f->InfoSitzung.SessionId > f->SessionId && f->PollSitzung.SessionId > f->InfoSitzung.SessionId);
    QTest::qWait(200);
    sim.Prozess.write("18 1\n");
    QImage belegt;
    LadeBild(work.dataPath("Icon6502.bmp"), belegt);
    QTRY_COMPARE(f->PlanBitmap.copy(27, 27, 27, 27), belegt.copy(0, 0, 27, 27));

    f->Abfragebeenden1Click();
    f->Hosttrennen1Click();
    QVERIFY(!f->CommandConnected && !f->InfoConnected && !f->PollConnected);
    QVERIFY(f->close());
    QVERIFY(f.Dialogs->Meldungen.isEmpty());
}

} // namespace

class TestEndeZuEnde : public QObject
{
    Q_OBJECT
private slots:
    void srcp073() { Durchspielen(70); }
    void srcp080() { Durchspielen(80); }
};

QTEST_MAIN(TestEndeZuEnde)
#include "test_ende_zu_ende.moc"
