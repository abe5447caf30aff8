// The helpers that drive an SRCP 0.8 server (command sessions, the info
// recorder) against both peers: the simulator in its 0.8 mode and the real
// server srcpd.

#include "infomitschnitt.h"
#include "simprozess.h"
#include "srcpdprozess.h"
#include "testwork.h"

#include <QtTest>
#include <memory>

class TestSrcpd : public QObject
{
    Q_OBJECT

private slots:
    void schaltenUndMelden_data()
    {
        QTest::addColumn<bool>("echt");
        QTest::newRow("srcpsim") << false;
        QTest::newRow("srcpd") << true;
    }

    // Power on bus 1, an accessory output switched on and 300 ms later off,
    // a feedback contact set on bus 2: replies, reports and their server time
    // stamps as the info session records them.
    void schaltenUndMelden()
    {
        QFETCH(bool, echt);
        std::unique_ptr<SrcpdProzess> srcpd;
        std::unique_ptr<SimProzess> sim;
        int port = 0;
        if (echt) {
            srcpd = std::make_unique<SrcpdProzess>();
            if (!srcpd->Verfuegbar())
                QSKIP(qPrintable(srcpd->Grund));
            QVERIFY2(srcpd->Port, qPrintable(srcpd->Grund));
            port = srcpd->Port;
        } else {
            sim = std::make_unique<SimProzess>(builtBinDir(), QStringList {"--srcp", "0.8", "--buses", "1,2"});
            QVERIFY2(sim->Port, sim->Log.constData());
            port = sim->Port;
        }

        InfoMitschnitt info(port);
        QVERIFY2(info.Bereit, info.Fehler.constData());
        QCOMPARE(Befehl(port, {"SET 1 POWER ON", "SET 2 FB 3 1"}), QByteArrayList({"200 OK", "200 OK"}));
        const int fb = info.warteAuf("100 INFO 2 FB 3 1");
        QVERIFY2(fb >= 0, "no report of contact 3 on bus 2");
        QVERIFY2(qAbs(info.Zeilen[fb].Ankunft - info.Zeilen[fb].Serverzeit) < 2000, info.Zeilen[fb].Text.constData());

        BefehlSitzung befehl(port);
        QVERIFY2(befehl.Bereit, befehl.Fehler.constData());
        const int ab = int(info.Zeilen.size());
        const QByteArray ein = befehl.befehl("SET 1 GA 13 1 1 -1").Rest;
        QTest::qWait(300);
        const QByteArray aus = befehl.befehl("SET 1 GA 13 1 0 -1").Rest;
        QCOMPARE(ein + " / " + aus, QByteArray("200 OK / 200 OK"));
        const int an = info.warteAuf("100 INFO 1 GA 13 1 1", 3000, ab);
        const int ab0 = info.warteAuf("100 INFO 1 GA 13 1 0", 3000, an + 1);
        QVERIFY2(an >= 0 && ab0 >= 0, "accessory 13 not reported on and then off");
        const qint64 abstand = info.Zeilen[ab0].Serverzeit - info.Zeilen[an].Serverzeit;
        QVERIFY2(abstand >= 250 && abstand <= 450, qPrintable(QString("%1 ms apart").arg(abstand)));
    }
};

QTEST_GUILESS_MAIN(TestSrcpd)
#include "test_srcpd.moc"
