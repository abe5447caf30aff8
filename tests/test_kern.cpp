// Core rules without a window: strings, numbers, the plan table, the
// catalogue with its palette, the settings file.
#include "elemente/Bilder.h"
#include "elemente/Katalog.h"
#include "hilfen/fehler.h"
#include "hilfen/pause.h"
#include "hilfen/textdatei.h"
#include "hilfen/texte.h"
#include "lokunit/cLocoInfo.h"
#include "position/C_Position.h"
#include "position/PlanDatei.h"
#include "srcpproto/BahnZustand.h"
#include "srcpproto/Cbahn.h"
#include "dateifehler.h"
#include "sockets/TcpClient.h"
#include "testwork.h"

#include <optional>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QtTest>

#include <ctime>
#include <unistd.h>

namespace {

// A catalogue file of 88 records in the delivered layout, with overrides.
QByteArray Katalog(const std::function<void(int, QList<QByteArray> &)> &aendern = {})
{
    QByteArray text;
    for (int i = 1; i <= 88; ++i) {
        const QByteArray nn = QByteArray::number(i).rightJustified(2, '0');
        QList<QByteArray> rec = {QByteArray::number(i), "Name", QByteArray::number(28 * ((i - 1) % 22) + 1),
                                 QByteArray::number(28 * ((i - 1) / 22) + 1), "1", "0", "Icon" + nn + "01.bmp",
                                 "Icon" + nn + "02.bmp", "Icon" + nn + "03.bmp", "", "", ""};
        if (aendern)
            aendern(i, rec);
        text += rec.join('\n') + '\n';
    }
    return text;
}

QImage Palette()
{
    return QImage(PaletteBreiteStandard, PaletteHoeheStandard, QImage::Format_RGB32);
}

QByteArray Parameter(const QByteArray &kopf, int loks = 10)
{
    QByteArray text = kopf;
    for (int i = 0; i < loks; ++i)
        text += "M2\nLok" + QByteArray::number(i) + "\n" + QByteArray::number(i + 1) + "\n1\n0\n100\n0\n2\n11\n3\n0\n0\n0\n0\n0\n0\n";
    return text;
}

// Reads one of the three data files in a work directory and gives back
// what was read, written out again in the program's own form.
QByteArray Gelesen(const QString &art, const TestWorkDir &work)
{
    QTemporaryDir aus;
    if (art == "parmc.dat") {
        BahnZustand zustand;
        LiesParameterDatei(work.dataPath(art), zustand);
        SchreibeParameterDatei(aus.filePath("x"), zustand);
    } else if (art == "anlage.pln") {
        SchreibePlanDatei(aus.filePath("x"), LiesPlanDatei(work.dataPath(art)));
    } else {
        CKatalog katalog;
        LadeKatalog(katalog, work.path());
        QByteArray text;
        for (const C_Element &e : katalog.Elemente)
            text += QByteArray::number(e.PaletteX) + e.Name + e.Bild1 + e.Bild2 + e.Bild3 + e.Text3 + '|';
        return text;
    }
    return Dateiinhalt(aus.filePath("x"));
}

// A settings store over a work directory, as the program has it.
struct Einstellungen
{
    TestWorkDir Work {false};
    BahnZustand Zustand;
    TcpClient Socket;
    Cbahn Bahn {Zustand, Socket, [](const QString &) {}, [](const QString &) {}};
    Einstellungen() { Zustand.WorkDir = Work.path(); }
    QString Pfad(const QString &name = "parmc.dat") const { return Work.dataPath(name); }
};

} // namespace

class TestKern : public QObject
{
    Q_OBJECT
private slots:
    void texthilfen()
    {
        QCOMPARE(LeftStr("INFO FB", 4), QString("INFO"));
        QCOMPARE(LeftStr("AB", 5), QString("AB"));
        QCOMPARE(RightStr("INFO FB", 2), QString("FB"));
        QCOMPARE(RightStr("AB", 5), QString("AB"));
        QCOMPARE(MidStr("INFO FB S88 * 01", 13, 1), QString("*"));
        QCOMPARE(MidStr("ABC", 2, 10), QString("BC"));
        QCOMPARE(MidStr("ABC", 4, 1), QString());
        QCOMPARE(TrimSteuerzeichen(" \t18 1\r\n"), QString("18 1"));
    }

    void pauseBedientEreignisse()
    {
        bool gefeuert = false;
        QTimer::singleShot(20, [&] { gefeuert = true; });
        QElapsedTimer uhr;
        uhr.start();
        Pause(150);
        QVERIFY(uhr.elapsed() >= 150);
        QVERIFY(uhr.elapsed() < 1000);
        QVERIFY(gefeuert);
        uhr.restart();
        Pause(0);
        QVERIFY(uhr.elapsed() < 50);
    }

    void utf8Kuerzen()
    {
        // "ü" is two bytes: the cut falls after it, never inside it.
        QCOMPARE(Utf8Kuerzen("Rübezahl", 2), QByteArray("Rü"));
        QCOMPARE(Utf8Kuerzen("Mü", 3), QByteArray("Mü"));
        QCOMPARE(Utf8Kuerzen(QByteArray("abcdefghijklmnopqrstuvwxy"), 20), QByteArray("abcdefghijklmnopqrst"));
        // Latin-1 bytes that are no UTF-8 count one each and are kept as they are.
        QCOMPARE(Utf8Kuerzen(QByteArray("M\xfc\xfc\xfc"), 3), QByteArray("M\xfc\xfc"));
        QCOMPARE(Utf8Kuerzen(QByteArray("ab\xc3"), 3), QByteArray("ab\xc3"));
    }

    void strToInt()
    {
        QCOMPARE(StrToInt("20000"), 20000);
        QCOMPARE(StrToInt("-7"), -7);
        for (const char *falsch : {"", "abc", "12a", " 12", "-", "99999999999"}) {
            try {
                StrToInt(falsch);
                QFAIL(falsch);
            } catch (const VelmoFehler &e) {
                QCOMPARE(e.Text, QStringLiteral("'%1' ist kein gültiger Integerwert").arg(falsch));
            }
        }
    }

    void raster()
    {
        QCOMPARE(Raster(0), 0);
        QCOMPARE(Raster(26), 0);
        QCOMPARE(Raster(27), 27);
        QCOMPARE(Raster(980), 972);
    }

    void planTabelle()
    {
        CPlanZellen plan;
        QCOMPARE(plan.FindePosition(0, 0), 0);
        QVERIFY(plan.NeuePosition(54, 27, 12));
        const C_Position &p = plan.Positionen[1];
        QCOMPARE(plan.PosAnzahl, 1);
        QCOMPARE(p.Nummer, 1);
        QCOMPARE(p.Element, 12);
        QCOMPARE(p.X, 54);
        QCOMPARE(p.Y, 27);
        QCOMPARE(p.Zustand, 1);
        QCOMPARE(p.Dekoder1 + p.Dekoder2 + p.Dekoder3 + p.Adresse1 + p.Adresse2 + p.Adresse3 + p.Fahrstrasse, 0);
        QCOMPARE(plan.FindePosition(54, 27), 1);
        QCOMPARE(plan.FindeElement(54, 27), 12);
        QCOMPARE(plan.FindePosition(54, 28), 0);

        // The same spot twice: the first cell wins.
        QVERIFY(plan.NeuePosition(54, 27, 3));
        QCOMPARE(plan.FindePosition(54, 27), 1);
        QCOMPARE(plan.FindeElement(54, 27), 12);

        // A hole keeps its slot and never hides a real cell at (0, 0).
        plan.Positionen[1].Protokoll = "N";
        plan.LoeschePosition(1);
        QCOMPARE(plan.PosAnzahl, 2);
        QCOMPARE(plan.Positionen[1].X, 0);
        QCOMPARE(plan.Positionen[1].Element, 0);
        QVERIFY(plan.Positionen[1].Protokoll.isEmpty());
        QCOMPARE(plan.FindePosition(54, 27), 2);
        QCOMPARE(plan.FindeElement(0, 0), 0);
        QVERIFY(plan.NeuePosition(0, 0, 7));
        QCOMPARE(plan.FindePosition(0, 0), 3);
        QCOMPARE(plan.FindeElement(0, 0), 7);

        // A reused slot is made fresh.
        plan.Positionen[4].Dekoder1 = 9;
        QVERIFY(plan.NeuePosition(27, 0, 5));
        QCOMPARE(plan.Positionen[4].Dekoder1, 0);
    }

    void planTabelleVoll()
    {
        CPlanZellen plan;
        for (int i = 0; i < MaxPositionen; ++i)
            QVERIFY(plan.NeuePosition(27 * (i % 36), 27 * (i / 36), 1));
        QCOMPARE(plan.PosAnzahl, 10000);
        QVERIFY(!plan.NeuePosition(0, 0, 2));
        QCOMPARE(plan.PosAnzahl, 10000);
        QCOMPARE(plan.Positionen[10000].Element, 1);

        // A slot never written reads as empty, like a cleared one.
        CPlanZellen leer, geloescht;
        geloescht.NeuePosition(0, 0, 1);
        geloescht.LoeschePosition(1);
        QVERIFY(geloescht.Positionen == leer.Positionen);
        QVERIFY(!(plan.Positionen == leer.Positionen));
    }

    void iconNamen()
    {
        QCOMPARE(IconName(7, 1), QString("Icon0701.bmp"));
        QCOMPARE(IconName(45, 12), QString("Icon4512.bmp"));
        QCOMPARE(IconName(3, 0), QString("Icon0301.bmp"));
        QCOMPARE(IconName(3, -4), QString("Icon0301.bmp"));
        QCOMPARE(IconName(88, 13), QString("Icon8813.bmp"));
        QCOMPARE(IconName(12, 5), QString("Icon12"));
        QCOMPARE(IconName(12, 14), QString("Icon12"));
    }

    void katalogUndPalette()
    {
        TestWorkDir work;
        CKatalog katalog;
        LadeKatalog(katalog, work.path());
        QVERIFY(katalog.ElementeGeladen);
        QImage palette = Palette();
        PaletteZeichnen(katalog, work.path(), palette);
        QCOMPARE(katalog.Elemente[88].Nummer, 88);
        QCOMPARE(katalog.FindePaletteElement(1, 1), 1);
        QCOMPARE(katalog.FindePaletteElement(589, 85), 88);
        QCOMPARE(katalog.FindePaletteElement(2, 1), 0);

        // Spot 1 holds icon pixel (1, 1) at (1, 1); its 27th row and column
        // keep the maroon background, and so does the 1-pixel border.
        QImage bild;
        LadeBild(work.dataPath("Icon0101.bmp"), bild);
        QCOMPARE(palette.pixel(1, 1), bild.pixel(1, 1));
        QCOMPARE(palette.pixel(26, 13), bild.pixel(26, 13));
        QCOMPARE(QColor(palette.pixel(27, 13)), PaletteFarbe);
        QCOMPARE(QColor(palette.pixel(13, 27)), PaletteFarbe);
        QCOMPARE(QColor(palette.pixel(0, 0)), PaletteFarbe);
        QCOMPARE(QColor(palette.pixel(616, 112)), PaletteFarbe);
    }

    void katalogSonderfaelle()
    {
        TestWorkDir work;
        // Record 5 at (113, 1); records 1 and 2 share a spot; record 3 off grid;
        // an integer line with trailing words, an empty text line.
        work.writeData("Elemente1.dat", Katalog([](int i, QList<QByteArray> &rec) {
            if (i == 5) rec[2] = "113";
            if (i == 2) rec[2] = "1";
            if (i == 3) rec[2] = "60";
            if (i == 7) rec[0] = "7 und weitere Worte";
            if (i == 7) rec[1] = "";
        }));
        CKatalog katalog;
        QImage palette = Palette();
        LadeKatalog(katalog, work.path());
        PaletteZeichnen(katalog, work.path(), palette);
        QCOMPARE(katalog.FindePaletteElement(113, 1), 5);
        QCOMPARE(katalog.FindePaletteElement(1, 1), 1);
        QCOMPARE(katalog.FindePaletteElement(57, 1), 0);
        QCOMPARE(katalog.Elemente[7].Nummer, 7);
        QVERIFY(katalog.Elemente[7].Name.isEmpty());
        // The later of two records on one spot is drawn on top.
        QImage zwei;
        LadeBild(work.dataPath("Icon0201.bmp"), zwei);
        QCOMPARE(palette.pixel(1 + 12, 1 + 12), zwei.pixel(13, 13));
    }

    void katalogFehler()
    {
        TestWorkDir work;
        work.writeData("Elemente1.dat", Katalog([](int i, QList<QByteArray> &rec) {
            if (i == 3) rec[3] = "oben";
        }));
        CKatalog katalog;
        katalog.Elemente[4].Nummer = 99;
        QImage palette = Palette();
        QVERIFY_THROWS_EXCEPTION(VelmoFehler, LadeKatalog(katalog, work.path()));
        QVERIFY(!katalog.ElementeGeladen);
        QCOMPARE(katalog.Elemente[2].Nummer, 2);
        QCOMPARE(katalog.Elemente[3].PaletteX, 57);
        QCOMPARE(katalog.Elemente[4].Nummer, 99);
        // No icon is drawn: the palette is maroon everywhere.
        PaletteZeichnen(katalog, work.path(), palette);
        QCOMPARE(QColor(palette.pixel(13, 13)), PaletteFarbe);

        TestWorkDir leer(false);
        QVERIFY_THROWS_EXCEPTION(VelmoFehler, LadeKatalog(katalog, leer.path()));
    }

    void parameterRundreise()
    {
        TestWorkDir work(false);
        const QString pfad = work.dataPath("parmc.dat");
        BahnZustand zustand;
        zustand.ServerPort = 20000;
        zustand.ServerHost = "bahn.local";
        zustand.SrcpVersion = 80;
        zustand.InfoMode = 5;
        zustand.Lokomotiven[0].Lokname = "V 200 Rübenexpress";
        zustand.Lokomotiven[9].Funktionen[7] = 17;
        zustand.Lokomotiven[3].Richtung = -1;
        SchreibeParameterDatei(pfad, zustand);

        QFile file(pfad);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> zeilen = file.readAll().split('\n');
        QCOMPARE(zeilen.size(), 165); // 164 lines, each ended by LF
        QCOMPARE(zeilen[0], QByteArray("20000"));
        QCOMPARE(zeilen[4], QByteArray("M1"));
        QCOMPARE(zeilen[5], QByteArray("V 200 Rübenexpress"));
        QCOMPARE(zeilen[3 * 16 + 7], QByteArray("-1"));

        BahnZustand gelesen;
        LiesParameterDatei(pfad, gelesen);
        QCOMPARE(gelesen.ServerPort, 20000);
        QCOMPARE(gelesen.ServerHost, QByteArray("bahn.local"));
        QCOMPARE(gelesen.SrcpVersion, 80);
        QCOMPARE(gelesen.InfoMode, 5);
        QCOMPARE(gelesen.Lokomotiven[0].Lokname, QByteArray("V 200 Rübenexpress"));
        QCOMPARE(gelesen.Lokomotiven[9].Funktionen[7], 17);
        QCOMPARE(gelesen.Lokomotiven[3].Richtung, -1);
    }

    // A text never breaks its line: each control character is written as a
    // blank and read as one, also from a file that holds it (an older Velmo
    // wrote a text ending in CR with CR LF).
    void textEinzeilig_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("zeile");
        QTest::addColumn<QByteArray>("datei"); // read instead of the one written, unless empty
        QTest::newRow("CR am Ende") << QByteArray("Lok\r") << QByteArray("Lok ") << QByteArray("Lok\r\r\n7\n");
        QTest::newRow("Zeilenumbruch") << QByteArray("Lo\nk") << QByteArray("Lo k") << QByteArray();
        QTest::newRow("Tab und DEL") << QByteArray("L\to\x7fk") << QByteArray("L o k") << QByteArray("L\to\x7fk\n7\n");
        QTest::newRow("UTF-8") << QByteArray("Rübe") << QByteArray("Rübe") << QByteArray();
    }
    void textEinzeilig()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, zeile);
        QFETCH(QByteArray, datei);
        TestWorkDir work(false);
        const QString pfad = work.path() + "text.dat";
        TextSchreiber schreiber(pfad);
        schreiber.Text(text);
        schreiber.Zahl(7);
        schreiber.Fertig();
        QCOMPARE(Dateiinhalt(pfad), zeile + "\n7\n");
        if (!datei.isEmpty())
            DateiSchreiben(pfad, datei);
        TextLeser leser(pfad);
        QCOMPARE(leser.LiesText(), zeile);
        QCOMPARE(leser.LiesZahl(), 7);
    }

    void parameterKuerzen()
    {
        TestWorkDir work(false);
        QByteArray text = Parameter("12345\nlocalhost\n70\n0\n");
        text.replace("M2\nLok0\n", "M2xy\nabcdefghijklmnopqrstuvwxy\n");
        text.replace("M2\nLok1\n", "M2\nÄÖÜäöüßÄÖÜäöüßÄÖÜäöüßÄÖÜ\n");
        work.writeData("parmc.dat", text);
        BahnZustand zustand;
        LiesParameterDatei(work.dataPath("parmc.dat"), zustand);
        QCOMPARE(zustand.Lokomotiven[0].Protokoll, QByteArray("M2x"));
        QCOMPARE(zustand.Lokomotiven[0].Lokname, QByteArray("abcdefghijklmnopqrst"));
        QCOMPARE(zustand.Lokomotiven[1].Lokname, QByteArray("ÄÖÜäöüßÄÖÜäöüßÄÖÜäöü"));
        QCOMPARE(zustand.Lokomotiven[1].Adresse, 2);
        QCOMPARE(zustand.Lokomotiven[10].Lokname, QByteArray("Lok"));
    }

    void parameterFehler()
    {
        TestWorkDir work(false);
        work.writeData("parmc.dat", Parameter("4711\nzentrale\nsiebzig\n0\n"));
        BahnZustand zustand;
        QVERIFY_THROWS_EXCEPTION(VelmoFehler, LiesParameterDatei(work.dataPath("parmc.dat"), zustand));
        QCOMPARE(zustand.ServerPort, 4711);
        QCOMPARE(zustand.ServerHost, QByteArray("zentrale"));
        QCOMPARE(zustand.SrcpVersion, 70);

        // A cut-off file fails at its end, keeping the blocks read so far.
        work.writeData("parmc.dat", Parameter("1\nh\n80\n1\n", 3));
        BahnZustand kurz;
        QVERIFY_THROWS_EXCEPTION(VelmoFehler, LiesParameterDatei(work.dataPath("parmc.dat"), kurz));
        QCOMPARE(kurz.Lokomotiven[2].Adresse, 3);
        QCOMPARE(kurz.Lokomotiven[3].Adresse, 0);
    }

    void parameterSchreibenErsetztDieDateiGanz()
    {
        TestWorkDir work(false);
        const QByteArray alt = Parameter("1\nalt\n70\n0\n");
        work.writeData("parmc.dat", alt);
        // A second name for the old file: writing in place would change it too.
        QVERIFY(::link(qPrintable(work.dataPath("parmc.dat")), qPrintable(work.path() + "alt.dat")) == 0);
        BahnZustand zustand;
        zustand.ServerHost = "neu";
        SchreibeParameterDatei(work.dataPath("parmc.dat"), zustand);
        QFile vorher(work.path() + "alt.dat");
        QVERIFY(vorher.open(QIODevice::ReadOnly));
        QCOMPARE(vorher.readAll(), alt);
        BahnZustand gelesen;
        LiesParameterDatei(work.dataPath("parmc.dat"), gelesen);
        QCOMPARE(gelesen.ServerHost, QByteArray("neu"));

        // Writing into a directory that does not exist fails and is reported.
        QVERIFY_THROWS_EXCEPTION(VelmoFehler, SchreibeParameterDatei(work.path() + "fehlt/parmc.dat", zustand));
    }

    // Every data file may start with a UTF-8 byte-order mark and end its
    // lines with CR LF; a CR alone ends no line.
    void leseNachsicht_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("form");
        for (const char *art : {"parmc.dat", "Elemente1.dat", "anlage.pln"})
            for (const char *form : {"bom", "crlf", "bom+crlf", "cr"})
                QTest::addRow("%s %s", art, form) << art << form;
    }
    void leseNachsicht()
    {
        QFETCH(QString, art);
        QFETCH(QString, form);
        TestWorkDir work;
        const QByteArray sauber = art == "parmc.dat" ? Parameter("12345\nlocalhost\n80\n1\n")
                                : art == "anlage.pln" ? Dateiinhalt(QStringLiteral(VELMO_TESTDATA "/plaene/gut.pln"))
                                                      : Katalog();
        work.writeData(art, sauber);
        const QByteArray erwartet = Gelesen(art, work);
        QByteArray text = sauber;
        if (form.contains("crlf"))
            text.replace("\n", "\r\n");
        if (form == "cr")
            text.replace('\n', '\r');
        if (form.startsWith("bom"))
            text.prepend("\xEF\xBB\xBF");
        work.writeData(art, text);
        if (form == "cr")
            QVERIFY_THROWS_EXCEPTION(VelmoFehler, Gelesen(art, work));
        else
            QCOMPARE(Gelesen(art, work), erwartet);
    }

    // The base port must leave room for P + 2 below 65536.
    void portBereich_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("gueltig");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("65533") << "65533" << true;
        QTest::newRow("+80") << "+80" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("65534") << "65534" << false;
        QTest::newRow("-1") << "-1" << false;
        QTest::newRow("INT_MAX") << "2147483647" << false;
        QTest::newRow("mehr als 64 Bit") << "99999999999999999999" << false;
    }
    void portBereich()
    {
        QFETCH(QString, port);
        QFETCH(bool, gueltig);
        TestWorkDir work(false);
        work.writeData("parmc.dat", Parameter(port.toLatin1() + "\nzentrale\n80\n1\n"));
        BahnZustand zustand;
        if (gueltig) {
            LiesParameterDatei(work.dataPath("parmc.dat"), zustand);
            QCOMPARE(zustand.ServerPort, port.toInt());
            PortPruefen(port);
        } else {
            // Like a line without a number: reading stops there.
            QVERIFY_THROWS_EXCEPTION(VelmoFehler, LiesParameterDatei(work.dataPath("parmc.dat"), zustand));
            QCOMPARE(zustand.ServerPort, 12345);
            QCOMPARE(zustand.ServerHost, QByteArray("localhost"));
            try {
                PortPruefen(port);
                QFAIL("no error");
            } catch (const VelmoFehler &e) {
                QCOMPARE(e.Text, QString("Ungültiger Port: %1 (1 bis 65533)").arg(port));
            }
        }
    }

    void portPruefenLaesstAnderesDurch()
    {
        for (const char *text : {"", "12x", "-", " 80"})
            PortPruefen(text);
    }

    void anzeigeKuerzen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("gezeigt");
        const QString lang(2000, 'a');
        const QString paar = QString::fromUcs4(U"\U0001F682");
        QTest::newRow("kurz") << "Fehler" << "Fehler";
        QTest::newRow("genau 2000") << lang << lang;
        QTest::newRow("2001") << lang + "b" << lang + QChar(0x2026);
        QTest::newRow("ein Megabyte") << QString(1 << 20, 'x') << QString(2000, 'x') + QChar(0x2026);
        QTest::newRow("Ersatzpaar an der Grenze") << QString(1999, 'a') + paar + "b" << QString(1999, 'a') + QChar(0x2026);
    }
    void anzeigeKuerzen()
    {
        QFETCH(QString, text);
        QFETCH(QString, gezeigt);
        QCOMPARE(AnzeigeKuerzen(text, MeldungZeichen), gezeigt);
    }

    // A settings file this run did not read completely is kept as
    // parmc.dat.bak before the first write replaces it; later writes of the
    // same run and files read completely keep no copy.
    void parameterSicherung_data()
    {
        QTest::addColumn<QByteArray>("alt");     // "" = no file
        QTest::addColumn<bool>("gesichert");
        QTest::newRow("vollständig gelesen") << Parameter("1\nh\n70\n0\n") << false;
        QTest::newRow("keine Datei") << QByteArray() << false;
        QTest::newRow("Wort in Zeile 3") << Parameter("1\nh\nsiebzig\n0\n") << true;
        QTest::newRow("abgeschnitten") << Parameter("1\nh\n70\n0\n", 4) << true;
        QTest::newRow("nur CR") << Parameter("1\nh\n70\n0\n").replace('\n', '\r') << true;
        QTest::newRow("Port zu groß") << Parameter("2147483647\nh\n70\n0\n") << true;
    }
    void parameterSicherung()
    {
        QFETCH(QByteArray, alt);
        QFETCH(bool, gesichert);
        Einstellungen e;
        if (!alt.isEmpty())
            e.Work.writeData("parmc.dat", alt);
        e.Work.writeData("parmc.dat.bak", "ältere Sicherung");
        try {
            e.Bahn.LoadParameters();
        } catch (const VelmoFehler &) {
        }
        QCOMPARE(e.Bahn.SicherungFaellig(), gesichert);
        e.Zustand.ServerHost = "erste";
        e.Bahn.SaveParameters();
        e.Zustand.ServerHost = "zweite";
        e.Bahn.SaveParameters();
        QCOMPARE(Dateiinhalt(e.Pfad("parmc.dat.bak")), gesichert ? alt : QByteArray("ältere Sicherung"));
        BahnZustand gelesen;
        LiesParameterDatei(e.Pfad(), gelesen);
        QCOMPARE(gelesen.ServerHost, QByteArray("zweite"));
        QVERIFY(!e.Bahn.SicherungFaellig());
    }

    // A write that fails keeps the old settings file and names the path;
    // a copy that cannot be made stops the write as well.
    void parameterSchreibfehler_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<bool>("gelesen");
        for (bool gelesen : {true, false}) {
            const char *wie = gelesen ? "gelesen" : "nicht gelesen";
            QTest::addRow("Dateigrenze, %s", wie) << "grenze" << gelesen;
            QTest::addRow("schreibgeschützt, %s", wie) << "schreibschutz" << gelesen;
        }
        QTest::newRow("Verzeichnis fehlt") << "fehlt" << true;
    }
    void parameterSchreibfehler()
    {
        QFETCH(QString, fall);
        QFETCH(bool, gelesen);
        Einstellungen e;
        const QByteArray alt = Parameter(gelesen ? "1\nh\n70\n0\n" : "1\nh\nx\n0\n");
        if (fall == "fehlt")
            QDir(e.Work.path()).rmdir("Data");
        else
            e.Work.writeData("parmc.dat", alt);
        try {
            e.Bahn.LoadParameters();
        } catch (const VelmoFehler &) {
        }
        const QString fehler = Schreibfehler(fall, e.Work.path() + "Data", 100, [&] { e.Bahn.SaveParameters(); });
        QVERIFY2(fehler.contains(e.Work.path() + "Data/parmc.dat"), qPrintable(fehler));
        QCOMPARE(Dateiinhalt(e.Pfad()), fall == "fehlt" ? QByteArray("<fehlt>") : alt);
        QCOMPARE(QFile::exists(e.Pfad("parmc.dat.bak")), false);
    }

    void lokomotiven()
    {
        const cLocoInfo lok;
        QCOMPARE(lok.Protokoll, QByteArray("M1"));
        QCOMPARE(lok.Lokname, QByteArray("Lok"));
        QCOMPARE(lok.Adresse, 0);
        QCOMPARE(lok.Richtung, -1);
        QCOMPARE(lok.Vmax + lok.Geschwindigkeit + lok.Funktion0 + lok.Funktionsanzahl + lok.Initialisiert
                     + lok.InitFunktionsanzahl + lok.Fahrstufen, 0);
        QCOMPARE(LokTabelle().size(), std::size_t(40));

        const QList<std::pair<int, QString>> symbole = {
            {1, "func_off.bmp"}, {11, "func_on.bmp"}, {2, "hupe_aus.bmp"}, {12, "hupe_ein.bmp"},
            {3, "kupplung_aus.bmp"}, {13, "kupplung_ein.bmp"}, {4, "wagenlicht_aus.bmp"},
            {14, "wagenlicht_ein.bmp"}, {5, "licht_aus.bmp"}, {15, "licht_ein.bmp"}, {6, "dampf_aus.bmp"},
            {16, "dampf_ein.bmp"}, {7, "pfeil_dop.bmp"}, {17, "pfeil_dop.bmp"}};
        for (const auto &[code, datei] : symbole) {
            QCOMPARE(SymbolDatei(code), datei);
            QVERIFY2(QFile::exists(builtDataDir() + '/' + datei), qPrintable(datei));
        }
        for (int code : {0, 8, 9, 10, 18, -1})
            QVERIFY(SymbolDatei(code).isEmpty());
    }

    // Runs last: once the application quits, no event loop runs again in
    // this process. A pause then ends at once instead of spinning.
    void pauseEndetBeimBeenden()
    {
        QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
        Pause(100);
        QElapsedTimer uhr;
        uhr.start();
        timespec vorher {}, nachher {};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &vorher);
        Pause(2000);
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &nachher);
        QVERIFY(uhr.elapsed() < 500);
        QVERIFY((nachher.tv_sec - vorher.tv_sec) * 1000 + (nachher.tv_nsec - vorher.tv_nsec) / 1000000 < 100);
    }
};

QTEST_GUILESS_MAIN(TestKern)
#include "test_kern.moc"
