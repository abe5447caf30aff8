// The feedback display: which cells a contact line reaches and which
// picture they get.
#include "hilfen/fehler.h"
#include "rueckunit/Crueck.h"

#include <QtTest>

namespace {

struct Gezeichnet
{
    QString Name;
    int X, Y;
    bool operator==(const Gezeichnet &o) const { return Name == o.Name && X == o.X && Y == o.Y; }
};

// A plan with feedback cells and a drawer that records what it draws; the
// pictures named in Fehlend fail to load.
struct Anzeige
{
    CPlanZellen Plan;
    QList<Gezeichnet> Bilder;
    int Fehler = 0;
    Crueck Rueck {Plan,
                  [this](const QString &name, int x, int y) {
                      if (!name.endsWith(".bmp"))
                          throw VelmoFehler("Bilddatei nicht gefunden: " + name);
                      Bilder.append({name, x, y});
                  },
                  [this] { ++Fehler; }};

    void Kontakt(int x, int y, int element, int modul, int kontakt)
    {
        Plan.NeuePosition(x, y, element);
        Plan.Positionen[Plan.PosAnzahl].Dekoder1 = modul;
        Plan.Positionen[Plan.PosAnzahl].Adresse1 = kontakt;
    }
};

} // namespace

class TestRueck : public QObject
{
    Q_OBJECT
private slots:
    void einzelnerKontakt()
    {
        Anzeige a;
        a.Kontakt(0, 0, 65, 2, 2);
        a.Kontakt(27, 0, 87, 2, 2);
        a.Kontakt(54, 0, 65, 1, 3);
        a.Kontakt(81, 0, 1, 2, 2);   // plain track bound to the same contact
        a.Kontakt(108, 0, 65, 2, 0); // not wired
        a.Kontakt(135, 0, 87, 0, 0); // placed, never given a contact

        a.Rueck.RueckmeldungZeigen("INFO FB S88 18 1");
        QCOMPARE(a.Bilder, (QList<Gezeichnet>{{"Icon6502.bmp", 0, 0}, {"Icon8702.bmp", 27, 0}}));
        a.Bilder.clear();
        a.Rueck.RueckmeldungZeigen("INFO FB S88 18 0\r\n");
        QCOMPARE(a.Bilder, (QList<Gezeichnet>{{"Icon6501.bmp", 0, 0}, {"Icon8701.bmp", 27, 0}}));
        a.Bilder.clear();
        a.Rueck.RueckmeldungZeigen("INFO FB S88 3 1");
        QCOMPARE(a.Bilder, (QList<Gezeichnet>{{"Icon6502.bmp", 54, 0}}));
        a.Bilder.clear();
        a.Rueck.RueckmeldungZeigen("INFO FB S88 99 1");
        // Contact 0 is on no module: the unwired cells stay as they are.
        a.Rueck.ZeileVerarbeiten("INFO FB S88 0 1");
        QVERIFY(a.Bilder.isEmpty());
        QCOMPARE(a.Fehler, 0);
    }

    void sechzehnterKontakt()
    {
        Anzeige a;
        a.Kontakt(0, 0, 65, 1, 16);
        a.Kontakt(27, 0, 65, 2, 16);
        a.Kontakt(54, 0, 65, 2, 0);
        a.Kontakt(81, 0, 65, 3, 0);
        a.Rueck.RueckmeldungZeigen("INFO FB S88 16 1");
        a.Rueck.RueckmeldungZeigen("INFO FB S88 32 1");
        QCOMPARE(a.Bilder, (QList<Gezeichnet>{{"Icon6502.bmp", 0, 0}, {"Icon6502.bmp", 27, 0}}));
    }

    void alleKontakte()
    {
        Anzeige a;
        for (int k = 1; k <= 4; ++k)
            a.Kontakt(27 * k, 0, 65, 1, k);
        a.Rueck.RueckmeldungAlleZeigen("INFO FB S88 * 0100");
        QCOMPARE(a.Bilder, (QList<Gezeichnet>{{"Icon6501.bmp", 27, 0}, {"Icon6502.bmp", 54, 0},
                                              {"Icon6501.bmp", 81, 0}, {"Icon6501.bmp", 108, 0}}));
    }

    void fehlerhafteWerte()
    {
        Anzeige a;
        a.Kontakt(0, 0, 65, 2, 2);
        a.Kontakt(27, 0, 87, 2, 2);
        // A value of 2 has no picture: reported once per cell, the loop goes on.
        a.Rueck.RueckmeldungZeigen("INFO FB S88 18 2");
        QCOMPARE(a.Fehler, 2);
        QVERIFY(a.Bilder.isEmpty());
        // A line without value stops before any drawing.
        QVERIFY_THROWS_EXCEPTION(VelmoFehler, a.Rueck.RueckmeldungZeigen("INFO FB S88 18"));
        QVERIFY_THROWS_EXCEPTION(VelmoFehler, a.Rueck.RueckmeldungZeigen("INFO FB S88 x 1"));
        QCOMPARE(a.Fehler, 2);
        QVERIFY(a.Bilder.isEmpty());
    }

    // The SRCP 0.8 report of a contact counts like "INFO FB S88 <n> <v>"
    // when it comes from the lowest bus whose description lists FB (bus 1
    // while none does); lines that only look like one change nothing.
    void srcp08Bericht_data()
    {
        QTest::addColumn<QByteArrayList>("vorher"); // lines of the session before
        QTest::addColumn<QByteArray>("zeile");
        QTest::addColumn<QString>("bild"); // drawn on the cell of module 2, contact 2; empty: nothing drawn
        QTest::addColumn<int>("art");
        const QByteArray t = "1796773747.108 ";
        const int gezeigt = int(Crueck::Zeilenart::Gezeigt), keine = int(Crueck::Zeilenart::Keine),
                  anderer = int(Crueck::Zeilenart::AndererBus);
        const QByteArray bus1ohne = t + "100 INFO 1 DESCRIPTION GA GL POWER";
        const QByteArray bus2mit = t + "100 INFO 2 DESCRIPTION GA GL FB POWER";
        QTest::newRow("100 besetzt") << QByteArrayList() << t + "100 INFO 1 FB 18 1" << "Icon6502.bmp" << gezeigt;
        QTest::newRow("101 frei") << QByteArrayList() << t + "101 INFO 1 FB 18 0" << "Icon6501.bmp" << gezeigt;
        QTest::newRow("anderer Bus") << QByteArrayList() << t + "100 INFO 2 FB 18 1" << "" << anderer;
        QTest::newRow("Bus 2 hat FB") << QByteArrayList {bus1ohne, bus2mit} << t + "100 INFO 2 FB 18 1"
                                      << "Icon6502.bmp" << gezeigt;
        QTest::newRow("Bus 1 ohne FB") << QByteArrayList {bus1ohne, bus2mit} << t + "100 INFO 1 FB 18 1" << ""
                                       << anderer;
        QTest::newRow("CR LF") << QByteArrayList() << t + "100 INFO 1 FB 18 1\r\n" << "Icon6502.bmp" << gezeigt;
        QTest::newRow("ohne Zeitstempel") << QByteArrayList() << QByteArray("100 INFO 1 FB 18 1") << "" << keine;
        QTest::newRow("Code 102") << QByteArrayList() << t + "102 INFO 1 FB 18 1" << "" << keine;
        QTest::newRow("Code 200") << QByteArrayList() << t + "200 INFO 1 FB 18 1" << "" << keine;
        QTest::newRow("ohne Wert") << QByteArrayList() << t + "100 INFO 1 FB 18" << "" << keine;
        QTest::newRow("Feld zu viel") << QByteArrayList() << t + "100 INFO 1 FB 18 1 0" << "" << keine;
        QTest::newRow("GA") << QByteArrayList() << t + "100 INFO 1 GA 18 1" << "" << keine;
        QTest::newRow("Bus keine Zahl") << QByteArrayList() << t + "100 INFO x FB 18 1" << "" << keine;
        QTest::newRow("Kontakt keine Zahl") << QByteArrayList() << t + "100 INFO 1 FB 1a 1" << "" << keine;
        QTest::newRow("Kontakt zu gross") << QByteArrayList() << t + "100 INFO 1 FB 99999999999 1" << "" << keine;
        QTest::newRow("doppeltes Blank") << QByteArrayList() << t + "100 INFO 1 FB  18 1" << "" << keine;
        QTest::newRow("ERROR") << QByteArrayList() << t + "412 ERROR wrong value" << "" << keine;
    }
    void srcp08Bericht()
    {
        QFETCH(QByteArrayList, vorher);
        QFETCH(QByteArray, zeile);
        QFETCH(QString, bild);
        QFETCH(int, art);
        Anzeige a;
        a.Kontakt(0, 0, 65, 2, 2);
        a.Kontakt(27, 0, 65, 1, 2);
        for (const QByteArray &v : vorher)
            a.Rueck.ZeileVerarbeiten(v);
        QCOMPARE(int(a.Rueck.ZeileVerarbeiten(zeile)), art);
        const QList<Gezeichnet> erwartet = bild.isEmpty() ? QList<Gezeichnet>() : QList<Gezeichnet>{{bild, 0, 0}};
        QCOMPARE(a.Bilder, erwartet);
        QCOMPARE(a.Fehler, 0);
        // A new session forgets the buses it was told of.
        a.Rueck.NeueSitzung();
        QCOMPARE(a.Rueck.FeedbackBus(), 1);
    }

    void zuruecksetzen()
    {
        Anzeige a;
        a.Kontakt(0, 0, 65, 0, 0);
        a.Kontakt(27, 0, 87, 5, 9);
        a.Kontakt(54, 0, 12, 1, 1);
        a.Plan.LoeschePosition(2);
        a.Kontakt(81, 0, 87, 1, 1);
        a.Rueck.RueckmeldungReset();
        QCOMPARE(a.Bilder, (QList<Gezeichnet>{{"Icon6501.bmp", 0, 0}, {"Icon8701.bmp", 81, 0}}));
    }
};

QTEST_GUILESS_MAIN(TestRueck)
#include "test_rueck.moc"
