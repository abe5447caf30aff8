// What the operator is told about the link, without a window: the server's
// refusals and greeting in German, the stages of the link, the track power
// per bus, the devices a refusal marks, the waits between reconnect tries
// and the side settings file.
#include "bahncalc/servertexte.h"
#include "dateifehler.h"
#include "bedienung/Ablehnungsmarken.h"
#include "hilfen/fehler.h"
#include "bahncalc/antworten.h"
#include "srcpproto/Fahrstrom.h"
#include "srcpproto/OffeneBefehle.h"
#include "srcpproto/Seitendatei.h"
#include "srcpproto/Verbindungslage.h"
#include "srcpproto/Wiederverbindung.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Ampel)

namespace {

QByteArray Z(const QByteArray &rest)
{
    return "1796773747.108 " + rest;
}

} // namespace

class TestLage : public QObject
{
    Q_OBJECT
private slots:
    void ablehnung_data()
    {
        QTest::addColumn<QByteArray>("befehl");
        QTest::addColumn<QByteArray>("antwort");
        QTest::addColumn<QString>("text");
        QTest::newRow("412") << QByteArray("SET 7 POWER ON\n") << Z("412 ERROR wrong value")
                             << "Server lehnt ab: SET 7 POWER ON – 412 falscher Wert";
        QTest::newRow("414") << QByteArray("SET 1 GL 3 1 5 28 0") << Z("414 ERROR device locked")
                             << "Server lehnt ab: SET 1 GL 3 1 5 28 0 – 414 Gerät gesperrt";
        QTest::newRow("419") << QByteArray("FOO") << Z("419 ERROR list too short")
                             << "Server lehnt ab: FOO – 419 zu wenige Werte";
        QTest::newRow("422") << QByteArray("SET POWER ON") << Z("422 ERROR unsupported device group")
                             << "Server lehnt ab: SET POWER ON – 422 Gerätegruppe nicht unterstützt";
        QTest::newRow("500") << QByteArray("INIT 1 GL 9 M 2 14 4") << Z("500 ERROR out of resources")
                             << "Server lehnt ab: INIT 1 GL 9 M 2 14 4 – 500 Server ohne freie Mittel";
        QTest::newRow("unbekannt") << QByteArray("GET 1 GA 13 1") << Z("498 ERROR odd thing")
                                   << "Server lehnt ab: GET 1 GA 13 1 – 498 odd thing";
    }
    void ablehnung()
    {
        QFETCH(QByteArray, befehl);
        QFETCH(QByteArray, antwort);
        QFETCH(QString, text);
        QCOMPARE(Ablehnungstext(befehl, ZerlegeAntwort(antwort)), text);
    }

    // Every error code of SRCP 0.8 from 400 to 425 and 499, 500 has its German meaning.
    void fehlertexte()
    {
        QSet<QString> texte;
        for (int code : {400, 401, 402, 410, 411, 412, 413, 414, 415, 416, 417, 418, 419, 420, 421, 422, 423, 424,
                         425, 499, 500})
            texte.insert(SrcpFehlertext(code));
        QCOMPARE(texte.size(), 21);
        QVERIFY(!texte.contains(QString()));
        QVERIFY(SrcpFehlertext(200).isEmpty());
    }

    void versionsHinweis_data()
    {
        QTest::addColumn<QByteArray>("gruss");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("hinweis");
        const QByteArray srcpd = "srcpd V2.1.3; SRCP 0.8.4; SRCPOTHER 0.8.3";
        const QByteArray alt = "srcpd V2.0.12; SRCP 0.7.3";
        const QString zu73 = "Der Server spricht SRCP 0.8.4, eingestellt ist SRCP 0.73: bitte Einstellungen > SRCP "
                             "Version ändern";
        QTest::newRow("0.73 an 0.8") << srcpd << 70 << zu73;
        QTest::newRow("0.8 an 0.8") << srcpd << 80 << QString();
        QTest::newRow("0.80 an 0.7.3") << alt << 80
                                       << "Der Server spricht SRCP 0.7.3, eingestellt ist SRCP 0.80: bitte "
                                          "Einstellungen > SRCP Version ändern";
        QTest::newRow("0.73 an 0.7.3") << alt << 70 << QString();
        QTest::newRow("beide angeboten") << QByteArray("srcpsim 1.0; SRCP 0.8.4; SRCPOTHER 0.7.3") << 70 << QString();
        QTest::newRow("keine Version") << QByteArray("hallo") << 70 << QString();
    }
    void versionsHinweis()
    {
        QFETCH(QByteArray, gruss);
        QFETCH(int, version);
        QFETCH(QString, hinweis);
        QCOMPARE(VersionsHinweis(gruss, version), hinweis);
        QCOMPARE(IstGruss(gruss), gruss != "hallo");
        QVERIFY(!IstGruss(Z("100 INFO 0 DESCRIPTION SRCP 0.8.4")));
    }

    // Each row: the events, then the text and dot of the indicator.
    void verbindungslage_data()
    {
        QTest::addColumn<QString>("ereignisse");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Ampel>("farbe");
        QTest::newRow("Start") << "" << "getrennt" << Ampel::Grau;
        QTest::newRow("verbinde") << "verbinde" << "verbinde …" << Ampel::Gelb;
        QTest::newRow("abgewiesen") << "verbinde getrennt" << "getrennt" << Ampel::Grau;
        QTest::newRow("0.73") << "verbinde 70" << "SRCP 0.73 verbunden" << Ampel::Gruen;
        QTest::newRow("0.8 vor der Sitzung") << "verbinde 80" << "verbinde …" << Ampel::Gelb;
        QTest::newRow("0.8") << "verbinde 80 sitzung4" << "SRCP 0.8, Sitzung 4" << Ampel::Gruen;
        QTest::newRow("Sitzung abgelehnt") << "verbinde 80 sitzung0" << "SRCP 0.8, keine Sitzung" << Ampel::Rot;
        QTest::newRow("falsche Version") << "verbinde 70 fremd" << "SRCP 0.73 verbunden" << Ampel::Gelb;
        QTest::newRow("verloren") << "verbinde 70 verloren" << "Verbindung verloren" << Ampel::Rot;
        QTest::newRow("Versuch") << "verbinde 70 verloren versuch3" << "verbinde erneut (Versuch 3) …" << Ampel::Gelb;
        QTest::newRow("Versuch gelingt") << "verloren versuch1 80 sitzung9" << "SRCP 0.8, Sitzung 9" << Ampel::Gruen;
        QTest::newRow("Host trennen im Versuch") << "verloren versuch2 getrennt" << "getrennt" << Ampel::Grau;
    }
    void verbindungslage()
    {
        QFETCH(QString, ereignisse);
        QFETCH(QString, text);
        QFETCH(Ampel, farbe);
        Verbindungslage lage;
        for (const QString &e : ereignisse.split(' ', Qt::SkipEmptyParts)) {
            if (e == "verbinde")
                lage.Verbinde();
            else if (e.startsWith("versuch"))
                lage.Verbinde(e.mid(7).toInt());
            else if (e == "getrennt")
                lage.Getrennt();
            else if (e == "verloren")
                lage.Verloren();
            else if (e.startsWith("sitzung"))
                lage.Sitzung(e.mid(7).toInt());
            else if (e == "fremd")
                lage.Gruss("srcpd V2.1.3; SRCP 0.8.4", VersionsHinweis("srcpd V2.1.3; SRCP 0.8.4", 70));
            else
                lage.Verbunden(e.toInt());
        }
        QCOMPARE(lage.Text(), text);
        QCOMPARE(lage.Farbe(), farbe);
        QCOMPARE(lage.Tooltip().contains("Einstellungen > SRCP Version"), ereignisse.contains("fremd"));
    }

    // Each row: lines of an info session ("i …"), power commands the server
    // accepted ("a …"), the emergency stop ("nothalt").
    void fahrstrom_data()
    {
        QTest::addColumn<QStringList>("schritte");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Ampel>("farbe");
        QTest::newRow("nichts bekannt") << QStringList() << "Strom ?" << Ampel::Grau;
        QTest::newRow("0.73 gesendet") << QStringList {"a SET POWER ON"} << "Strom ein" << Ampel::Gruen;
        QTest::newRow("zwei Busse gemeldet")
            << QStringList {"i 100 INFO 1 POWER ON", "i 100 INFO 2 POWER OFF AUTO POWER OFF"}
            << "Strom: Bus 1 ein, Bus 2 aus" << Ampel::Gelb;
        QTest::newRow("beide aus gemeldet")
            << QStringList {"i 100 INFO 1 POWER ON", "i 100 INFO 2 POWER OFF", "i 100 INFO 1 POWER OFF"}
            << "Strom aus" << Ampel::Rot;
        QTest::newRow("Meldung zaehlt vor Befehl")
            << QStringList {"i 100 INFO 1 POWER OFF", "a SET 1 POWER ON"} << "Strom aus" << Ampel::Rot;
        QTest::newRow("ohne Meldung zaehlt der Befehl")
            << QStringList {"a SET 1 POWER ON", "a SET 2 POWER ON"} << "Strom ein" << Ampel::Gruen;
        QTest::newRow("andere Zeilen") << QStringList {"i 100 INFO 1 GA 13 1 1", "i 200 OK", "a SET 1 GL 3 1 5 28 0",
                                                       "a SET 1 POWER MAYBE"}
                                       << "Strom ?" << Ampel::Grau;
        QTest::newRow("Nothalt") << QStringList {"a SET 1 POWER ON", "nothalt", "i 100 INFO 1 POWER OFF"} << "Nothalt"
                                 << Ampel::Rot;
        QTest::newRow("nach Nothalt wieder ein")
            << QStringList {"nothalt", "i 100 INFO 1 POWER ON"} << "Strom ein" << Ampel::Gruen;
    }
    void fahrstrom()
    {
        QFETCH(QStringList, schritte);
        QFETCH(QString, text);
        QFETCH(Ampel, farbe);
        Fahrstrom strom;
        for (const QString &s : schritte) {
            if (s == "nothalt")
                strom.Nothalt();
            else if (s.startsWith("i "))
                strom.Bericht(ZerlegeAntwort(Z(s.mid(2).toUtf8())));
            else
                strom.Angenommen(s.mid(2).toUtf8());
        }
        QCOMPARE(strom.Text(), text);
        QCOMPARE(strom.Farbe(), farbe);
    }

    // A refusal marks the device of its command until a command for it is accepted.
    void marken()
    {
        C_Position weiche;
        weiche.Element = 6;
        weiche.Dekoder2 = 4;
        weiche.Adresse2 = 3; // address 18
        C_Position kontakt = weiche;
        kontakt.Element = 65;
        cLocoInfo lok;
        lok.Protokoll = "N1";
        lok.Adresse = 3;
        const ServerBusse busse;
        Ablehnungsmarken m;
        QVERIFY(m.Beantwortet("SET 1 GA 18 0 1 -1", true));
        QVERIFY(!m.Beantwortet("SET 1 GA 18 0 0 -1", true));
        QVERIFY(m.ZelleMarkiert(weiche, busse) && !m.ZelleMarkiert(kontakt, busse));
        weiche.Protokoll = "N";
        QVERIFY(!m.ZelleMarkiert(weiche, busse));
        QVERIFY(m.Beantwortet("INIT 2 GL 3 N 2 14 4", true) && m.LokMarkiert(lok, busse));
        QVERIFY(!m.Beantwortet("SET 1 POWER ON", true) && !m.Beantwortet("SET GA M 18 0 1 -1", true));
        QVERIFY(m.Beantwortet("SET 2 GL 3 1 0 28 0", false) && !m.LokMarkiert(lok, busse));
        QVERIFY(m.Beantwortet("INIT 1 GA 18 M", false) && m.Leer());
    }

    // Each reply goes to the oldest command still waiting, line by line of
    // what was sent; a command sent without an evaluation shows its reply
    // as it came.
    void offeneBefehle()
    {
        OffeneBefehle offen;
        QByteArrayList ausgewertet;
        offen.Gesendet("SET 1 GA 18 0 1 -1\nSET 1 POWER ON\n", [&](const QByteArray &befehl, const Antwort &) {
            ausgewertet << befehl;
            return false;
        });
        offen.Gesendet("GET 1 POWER\n");
        const Antwort ok = ZerlegeAntwort("1000 200 OK");
        QVERIFY(!offen.Beantwortet(ok) && !offen.Beantwortet(ok) && offen.Beantwortet(ok));
        QCOMPARE(ausgewertet, (QByteArrayList {"SET 1 GA 18 0 1 -1", "SET 1 POWER ON"}));
        QCOMPARE(offen.Anzahl(), 0);
    }

    void wartezeiten()
    {
        Wiederverbindung w([](int, qint64) { return false; });
        QList<int> s;
        for (int k = 1; k <= 8; ++k)
            s.append(w.Wartezeit(k) / 1000);
        QCOMPARE(s, QList<int>({1, 2, 4, 8, 16, 30, 30, 30}));
    }

    // Missing, damaged and unwritable: the defaults hold, the user is told,
    // and a file that cannot be written stays as it was. Each value read
    // that is damaged leaves the others read.
    void seitendatei_data()
    {
        QTest::addColumn<QByteArray>("inhalt"); // "-": no file
        QTest::addColumn<bool>("neuVerbinden");
        QTest::addColumn<QString>("stufen"); // of locomotives 1 to 10
        QTest::addColumn<bool>("gemeldet");
        const QString keine = "0 0 0 0 0 0 0 0 0 0";
        QTest::newRow("fehlt") << QByteArray("-") << true << keine << false;
        QTest::newRow("aus") << QByteArray("[Verbindung]\nAutomatischNeuVerbinden=false\n") << false << keine << false;
        QTest::newRow("ein") << QByteArray("[Verbindung]\nAutomatischNeuVerbinden=true\n") << true << keine << false;
        QTest::newRow("falscher Wert") << QByteArray("[Lok1]\nFahrstufen=28\n[Verbindung]\nAutomatischNeuVerbinden=vielleicht\n")
                                       << true << "28 0 0 0 0 0 0 0 0 0" << true;
        QTest::newRow("binaer") << QByteArray("\x00\x01[\xff\nVerbindung]]=\x00", 18) << true << keine << true;
        QTest::newRow("Fahrstufen") << QByteArray("[Lok1]\nFahrstufen=28\n[Lok10]\nFahrstufen=128\n") << true
                                    << "28 0 0 0 0 0 0 0 0 128" << false;
        QTest::newRow("Fahrstufen kein Wert") << QByteArray("[Lok2]\nFahrstufen=viele\n[Lok3]\nFahrstufen=27\n") << true
                                              << "0 0 27 0 0 0 0 0 0 0" << true;
    }
    void seitendatei()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(bool, neuVerbinden);
        QFETCH(QString, stufen);
        QFETCH(bool, gemeldet);
        QTemporaryDir dir;
        const QString pfad = dir.filePath("velmo.ini");
        if (inhalt != "-") {
            QFile f(pfad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(inhalt);
        }
        Seiteneinstellungen e;
        e.AutomatischNeuVerbinden = !neuVerbinden;
        LokTabelle loks;
        QCOMPARE(!LiesSeitendatei(pfad, e, loks).isEmpty(), gemeldet);
        QCOMPARE(e.AutomatischNeuVerbinden, neuVerbinden);
        QStringList gelesenStufen;
        for (int i = 0; i < GespeicherteLoks; ++i)
            gelesenStufen << QString::number(loks[i].Fahrstufen);
        QCOMPARE(gelesenStufen.join(' '), stufen);

        e.AutomatischNeuVerbinden = false;
        SchreibeSeitendatei(pfad, e, loks);
        Seiteneinstellungen gelesen;
        QVERIFY(LiesSeitendatei(pfad, gelesen, loks).isEmpty());
        QCOMPARE(gelesen.AutomatischNeuVerbinden, false);

        // Under a file-size limit the write fails as on a full disk; the
        // program is not killed, and the file stays.
        e.AutomatischNeuVerbinden = true;
        {
            Dateigrenze grenze(8);
            QVERIFY_THROWS_EXCEPTION(VelmoFehler, SchreibeSeitendatei(pfad, e, loks));
        }
        QVERIFY(LiesSeitendatei(pfad, gelesen, loks).isEmpty());
        QCOMPARE(gelesen.AutomatischNeuVerbinden, false);

        // A place that takes no file, for root as well: the user is told.
        e.AutomatischNeuVerbinden = true;
        QVERIFY_THROWS_EXCEPTION(VelmoFehler, SchreibeSeitendatei(pfad + "/velmo.ini", e, loks));
        QVERIFY(LiesSeitendatei(pfad, gelesen, loks).isEmpty());
        QCOMPARE(gelesen.AutomatischNeuVerbinden, false);
    }
};

QTEST_GUILESS_MAIN(TestLage)
#include "test_lage.moc"
