// The rules of operating mode and routes without a window: the transition
// table of a press, the route table, route editing, setting a route and the
// route file.
#include "bedienung/Fahrstrassenbau.h"
#include "bedienung/Schalten.h"
#include "fahrunit/FahrstrassenDatei.h"
#include "hilfen/fehler.h"
#include "testwork.h"

#include <QtTest>

namespace {

// A catalogue that knows only the number of positions.
ElementTabelle Katalog()
{
    ElementTabelle k {};
    for (int e = 1; e <= ElementAnzahl; ++e)
        k[e].Zustaende = 2;
    for (int e : {3, 20, 65, 66})
        k[e].Zustaende = e == 3 ? 3 : e == 20 ? 1 : 2;
    k[9].Zustaende = 1;
    k[11].Zustaende = 5;
    return k;
}

// A plan cell with decoder rows (d, a), (d, a + 1), (d, a + 2).
void Zelle(CPlanZellen &plan, QPoint p, int element, int zustand, int dekoder = 3, int adresse = 1)
{
    plan.NeuePosition(p.x(), p.y(), element);
    C_Position &z = plan.Positionen[plan.PosAnzahl];
    z.Zustand = zustand;
    z.Dekoder1 = z.Dekoder2 = z.Dekoder3 = dekoder;
    z.Adresse1 = adresse;
    z.Adresse2 = adresse + 1;
    z.Adresse3 = adresse + 2;
    z.Protokoll = "M";
}

QByteArray Text(const Schaltschritte &s)
{
    QByteArray t;
    if (s.Vorab)
        t += "vorab " + QByteArray::number(s.Vorab->Adresse) + ", ";
    return t + "zeile " + QByteArray::number(s.Zeile.Adresse) + ", neu " + QByteArray::number(s.NeuerZustand)
        + ", ende " + QByteArray::number(s.Endzustand);
}

} // namespace

class TestFahrstrassen : public QObject
{
    Q_OBJECT
private slots:
    // Element, positions and position before the press -> the rows pulsed
    // (output numbers: row r has output r), the position drawn and kept.
    void betriebDruecken_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("zustand");
        QTest::addColumn<QByteArray>("schritte"); // empty: the press does nothing
        QTest::newRow("2 Stellungen, 1") << 5 << 1 << QByteArray("zeile 2, neu 2, ende 2");
        QTest::newRow("2 Stellungen, 2") << 5 << 2 << QByteArray("zeile 1, neu 1, ende 1");
        QTest::newRow("2 Stellungen, 0") << 5 << 0 << QByteArray("zeile 0, neu 0, ende 0");
        QTest::newRow("2 Stellungen, 7") << 5 << 7 << QByteArray("zeile 0, neu 7, ende 7");
        QTest::newRow("3 Stellungen, 1") << 3 << 1 << QByteArray("zeile 2, neu 2, ende 2");
        QTest::newRow("3 Stellungen, 2") << 3 << 2 << QByteArray("vorab 1, zeile 3, neu 3, ende 3");
        QTest::newRow("3 Stellungen, 3") << 3 << 3 << QByteArray("zeile 1, neu 1, ende 1");
        QTest::newRow("1 Stellung") << 9 << 2 << QByteArray("zeile 1, neu 2, ende 2");
        QTest::newRow("Entkuppler") << 20 << 1 << QByteArray("zeile 1, neu 2, ende 1");
        QTest::newRow("5 Stellungen") << 11 << 1 << QByteArray("zeile 0, neu 1, ende 1");
        QTest::newRow("Rueckmeldekontakt") << 65 << 1 << QByteArray();
        QTest::newRow("leere Zelle") << 0 << 1 << QByteArray();
    }
    void betriebDruecken()
    {
        QFETCH(int, element);
        QFETCH(int, zustand);
        QFETCH(QByteArray, schritte);
        CPlanZellen plan;
        if (element > 0)
            Zelle(plan, {27, 54}, element, zustand);
        const auto druck = BetriebDruecken(plan, Katalog(), {27, 54});
        QCOMPARE(druck.has_value(), !schritte.isEmpty());
        if (!druck)
            return;
        QVERIFY(!druck->Fahrstrassentaste);
        QCOMPARE(Text(druck->Schalten), schritte);
        QCOMPARE(druck->Schalten.Slot, 1);
        QCOMPARE(druck->Schalten.Zeile.Dekoder, druck->Schalten.Zeile.Adresse == 0 ? 0 : 3);
        QCOMPARE(plan.Positionen[1].Zustand, zustand); // the window stores it after the pulse
    }

    void fahrstrassentaste()
    {
        CPlanZellen plan;
        Zelle(plan, {0, 0}, 66, 1);
        plan.Positionen[1].Fahrstrasse = 5;
        const auto druck = BetriebDruecken(plan, Katalog(), {0, 0});
        QVERIFY(druck && druck->Fahrstrassentaste == 5);
        QVERIFY(!FahrstrasseGibtEs(0) && FahrstrasseGibtEs(1) && FahrstrasseGibtEs(63) && !FahrstrasseGibtEs(64));
    }

    // A sequence of presses on route 1, each "L" or "R" with a cell name,
    // against the route's entries afterwards, the number shown and the code drawn.
    void bearbeiten_data()
    {
        QTest::addColumn<QStringList>("druecke");
        QTest::addColumn<QString>("eintraege"); // cell name and code per entry
        QTest::addColumn<QString>("anzeige");   // per press: number shown / code or position drawn; "-" none; "*": changed
        QTest::newRow("zwei Stellungen wechseln") << QStringList {"La", "La", "La"} << "a11" << "1/11* 1/12* 1/11*";
        QTest::newRow("drei Stellungen kreisen") << QStringList {"Lc", "Lc", "Lc", "Lc"} << "c13"
                                                 << "1/13* 1/11* 1/12* 1/13*";
        QTest::newRow("eine Stellung bleibt") << QStringList {"Le", "Le"} << "e12" << "1/12* 1/12";
        QTest::newRow("leere Zelle") << QStringList {"Lx", "Rx"} << "" << "-/- 0/-";
        QTest::newRow("Ecke (0, 0)") << QStringList {"Ln", "Lb"} << "n11 b11" << "1/11* 2/11*";
        QTest::newRow("Mitte entfernen") << QStringList {"La", "Lb", "Lc", "Ln", "Rb"} << "a11 c13 n11"
                                         << "1/11* 2/11* 3/13* 4/11* 0/1*";
        QTest::newRow("nicht gelistet") << QStringList {"La", "Rb"} << "a11" << "1/11* 0/1";
        QTest::newRow("mittlere Taste") << QStringList {"La", "Ma"} << "a11" << "1/11* -/-";
    }
    void bearbeiten()
    {
        QFETCH(QStringList, druecke);
        QFETCH(QString, eintraege);
        QFETCH(QString, anzeige);
        const QMap<QChar, QPoint> zellen {{'a', {27, 27}}, {'b', {54, 27}}, {'c', {81, 27}}, {'e', {108, 27}},
                                          {'n', {0, 0}}, {'x', {270, 270}}};
        CPlanZellen plan;
        Zelle(plan, zellen['a'], 5, 1);
        Zelle(plan, zellen['b'], 5, 1);
        Zelle(plan, zellen['c'], 3, 3);
        Zelle(plan, zellen['e'], 9, 2);
        Zelle(plan, zellen['n'], 5, 0);
        FahrTabelle tabelle {};
        CFahr fahr(tabelle);
        const ElementTabelle katalog = Katalog();
        QStringList gezeigt;
        for (const QString &druck : druecke) {
            const QPoint p = zellen[druck[1]];
            Fahrstrassenschritt s;
            if (druck[0] == 'L')
                s = FahrstrasseLinks(fahr, plan, katalog, 1, p);
            else if (druck[0] == 'R')
                s = FahrstrasseRechts(fahr, plan, 1, p);
            QVERIFY(!s.Voll);
            gezeigt << (s.Nummer ? QString::number(*s.Nummer) : "-") + "/"
                    + (s.Zeichnen ? QString::number(s.Zeichnen->Wert) : "-") + (s.Geaendert ? "*" : "");
        }
        QCOMPARE(gezeigt.join(' '), anzeige);
        QStringList liste;
        for (int k = 1; k <= fahr.Anzahl(1); ++k)
            liste << QString(zellen.key(QPoint(tabelle[1][k].X, tabelle[1][k].Y))) + QString::number(tabelle[1][k].Code);
        QCOMPARE(liste.join(' '), eintraege);
        for (int k = fahr.Anzahl(1) + 1; k <= EintraegeJeFahrstrasse; ++k)
            QCOMPARE(tabelle[1][k], FahrEintrag());
    }

    // A route with 63 entries takes no 64th; the cell is not drawn.
    void volleFahrstrasse()
    {
        CPlanZellen plan;
        FahrTabelle tabelle {};
        CFahr fahr(tabelle);
        for (int i = 0; i <= EintraegeJeFahrstrasse; ++i)
            Zelle(plan, {27 * i, 0}, 5, 1);
        for (int i = 0; i < EintraegeJeFahrstrasse; ++i)
            QVERIFY(!FahrstrasseLinks(fahr, plan, Katalog(), 7, {27 * i, 0}).Voll);
        const Fahrstrassenschritt voll = FahrstrasseLinks(fahr, plan, Katalog(), 7, {27 * 63, 0});
        QVERIFY(voll.Voll && !voll.Zeichnen && !voll.Nummer);
        QCOMPARE(fahr.Anzahl(7), 63);
        QCOMPARE(tabelle[7][63], (FahrEintrag {27 * 62, 0, 11}));
    }

    // Setting a route: the cells take their entries' positions in entry
    // order; cells with a decoder row for that position are switched, a
    // cleared cell and a feedback contact are left out.
    void stellen()
    {
        CPlanZellen plan;
        Zelle(plan, {0, 0}, 3, 1, 4, 1);   // three positions -> 3: row 3
        Zelle(plan, {27, 0}, 5, 1, 0, 5);  // no decoder: drawn, not switched
        Zelle(plan, {54, 0}, 65, 1, 1, 2); // feedback contact: left out
        Zelle(plan, {81, 0}, 5, 2, 6, 7);  // -> 1: row 1
        Zelle(plan, {108, 0}, 5, 1);
        plan.LoeschePosition(5);
        plan.Positionen[4].Protokoll = "N";
        FahrTabelle tabelle {};
        CFahr fahr(tabelle);
        tabelle[2][0].X = 5;
        tabelle[2][1] = {81, 0, 11};
        tabelle[2][2] = {0, 0, 13};
        tabelle[2][3] = {27, 0, 12};
        tabelle[2][4] = {54, 0, 12};
        tabelle[2][5] = {108, 0, 12};
        const Fahrstrassenstellung s = FahrstrasseStellen(fahr, plan, 2);
        QCOMPARE(s.Zeichnen, (QList<ZellBild> {{{81, 0}, 5, 11}, {{0, 0}, 3, 13}, {{27, 0}, 5, 12}}));
        QCOMPARE(s.Schalten, (QList<Zubehoerausgang> {{"N", 6, 7}, {"M", 4, 3}}));
        QCOMPARE(plan.Positionen[1].Zustand, 3);
        QCOMPARE(plan.Positionen[2].Zustand, 2);
        QCOMPARE(plan.Positionen[3].Zustand, 1);
        QCOMPARE(plan.Positionen[4].Zustand, 1);
        QCOMPARE(FahrstrassenBilder(fahr, plan, 2, false),
                 (QList<ZellBild> {{{81, 0}, 5, 1}, {{0, 0}, 3, 3}, {{27, 0}, 5, 2}, {{54, 0}, 65, 1}}));
    }

    // The editor: route numbers stay within 1 to 63, cancelling restores
    // the entries kept at the start or at the last change of route.
    void editor()
    {
        FahrTabelle tabelle {};
        CFahr fahr(tabelle);
        Fahrstrasseneditor editor(fahr);
        QCOMPARE(editor.Beginnen(0), 1);
        QCOMPARE(editor.Beginnen(64), 1);
        QCOMPARE(editor.Beginnen(63), 63);
        QCOMPARE(editor.Wechseln(63, +1), 63);
        QCOMPARE(editor.Wechseln(1, -1), 1);
        QCOMPARE(editor.LoeschRoute(), 63);
        QCOMPARE(editor.LoeschWechseln(+1), 63);
        QCOMPARE(editor.LoeschWechseln(-1), 62);

        tabelle[4][0].X = 1;
        tabelle[4][1] = {27, 27, 12};
        QCOMPARE(editor.Wechseln(3, +1), 4);
        tabelle[4][2] = {54, 27, 11};
        tabelle[4][0].X = 2;
        editor.Zuruecknehmen(4);
        QCOMPARE(fahr.Anzahl(4), 1);
        QCOMPARE(tabelle[4][2], FahrEintrag());

        QVERIFY(editor.VerbindenWartet == false);
        CPlanZellen plan;
        Zelle(plan, {0, 0}, 88, 1);
        Zelle(plan, {27, 0}, 5, 1);
        QVERIFY(FahrstrassentasteVerbinden(plan, 9, {0, 0}));
        QVERIFY(!FahrstrassentasteVerbinden(plan, 9, {27, 0}));
        QCOMPARE(plan.Positionen[1].Fahrstrasse, 9);
        QCOMPARE(plan.Positionen[2].Fahrstrasse, 0);
    }

    void dateiRundreise()
    {
        TestWorkDir work(false);
        FahrTabelle tabelle {};
        tabelle[0][0].X = 1;
        tabelle[0][1] = {0, 0, 11};
        tabelle[63][0].X = 63;
        for (int k = 1; k <= 63; ++k)
            tabelle[63][k] = {27 * k, -27, 11 + k % 3};
        const QString pfad = FahrstrassenPfad(work.path() + "bahnhof.pln");
        QCOMPARE(pfad, work.path() + "bahnhof.fst");
        SchreibeFahrstrassenDatei(pfad, tabelle);
        QVERIFY(LiesFahrstrassenDatei(pfad) == tabelle);
        QVERIFY(Dateiinhalt(pfad).startsWith("1\n0\n0\n11\n0\n0\n"));
    }

    // A broken route file raises an error naming the file and the line.
    void dateiFehler_data()
    {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QString>("zeile");
        const QByteArray leer = QByteArray("0\n").repeated(63);
        QTest::newRow("Anzahl zu gross") << "64\n" + leer << "Zeile 1";
        QTest::newRow("Anzahl negativ") << "0\n-1\n" + leer << "Zeile 2";
        QTest::newRow("Code 14") << "1\n0\n0\n14\n" + leer << "Zeile 4";
        QTest::newRow("keine Zahl") << "1\n0\nx\n11\n" + leer << "Zeile 3";
        QTest::newRow("zu kurz") << QByteArray("0\n").repeated(63) << "Zeile 64";
        QTest::newRow("leer") << QByteArray() << "Zeile 1";
    }
    void dateiFehler()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, zeile);
        TestWorkDir work(false);
        const QString pfad = work.path() + "kaputt.fst";
        DateiSchreiben(pfad, inhalt);
        try {
            LiesFahrstrassenDatei(pfad);
            QFAIL("no error");
        } catch (const VelmoFehler &f) {
            QVERIFY2(f.Text.contains(zeile + " ") && f.Text.contains(pfad), qPrintable(f.Text));
        }
    }
};

QTEST_GUILESS_MAIN(TestFahrstrassen)
#include "test_fahrstrassen.moc"
