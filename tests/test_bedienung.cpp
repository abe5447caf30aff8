// The rules of the working modes without a window: mode flags, palette
// spots, placing, dragging and deleting, the decoder panel's rows and
// storing.
#include "bedienung/DekoderDaten.h"
#include "bedienung/Planansicht.h"
#include "bedienung/Platzierung.h"
#include "elemente/Katalog.h"
#include "hilfen/fehler.h"
#include "modustext.h"

#include <QtTest>

Q_DECLARE_METATYPE(Modus)
Q_DECLARE_METATYPE(Qt::MouseButtons)
Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

namespace {

const Sicht Ungerollt {{0, 0}, {600, 400}};

} // namespace

class TestBedienung : public QObject
{
    Q_OBJECT
private slots:
    void modusSetzen_data()
    {
        QTest::addColumn<Modus>("modus");
        QTest::addColumn<QString>("danach");
        QTest::newRow("Entwurf behält die Wahl") << Modus::Entwurf << "E+";
        QTest::newRow("Dekoder gibt sie frei") << Modus::Dekoder << "D";
        QTest::newRow("Betrieb gibt sie frei") << Modus::Betrieb << "B";
        QTest::newRow("Fahrstrassen geben sie frei") << Modus::Fahrstrassen << "F";
        QTest::newRow("Lokregler behält sie") << Modus::Regler << "R+";
    }
    void modusSetzen()
    {
        QFETCH(Modus, modus);
        Arbeitsmodi m;
        m.DekoderModus = m.BetriebModus = m.FahrstrassenModus = m.ReglerModus = true;
        QVERIFY(m.Waehlen(7));
        m.ModusSetzen(modus);
        QTEST(Flaggen(m), "danach");
        QCOMPARE(m.GewaehltesElement, 7);
    }

    void palettenGriff_data()
    {
        QTest::addColumn<QPoint>("druck");
        QTest::addColumn<QPoint>("spot");
        QTest::addColumn<int>("element");
        QTest::newRow("(28, 28): Spalte 1, Reihe 1") << QPoint(28, 28) << QPoint(29, 29) << 24;
        QTest::newRow("(27, 27): Spalte 0, Reihe 0") << QPoint(27, 27) << QPoint(1, 1) << 1;
        QTest::newRow("letzter Spot") << QPoint(615, 111) << QPoint(589, 85) << 88;
        QTest::newRow("Rand ohne Element") << QPoint(616, 50) << QPoint(617, 29) << 0;
    }
    void palettenGriff()
    {
        QFETCH(QPoint, druck);
        QFETCH(QPoint, spot);
        QFETCH(int, element);
        CKatalog katalog;
        for (int i = 1; i <= ElementAnzahl; ++i) {
            katalog.Elemente[i].Nummer = i;
            katalog.Elemente[i].PaletteX = 28 * ((i - 1) % 22) + 1;
            katalog.Elemente[i].PaletteY = 28 * ((i - 1) / 22) + 1;
        }
        QCOMPARE(PalettenSpot(druck.x(), druck.y()), spot);
        QCOMPARE(katalog.FindePaletteElement(spot.x(), spot.y()), element);

        // A spot without an element arms nothing and keeps an earlier pick.
        Arbeitsmodi m;
        m.Waehlen(5);
        QCOMPARE(m.Waehlen(element), element > 0);
        QCOMPARE(m.GewaehltesElement, element > 0 ? element : 5);
        QVERIFY(m.ElementGewaehlt);
    }

    // One placement from the press through the moves to the release: the
    // cells drawn on the way and the record appended.
    void platzieren_data()
    {
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QPoint>("druck");
        QTest::addColumn<QPoint>("zug");
        QTest::addColumn<Qt::MouseButtons>("tasten");
        QTest::addColumn<Qt::KeyboardModifiers>("umschalt");
        QTest::addColumn<QPoint>("iconZuletzt"); // view cell showing the icon at the end
        QTest::addColumn<QPoint>("satz");        // plan position of the record
        const auto links = Qt::MouseButtons(Qt::LeftButton);
        const auto ohne = Qt::KeyboardModifiers();
        QTest::newRow("ohne Ziehen, gerollt") << QPoint(54, 0) << QPoint(100, 57) << QPoint(100, 57) << links << ohne
                                              << QPoint(81, 54) << QPoint(135, 54);
        QTest::newRow("gezogen") << QPoint(0, 0) << QPoint(10, 10) << QPoint(70, 10) << links << ohne << QPoint(54, 0)
                                 << QPoint(54, 0);
        QTest::newRow("mit Umschalt nicht gezogen") << QPoint(0, 0) << QPoint(10, 10) << QPoint(70, 10) << links
                                                    << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(0, 0)
                                                    << QPoint(54, 0);
        QTest::newRow("mit Strg nicht gezogen") << QPoint(0, 0) << QPoint(10, 10) << QPoint(70, 10) << links
                                                << Qt::KeyboardModifiers(Qt::ControlModifier) << QPoint(0, 0)
                                                << QPoint(54, 0);
        QTest::newRow("mit Alt nicht gezogen") << QPoint(0, 0) << QPoint(10, 10) << QPoint(70, 10) << links
                                               << Qt::KeyboardModifiers(Qt::AltModifier) << QPoint(0, 0) << QPoint(54, 0);
        QTest::newRow("zweite Taste: nicht gezogen")
            << QPoint(0, 0) << QPoint(10, 10) << QPoint(70, 10) << Qt::MouseButtons(Qt::LeftButton | Qt::RightButton)
            << ohne << QPoint(0, 0) << QPoint(54, 0);
        QTest::newRow("aus der Sicht gezogen") << QPoint(27, 0) << QPoint(10, 10) << QPoint(-50, 900) << links << ohne
                                               << QPoint(0, 378) << QPoint(27, 378);
    }
    void platzieren()
    {
        QFETCH(QPoint, scroll);
        QFETCH(QPoint, druck);
        QFETCH(QPoint, zug);
        QFETCH(Qt::MouseButtons, tasten);
        QFETCH(Qt::KeyboardModifiers, umschalt);
        QFETCH(QPoint, iconZuletzt);
        QFETCH(QPoint, satz);
        const Sicht sicht {scroll, {600, 400}};
        Arbeitsmodi m;
        m.ModusSetzen(Modus::Entwurf);
        m.Waehlen(12);
        CPlanZellen plan;

        // The icon follows the pointer; the old cell gets its picture back
        // before the new one is saved under.
        QPoint icon = ZelleUnter(druck, sicht).Sicht;
        const Entwurfsschritte start = EntwurfDruecken(m, plan, Qt::LeftButton, druck, sicht);
        QCOMPARE(start.Unterlegen, start.Icon);
        QCOMPARE(start.Icon->Sicht, icon);
        QVERIFY(!start.Zuruecklegen && !start.Geaendert);
        QCOMPARE(plan.PosAnzahl, 0);
        const Entwurfsschritte zug1 = EntwurfZiehen(m, tasten, umschalt, zug, sicht);
        if (zug1.Icon) {
            QCOMPARE(zug1.Zuruecklegen->Sicht, icon);
            QCOMPARE(zug1.Unterlegen, zug1.Icon);
            icon = zug1.Icon->Sicht;
        }
        QCOMPARE(icon, iconZuletzt);

        const Entwurfsschritte ende = EntwurfLoslassen(m, plan, Qt::LeftButton, zug, sicht);
        QVERIFY(ende.Geaendert && !ende.Icon && !ende.Zuruecklegen);
        QCOMPARE(plan.PosAnzahl, 1);
        QCOMPARE(QPoint(plan.Positionen[1].X, plan.Positionen[1].Y), satz);
        QCOMPARE(plan.Positionen[1].Element, 12);
        QCOMPARE(plan.Positionen[1].Zustand, 1);
        QVERIFY(!m.ElementGewaehlt);
        // Disarmed: further presses, moves and releases place nothing.
        QVERIFY(!EntwurfDruecken(m, plan, Qt::LeftButton, druck, sicht).Icon);
        QVERIFY(!EntwurfZiehen(m, Qt::LeftButton, {}, zug, sicht).Icon);
        EntwurfLoslassen(m, plan, Qt::LeftButton, zug, sicht);
        QCOMPARE(plan.PosAnzahl, 1);
    }

    // At each zoom: the cell under screen pixel `druck`, its name, and the
    // axis for a client `platz` wide (bar needed, view, maximum, page).
    void planansicht_data()
    {
        for (const char *spalte : {"f", "platz"})
            QTest::addColumn<int>(spalte);
        for (const char *spalte : {"scroll", "druck", "zelle"})
            QTest::addColumn<QPoint>(spalte);
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<int>>("achse");
        const QString erste = "Spalte 1, Zeile 1", letzte = "Spalte 36, Zeile 25";
        const QList<int> schmal {1, 601, 980, 594}, breit {0, 980, 980, 972}, doppelt {1, 1002, 980, 486};
        QTest::newRow("100 %: erste Zelle") << 1 << 618 << QPoint() << QPoint(26, 26) << QPoint() << erste << schmal;
        QTest::newRow("100 %: letzte Zelle") << 1 << 1019 << QPoint() << QPoint(971, 674) << QPoint(945, 648) << letzte << breit;
        QTest::newRow("200 %: Pixel 53") << 2 << 1019 << QPoint() << QPoint(53, 53) << QPoint() << erste << doppelt;
        QTest::newRow("200 %: Pixel 54") << 2 << 1019 << QPoint() << QPoint(54, 54) << QPoint(27, 27) << "Spalte 2, Zeile 2" << doppelt;
        QTest::newRow("200 %: letzte Zelle") << 2 << 1019 << QPoint(756, 432) << QPoint(431, 485) << QPoint(945, 648)
                                             << letzte << doppelt;
        QTest::newRow("300 %: letzte Zelle") << 3 << 618 << QPoint(864, 594) << QPoint(323, 242) << QPoint(945, 648)
                                             << letzte << QList<int> {1, 601, 980, 189};
        QTest::newRow("300 %: hinter dem Plan") << 3 << 3000 << QPoint(972, 0) << QPoint(90, 5) << QPoint(999, 0) << ""
                                                << QList<int> {0, 2940, 980, 972};
    }
    void planansicht()
    {
        QFETCH(int, f);
        QFETCH(int, platz);
        QFETCH(QPoint, scroll);
        QFETCH(QPoint, druck);
        const Rollbereich achse = Rollen(platz, 17, 980, f);
        QTEST((QList<int> {achse.Noetig, achse.Laenge, achse.Maximum, achse.Seite}), "achse");
        const QPoint zelle = ZelleUnter(BildPunkt(druck, f), {scroll, BildGroesse({achse.Laenge, 680 * f}, f)}).Plan;
        QTEST(zelle, "zelle");
        QTEST(Zellenname(zelle, {980, 680}), "name");
    }

    // Right presses: the save-under picture goes into the cell, and the first
    // record there becomes a hole; the pick stays armed.
    void loeschen()
    {
        CPlanZellen plan;
        plan.NeuePosition(27, 0, 6);
        plan.NeuePosition(27, 0, 7);
        Arbeitsmodi m;
        m.ModusSetzen(Modus::Entwurf);
        m.Waehlen(9);
        for (int erwartetesLoch : {1, 2}) {
            const Entwurfsschritte s = EntwurfDruecken(m, plan, Qt::RightButton, {30, 5}, Ungerollt);
            QCOMPARE(s.Zuruecklegen, (PlanZelle {{27, 0}, {27, 0}}));
            QVERIFY(s.Geaendert && !s.Icon);
            QCOMPARE(plan.Positionen[erwartetesLoch].Element, 0);
        }
        const Entwurfsschritte leer = EntwurfDruecken(m, plan, Qt::RightButton, {30, 5}, Ungerollt);
        QVERIFY(leer.Zuruecklegen && !leer.Geaendert);
        // Releasing the right or middle button places nothing.
        EntwurfLoslassen(m, plan, Qt::RightButton, {30, 5}, Ungerollt);
        EntwurfLoslassen(m, plan, Qt::MiddleButton, {30, 5}, Ungerollt);
        QCOMPARE(plan.PosAnzahl, 2);
        QVERIFY(m.ElementGewaehlt);
        QVERIFY(EntwurfDruecken(m, plan, Qt::LeftButton, {30, 5}, Ungerollt).Icon);
    }

    void dekoderZeilen_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("zustaende");
        QTest::addColumn<int>("zeilen");
        QTest::newRow("Dreiwegweiche") << 10 << 3 << 3;
        QTest::newRow("Weiche") << 6 << 2 << 2;
        QTest::newRow("Gerade") << 1 << 1 << 1;
        QTest::newRow("Rückmeldekontakt 65") << 65 << 2 << 1;
        QTest::newRow("Rückmeldekontakt 87") << 87 << 2 << 1;
        QTest::newRow("unbekannte Zahl") << 12 << 7 << 1;
    }
    void dekoderZeilen()
    {
        QFETCH(int, element);
        QFETCH(int, zustaende);
        QTEST(DekoderZeilen(element, zustaende), "zeilen");
    }

    void dekoderSpeichern_data()
    {
        QTest::addColumn<QStringList>("eingaben");  // Dekoder 1-3, Adresse 1-3, Protokoll
        QTest::addColumn<QList<int>>("felder");     // Dekoder 1-3, Adresse 1-3 afterwards
        QTest::addColumn<QByteArray>("protokoll");  // stored
        QTest::addColumn<QString>("edit");          // the protocol edit afterwards
        QTest::addColumn<QString>("fehler");
        const QList<int> alt {1, 2, 3, 4, 5, 6};
        QTest::newRow("alles") << QStringList {"7", "-8", "9", "0", "1", "2", "N"} << QList<int> {7, -8, 9, 0, 1, 2}
                               << QByteArray("N") << "N" << "";
        QTest::newRow("n wird N") << QStringList {"", "", "", "", "", "", "n"} << alt << QByteArray("N") << "N" << "";
        QTest::newRow("m wird M") << QStringList {"", "", "", "", "", "", "m"} << alt << QByteArray("M") << "M" << "";
        QTest::newRow("leeres Protokoll speichert M")
            << QStringList {"", "", "", "", "", "", ""} << alt << QByteArray("M") << "" << "";
        QTest::newRow("Zeilenende und Blanks") << QStringList {"", "", "", "", "", "", " n\r\n"} << alt << QByteArray("N") << "N" << "";
        QTest::newRow("nur ein Zeilenumbruch") << QStringList {"", "", "", "", "", "", "\n"} << alt << QByteArray("M") << "" << "";
        QTest::newRow("anderes Protokoll bleibt")
            << QStringList {"", "", "", "", "", "", "dcc"} << alt << QByteArray("dcc") << "dcc" << "";
        QTest::newRow("geleertes Feld behält den Wert")
            << QStringList {"", "12", "", "", "", "", "M"} << QList<int> {1, 12, 3, 4, 5, 6} << QByteArray("M") << "M"
            << "";
        QTest::newRow("x1 in Dekoder 2 speichert nur Dekoder 1")
            << QStringList {"10", "x1", "30", "40", "50", "60", "n"} << QList<int> {10, 2, 3, 4, 5, 6} << QByteArray("alt")
            << "n" << "'x1' ist kein gültiger Integerwert";
    }
    void dekoderSpeichern()
    {
        QFETCH(QStringList, eingaben);
        QFETCH(QList<int>, felder);
        QFETCH(QString, edit);
        QFETCH(QString, fehler);
        C_Position zelle;
        zelle.Dekoder1 = 1, zelle.Dekoder2 = 2, zelle.Dekoder3 = 3;
        zelle.Adresse1 = 4, zelle.Adresse2 = 5, zelle.Adresse3 = 6;
        zelle.Protokoll = "alt";
        const DekoderEingaben ein {{eingaben[0], eingaben[1], eingaben[2]}, {eingaben[3], eingaben[4], eingaben[5]},
                                   eingaben[6]};
        QString protokollEdit = ein.Protokoll;
        try {
            protokollEdit = DekoderSpeichern(zelle, ein);
            QVERIFY(fehler.isEmpty());
        } catch (const VelmoFehler &e) {
            QCOMPARE(e.Text, fehler);
        }
        QCOMPARE((QList<int> {zelle.Dekoder1, zelle.Dekoder2, zelle.Dekoder3, zelle.Adresse1, zelle.Adresse2, zelle.Adresse3}),
                 felder);
        QTEST(zelle.Protokoll, "protokoll");
        QCOMPARE(protokollEdit, edit);
        if (fehler.isEmpty())
            QCOMPARE(DekoderTexte(zelle).Dekoder[1], QString::number(felder[1]));
    }

    // Storing what the panel shows changes nothing, whatever bytes the
    // protocol holds.
    void dekoderUnveraendert()
    {
        C_Position zelle;
        zelle.Dekoder1 = -4, zelle.Adresse3 = 2147483647;
        zelle.Protokoll = "N\xfc\xc3";
        const C_Position vorher = zelle;
        QCOMPARE(DekoderSpeichern(zelle, DekoderTexte(zelle)), QString::fromLatin1("N\xfc\xc3"));
        QVERIFY(zelle == vorher);
    }
};

QTEST_GUILESS_MAIN(TestBedienung)
#include "test_bedienung.moc"
