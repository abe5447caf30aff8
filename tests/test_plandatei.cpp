// The plan file, the atomic writer under disk faults, the picture store and
// the block copy, without a window.
#include "dateifehler.h"
#include "elemente/BildSpeicher.h"
#include "elemente/Bilder.h"
#include "hilfen/fehler.h"
#include "position/PlanDatei.h"
#include "testwork.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <optional>

namespace {

QString Fixture(const QString &name)
{
    return QStringLiteral(VELMO_TESTDATA "/plaene/") + name;
}

// A plan of n cells with every field filled at random, holes among them.
CPlanZellen ZufallsPlan(int n)
{
    QRandomGenerator zufall(4711);
    CPlanZellen plan;
    for (int i = 1; i <= n; ++i) {
        plan.NeuePosition(27 * zufall.bounded(36), 27 * zufall.bounded(25), zufall.bounded(1, 89));
        C_Position &p = plan.Positionen[i];
        for (int *feld : {&p.Zustand, &p.Dekoder1, &p.Dekoder2, &p.Dekoder3, &p.Adresse1, &p.Adresse2, &p.Adresse3,
                          &p.Fahrstrasse})
            *feld = zufall.bounded(-5, 300);
        p.Protokoll = QByteArray("MNn\xc3\xbc x").left(zufall.bounded(0, 6));
        if (zufall.bounded(10) == 0)
            plan.LoeschePosition(i);
    }
    return plan;
}

} // namespace

class TestPlanDatei : public QObject
{
    Q_OBJECT
private slots:
    void format_data()
    {
        QTest::addColumn<int>("zellen");
        QTest::addColumn<QByteArray>("datei");
        QTest::newRow("leer") << 0 << QByteArray("0\n");
        QTest::newRow("eine Zelle") << 1 << QByteArray("1\n1\n12\n54\n27\n1\n0\n0\n0\n0\n0\n0\n0\n\n");
        QTest::newRow("Loch und Text")
            << 2 << QByteArray("2\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n\n2\n6\n81\n0\n-3\n7\n0\n0\n0\n2\n0\n5\nN\n");
    }
    void format()
    {
        QFETCH(int, zellen);
        QFETCH(QByteArray, datei);
        CPlanZellen plan;
        if (zellen >= 1)
            plan.NeuePosition(54, 27, 12);
        if (zellen == 2) {
            plan.LoeschePosition(1);
            plan.NeuePosition(81, 0, 6);
            C_Position &p = plan.Positionen[2];
            p.Zustand = -3;
            p.Dekoder1 = 7;
            p.Adresse2 = 2;
            p.Fahrstrasse = 5;
            p.Protokoll = "N";
        }
        QTemporaryDir dir;
        const QString pfad = dir.filePath("anlage.pln");
        SchreibePlanDatei(pfad, plan);
        QCOMPARE(Dateiinhalt(pfad), datei);
        const CPlanZellen gelesen = LiesPlanDatei(pfad);
        QCOMPARE(gelesen.PosAnzahl, plan.PosAnzahl);
        QVERIFY(gelesen.Positionen == plan.Positionen);
    }

    // Blanks and empty lines before a number and words after it are
    // skipped, a line after the last record that is no number ignored, a
    // hand-edited Nummer taken as it stands and no index of its cell.
    void nachsichtigLesen()
    {
        QTemporaryDir dir;
        const QString pfad = dir.filePath("hand.pln");
        DateiSchreiben(pfad, "\n  1 Zelle\n7\n\n12 Kreuzung\n54\n27\n1\n0\n0\n0\n0\n0\n0\n0\n  M  \nRest\n");
        const CPlanZellen plan = LiesPlanDatei(pfad);
        QCOMPARE(plan.PosAnzahl, 1);
        QCOMPARE(plan.Positionen[1].Nummer, 7);
        QCOMPARE(plan.Positionen[1].Element, 12);
        QCOMPARE(plan.Positionen[1].Protokoll, QByteArray("  M  "));
        QCOMPARE(plan.FindePosition(54, 27), 7);
        QCOMPARE(plan.FindeSlot(54, 27), 1);
    }

    void kaputteDateien_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("fehler");
        QTest::newRow("fehlt") << "fehlt.pln" << "Datei nicht gefunden";
        QTest::newRow("Anzahl negativ") << "anzahl_negativ.pln" << "Ungültige Anzahl der Elemente -1 (0 bis 10000) in Zeile 1";
        QTest::newRow("Anzahl zu groß") << "anzahl_zu_gross.pln" << "Ungültige Anzahl der Elemente 10001 (0 bis 10000) in Zeile 1";
        QTest::newRow("Wort statt Zahl") << "wort_statt_zahl.pln" << "Ungültige numerische Eingabe in Zeile 18";
        QTest::newRow("Zahl zu groß") << "zahl_zu_gross.pln" << "Ungültige numerische Eingabe in Zeile 13";
        QTest::newRow("abgebrochen") << "abgebrochen.pln" << "Lesen über Dateiende hinaus in Zeile 21";
        QTest::newRow("ohne Protokoll") << "ohne_protokoll.pln" << "Lesen über Dateiende hinaus in Zeile 14";
        QTest::newRow("mehr Zellen als Anzahl") << "mehr_als_anzahl.pln" << "Mehr Zellen als die Anzahl 1 in Zeile 15";
        // The folder of the fixtures itself.
        QTest::newRow("Verzeichnis") << "" << "Verzeichnis statt Datei";
    }
    void kaputteDateien()
    {
        QFETCH(QString, datei);
        QFETCH(QString, fehler);
        try {
            LiesPlanDatei(Fixture(datei));
            QFAIL("read without an error");
        } catch (const VelmoFehler &e) {
            QVERIFY2(e.Text.contains(fehler), qPrintable(e.Text));
            QVERIFY2(e.Text.contains(Fixture(datei)), qPrintable(e.Text));
        }
    }

    void zehntausendZellenUnveraendert()
    {
        const CPlanZellen plan = ZufallsPlan(MaxPositionen);
        QTemporaryDir dir;
        SchreibePlanDatei(dir.filePath("a.pln"), plan);
        const CPlanZellen gelesen = LiesPlanDatei(dir.filePath("a.pln"));
        QVERIFY(gelesen.Positionen == plan.Positionen);
        SchreibePlanDatei(dir.filePath("b.pln"), gelesen);
        QCOMPARE(Dateiinhalt(dir.filePath("b.pln")), Dateiinhalt(dir.filePath("a.pln")));
        QCOMPARE(Dateiinhalt(dir.filePath("a.pln")).count('\n'), 1 + 13 * MaxPositionen);
    }

    // Every failed write leaves the old file as it was and names the path.
    void schreibfehler_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::newRow("Dateigrenze wie volle Platte") << "grenze";
        QTest::newRow("schreibgeschütztes Verzeichnis") << "schreibschutz";
        QTest::newRow("Verzeichnis fehlt") << "fehlt";
    }
    void schreibfehler()
    {
        QFETCH(QString, fall);
        QTemporaryDir dir;
        const QString pfad = fall == "fehlt" ? dir.filePath("nirgends/anlage.pln") : dir.filePath("anlage.pln");
        if (fall != "fehlt")
            DateiSchreiben(pfad, "0\n");
        const CPlanZellen plan = ZufallsPlan(200);
        const QString fehler = Schreibfehler(fall, dir.path(), 1000, [&] { SchreibePlanDatei(pfad, plan); });
        QVERIFY2(fehler.contains(pfad), qPrintable(fehler));
        QCOMPARE(Dateiinhalt(pfad), fall == "fehlt" ? QByteArray("<fehlt>") : QByteArray("0\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), fall == "fehlt" ? QStringList() : QStringList({"anlage.pln"}));
    }

    void ladeSchaltung_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("zustand");
        QTest::addColumn<int>("zustandGezeichnet");
        QTest::addColumn<int>("dekoder"); // 0: nothing is sent
        QTest::addColumn<int>("adresse");
        QTest::newRow("Zustand 1") << 6 << 1 << 1 << 11 << 1;
        QTest::newRow("Zustand 0 wie 1") << 6 << 0 << 1 << 11 << 1;
        QTest::newRow("Zustand 2") << 6 << 2 << 2 << 12 << 2;
        QTest::newRow("Zustand 3") << 10 << 3 << 3 << 13 << 3;
        QTest::newRow("Zustand 5") << 10 << 5 << 5 << 0 << 0;
        for (int e : {20, 42, 64, 65, 86, 87})
            QTest::addRow("Element %d sendet nie", e) << e << 1 << 1 << 0 << 0;
    }
    void ladeSchaltung()
    {
        QFETCH(int, element);
        QFETCH(int, zustand);
        C_Position p;
        p.Element = element;
        p.Zustand = zustand;
        p.Dekoder1 = 11, p.Dekoder2 = 12, p.Dekoder3 = 13;
        p.Adresse1 = 1, p.Adresse2 = 2, p.Adresse3 = 3;
        QTEST(LadeZustand(p), "zustandGezeichnet");
        const auto zeile = LadeSchaltung(p);
        QFETCH(int, dekoder);
        QFETCH(int, adresse);
        QCOMPARE(zeile.value_or(DekoderZeile {}), (DekoderZeile {dekoder, adresse}));
        // An output of 0 sends nothing.
        p.Adresse1 = p.Adresse2 = p.Adresse3 = 0;
        QVERIFY(!LadeSchaltung(p));
    }

    void bildSpeicher()
    {
        TestWorkDir work;
        BildSpeicher speicher;
        const QString pfad = work.path() + "bild.bmp";
        QImage rot(27, 27, QImage::Format_RGB32), blau(27, 27, QImage::Format_RGB32);
        rot.fill(Qt::red);
        blau.fill(Qt::blue);
        QVERIFY(rot.save(pfad));
        QCOMPARE(speicher.Bild(pfad).pixel(0, 0), rot.pixel(0, 0));
        QCOMPARE(speicher.Bild(pfad).pixel(0, 0), rot.pixel(0, 0));
        QCOMPARE(speicher.Dekodierungen(), 1);

        // Replaced on disk (same size): the next use shows the new picture.
        QVERIFY(blau.save(work.path() + "neu.bmp"));
        QVERIFY(::rename(qPrintable(work.path() + "neu.bmp"), qPrintable(pfad)) == 0);
        QCOMPARE(speicher.Bild(pfad).pixel(0, 0), blau.pixel(0, 0));
        // Rewritten in place with a new time stamp: read afresh too.
        QVERIFY(rot.save(pfad));
        QFile datei(pfad);
        QVERIFY(datei.open(QIODevice::ReadWrite));
        QVERIFY(datei.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
        datei.close();
        QCOMPARE(speicher.Bild(pfad).pixel(0, 0), rot.pixel(0, 0));
        QCOMPARE(speicher.Dekodierungen(), 3);

        // Unreadable, damaged, then missing: the error every time it is asked for.
        {
            Zugriffsrechte gesperrt(pfad, 0);
            for (int i = 0; i < 2; ++i)
                QVERIFY_THROWS_EXCEPTION(VelmoFehler, speicher.Bild(pfad));
        }
        QCOMPARE(speicher.Bild(pfad).pixel(0, 0), rot.pixel(0, 0));
        DateiSchreiben(pfad, "kein Bild");
        for (int i = 0; i < 2; ++i)
            QVERIFY_THROWS_EXCEPTION(VelmoFehler, speicher.Bild(pfad));
        QFile::remove(pfad);
        for (int i = 0; i < 2; ++i)
            QVERIFY_THROWS_EXCEPTION(VelmoFehler, speicher.Bild(pfad));
    }

    // One operation holds a pass of the store: each file is checked once in
    // it and seen as it was then; the next pass, and every use without a
    // pass, sees what is on disk now. Results: the colour shown or the error
    // raised at the first use, at 20 uses after the change and in the next
    // operation, and the stat calls of the first operation.
    void bildSpeicherDurchgang_data()
    {
        for (const char *spalte : {"vorher", "nachher", "erste", "weitere", "naechste"})
            QTest::addColumn<QString>(spalte);
        QTest::addColumn<bool>("imDurchgang");
        QTest::addColumn<int>("pruefungen");
        const QString fehlt = "Bilddatei nicht gefunden", kaputt = "Ungültiges Bild";
        QTest::newRow("ersetzt, im nächsten Durchgang gesehen") << "rot" << "blau" << "rot" << "rot" << "blau" << true << 1;
        QTest::newRow("ersetzt, ohne Durchgang sofort") << "rot" << "blau" << "rot" << "blau" << "blau" << false << 21;
        QTest::newRow("gelöscht im Durchgang") << "rot" << "fehlt" << "rot" << "rot" << fehlt << true << 1;
        QTest::newRow("fehlt, dann angelegt") << "fehlt" << "rot" << fehlt << fehlt << "rot" << true << 1;
        QTest::newRow("kaputt, dann repariert") << "kaputt" << "blau" << kaputt << kaputt << "blau" << true << 1;
    }
    void bildSpeicherDurchgang()
    {
        QFETCH(bool, imDurchgang);
        QFETCH(QString, vorher);
        QFETCH(QString, nachher);
        TestWorkDir work;
        const QString pfad = work.path() + "bild.bmp";
        // Each state is a new file put in place, as an editor or a copy does.
        auto setzen = [&](const QString &zustand) {
            QFile::remove(pfad);
            QImage bild(27, 27, QImage::Format_RGB32);
            bild.fill(zustand == "rot" ? Qt::red : Qt::blue);
            if (zustand != "fehlt")
                QVERIFY(zustand == "kaputt" ? QFile(pfad).open(QIODevice::WriteOnly) : bild.save(pfad));
        };
        BildSpeicher speicher;
        std::optional<BildSpeicher::Durchgang> durchgang;
        auto gezeigt = [&]() -> QString {
            try {
                const QColor farbe = speicher.Bild(pfad, durchgang ? &*durchgang : nullptr).pixelColor(13, 13);
                return farbe == Qt::red ? "rot" : farbe == Qt::blue ? "blau" : farbe.name();
            } catch (const VelmoFehler &fehler) {
                return fehler.Text.section(':', 0, 0);
            }
        };
        auto naechsteOperation = [&] {
            durchgang.reset();
            if (imDurchgang)
                durchgang.emplace(speicher);
        };
        setzen(vorher);
        naechsteOperation();
        const int pruefungen = speicher.Pruefungen();
        QTEST(gezeigt(), "erste");
        setzen(nachher);
        for (int i = 0; i < 20; ++i)
            QTEST(gezeigt(), "weitere");
        QTEST(speicher.Pruefungen() - pruefungen, "pruefungen");
        naechsteOperation();
        QTEST(gezeigt(), "naechste");
    }

    // The shipped bitmaps are read without Qt's readers; each looks exactly
    // as Qt decodes it, and so do bitmaps of other kinds, which go to Qt:
    // 8 bits per pixel, and 24 with the rows top down (a negative height).
    void bildSpeicherWieQt()
    {
        TestWorkDir work;
        QStringList dateien;
        for (const QString &name : QDir(builtDataDir()).entryList({"*.bmp"}))
            dateien << builtDataDir() + '/' + name;
        QImage bild(5, 3, QImage::Format_RGB32);
        for (int i = 0; i < 15; ++i)
            bild.setPixel(i % 5, i / 5, qRgb(50 * (i % 5), 90 * (i / 5), 17 * i));
        for (const auto format : {QImage::Format_Indexed8, QImage::Format_RGB32}) {
            dateien << work.path() + QString::number(format) + ".bmp";
            QVERIFY(bild.convertToFormat(format).save(dateien.last(), "BMP"));
        }
        QFile oben(dateien.last());
        const qint32 hoehe = -3;
        QVERIFY(oben.open(QIODevice::ReadWrite) && oben.seek(22) && oben.write(reinterpret_cast<const char *>(&hoehe), 4) == 4);
        oben.close();
        BildSpeicher speicher;
        for (const QString &pfad : dateien)
            QVERIFY2(speicher.Bild(pfad) == QImage(pfad).convertToFormat(QImage::Format_RGB32), qPrintable(pfad));
    }

    // The row copy of the icons against the painter's copy, also where
    // source or target rectangle reach outside their image.
    void kopiereBlock_data()
    {
        QTest::addColumn<QPoint>("ziel");
        QTest::addColumn<QRect>("quelle");
        QTest::newRow("innen") << QPoint(5, 7) << QRect(0, 0, 27, 27);
        QTest::newRow("links oben hinaus") << QPoint(-10, -3) << QRect(0, 0, 27, 27);
        QTest::newRow("rechts unten hinaus") << QPoint(30, 35) << QRect(0, 0, 27, 27);
        QTest::newRow("Quelle teilweise außerhalb") << QPoint(4, 4) << QRect(-5, 20, 27, 27);
        QTest::newRow("Teilstück") << QPoint(0, 0) << QRect(1, 1, 26, 26);
        QTest::newRow("ganz außerhalb") << QPoint(50, 50) << QRect(0, 0, 27, 27);
        QTest::newRow("rechts am Ende von int") << QPoint(INT_MAX - 10, 5) << QRect(0, 0, 27, 27);
        QTest::newRow("unten am Ende von int") << QPoint(5, INT_MAX) << QRect(1, 1, 26, 26);
        // The painter's own rectangle for the expected image needs 2 below its corner.
        QTest::newRow("links am Ende von int") << QPoint(INT_MIN + 2, INT_MIN + 3) << QRect(0, 0, 27, 27);
    }
    void kopiereBlock()
    {
        QFETCH(QPoint, ziel);
        QFETCH(QRect, quelle);
        QImage icon(28, 28, QImage::Format_RGB32);
        for (int y = 0; y < 28; ++y)
            for (int x = 0; x < 28; ++x)
                icon.setPixel(x, y, qRgb(x * 9, y * 9, 100));
        QImage schnell(40, 45, QImage::Format_RGB32);
        schnell.fill(Qt::gray);
        QImage erwartet = schnell;
        KopiereBlock(schnell, ziel, icon, quelle);
        QPainter maler(&erwartet);
        maler.setCompositionMode(QPainter::CompositionMode_Source);
        maler.drawImage(ziel, icon, quelle);
        maler.end();
        QCOMPARE(schnell, erwartet);
    }
};

QTEST_GUILESS_MAIN(TestPlanDatei)
#include "test_plandatei.moc"
