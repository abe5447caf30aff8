// The printed plan: the lines of the wiring sheet of a known plan, and the
// pages that "Als PDF exportieren" writes and "Drucken" prints.
#include "Velmo/TForm1.h"
#include "fahrunit/FahrstrassenDatei.h"
#include "position/PlanDatei.h"
#include "position/Schaltplan.h"
#include "scripteddialoge.h"
#include "testwork.h"

#include <QAction>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

namespace {

// A cell at column and row (1-based) with d = {Dekoder1, Adresse1, ..., Adresse3}; element 0 is a hole.
C_Position Zelle(int element, int spalte, int zeile, const QByteArray &protokoll = {}, std::array<int, 6> d = {},
                 int fahrstrasse = 0)
{
    return {element, element, 27 * (spalte - 1), 27 * (zeile - 1), 1, d[0], d[2], d[4], d[1], d[3], d[5],
            fahrstrasse, protokoll};
}

// Route 5 with three entries.
const FahrTabelle Routen = [] { FahrTabelle r {}; r[5] = {{{3}, {54, 27, 12}, {945, 648, 13}, {0, 0, 11}}}; return r; }();

// The sheet's lines, fields joined by "|" as here, or by one blank without
// the empty ones, as pdftotext shows them.
using Faelle = QList<std::tuple<const char *, QList<C_Position>, QStringList>>;
const Faelle Tabelle = {
    {"Weiche DCC", {Zelle(7, 3, 2, "N", {3, 1, 3, 2})},
     {"3|2|Weiche (7)|DCC|1 gerade|3|1|GA 13|0", "||||2 abzweigend|3|2|GA 13|1"}},
    {"Weiche Motorola, Stellung 2 ohne Dekoder", {Zelle(6, 1, 1, "M", {4, 3})},
     {"1|1|Weiche (6)|Motorola|1 gerade|4|3|GA 18|0", "||||2 abzweigend|0|0|nicht belegt|"}},
    {"Dreiwegweiche, n ist DCC", {Zelle(10, 36, 25, "n", {10, 8, 1, 0, 2, 7})},
     {"36|25|Dreiwegweiche (10)|DCC|1 gerade|10|8|GA 44|1", "||||2 links|1|0|GA 4|1", "||||3 rechts|2|7|GA 12|0"}},
    {"Signal, NB ist Motorola", {Zelle(15, 4, 1, "NB", {2, 1, 2, 2})},
     {"4|1|Signal (15)|Motorola|1 Halt|2|1|GA 9|0", "||||2 Fahrt|2|2|GA 9|1"}},
    {"Rückmeldekontakt", {Zelle(65, 5, 3, "", {2, 3})}, {"5|3|Rückmeldekontakt (65)||Rückmeldung|2|3|FB 19|"}},
    {"Rückmeldekontakt 16", {Zelle(87, 5, 4, "", {2, 16})}, {"5|4|Rückmeldekontakt (87)||Rückmeldung|2|16|FB 32|"}},
    {"Rückmeldekontakt ohne Kontakt", {Zelle(87, 5, 5, "", {1, 0})},
     {"5|5|Rückmeldekontakt (87)||Rückmeldung|1|0|nicht belegt|"}},
    {"Fahrstrassentaste", {Zelle(66, 6, 1, "", {}, 5)},
     {"6|1|Fahrstrassentaste (66)||Fahrstrasse 5||||", "||||Eintrag 1: Spalte 3, Zeile 2, Stellung 2||||",
      "||||Eintrag 2: Spalte 36, Zeile 25, Stellung 3||||", "||||Eintrag 3: Spalte 1, Zeile 1, Stellung 1||||"}},
    {"Taste ohne Fahrstrasse", {Zelle(88, 6, 2)}, {"6|2|Fahrstrassentaste (88)||Fahrstrasse 0 gibt es nicht||||"}},
    {"Entkupplungsgleis ohne Dekoder", {Zelle(20, 7, 1)}, {"7|1|Entkupplungsgleis (20)|Motorola|1|0|0|nicht belegt|"}},
    {"Gerade mit Dekoder", {Zelle(1, 8, 1, "M", {5, 4})}, {"8|1|Gerade (1)|Motorola|1|5|4|GA 22|1"}},
    {"Gerade ohne Dekoder", {Zelle(1, 8, 2)}, {}},
    {"Loch", {Zelle(0, 1, 1)}, {}},
    {"Spalte vor Zeile", {Zelle(1, 11, 3, "M", {1, 1}), Zelle(1, 11, 1, "M", {1, 1}), Zelle(1, 10, 4, "M", {1, 1})},
     {"10|4|Gerade (1)|Motorola|1|1|1|GA 5|0", "11|1|Gerade (1)|Motorola|1|1|1|GA 5|0",
      "11|3|Gerade (1)|Motorola|1|1|1|GA 5|0"}},
};

// The cells in slots 1 on; `gross` adds every case (each on a place of its own) and fills 10000
// slots with every element in turn on the 900 places, wired, route buttons on route 5.
CPlanZellen Plan(QList<C_Position> zellen, bool gross = false)
{
    for (const auto &[name, fall, zeilen] : gross ? Tabelle : Faelle {})
        zellen += fall;
    for (int i = 0, n = MaxPositionen - int(zellen.size()); gross && i < n; ++i)
        zellen.append(Zelle(i % 88 + 1, i % 36 + 1, i / 36 % 25 + 1, "M", {i % 100 + 1, 1, 2, 2, 3, 3}, 5));
    CPlanZellen plan;
    for (int i = 0; i < int(zellen.size()); ++i)
        plan.Positionen[i + 1] = zellen[i];
    plan.PosAnzahl = int(zellen.size());
    return plan;
}

QStringList Zeilen(const CPlanZellen &plan, QChar trenner)
{
    CKatalog katalog;
    LiesKatalogDatei(builtDataDir() + "/Elemente1.dat", katalog.Elemente);
    QStringList zeilen;
    for (const SchaltplanZeile &zeile : Schaltplan(plan, katalog, Routen)) {
        QStringList felder(zeile.begin(), zeile.end());
        zeilen.append((trenner == ' ' ? felder.filter(QRegularExpression(".")) : felder).join(trenner));
    }
    return zeilen;
}

} // namespace

class TestDrucken : public QObject
{
    Q_OBJECT
private slots:
    void verdrahtung_data()
    {
        QTest::addColumn<QList<C_Position>>("zellen");
        QTest::addColumn<QStringList>("zeilen");
        for (const auto &[name, zellen, zeilen] : Tabelle)
            QTest::newRow(name) << zellen << zeilen;
    }
    void verdrahtung()
    {
        QFETCH(QList<C_Position>, zellen);
        QTEST(Zeilen(Plan(zellen), '|'), "zeilen");
    }

    // Both commands give the plan, then every line of the sheet as often as
    // the sheet has it, in seconds also for 10000 cells.
    void seiten_data()
    {
        QTest::addColumn<bool>("gross");
        QTest::addColumn<bool>("drucken");
        QTest::addColumn<QString>("antwort"); // of the file or print dialog
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("ppi"); // of the plan's picture on the page
        QTest::newRow("Als PDF exportieren") << false << false << "blatt" << "blatt.pdf" << "300";
        QTest::newRow("Drucken") << false << true << "gedruckt.pdf" << "gedruckt.pdf" << "369";
        QTest::newRow("10000 Zellen") << true << false << "plan.pdf" << "plan.pdf" << "300";
    }
    void seiten()
    {
        QFETCH(bool, gross);
        QFETCH(bool, drucken);
        QFETCH(QString, antwort);
        QFETCH(QString, datei);
        TestWorkDir work;
        TestFenster f(work.path());
        SchreibePlanDatei(work.path() + "plan.pln", Plan({}, gross));
        SchreibeFahrstrassenDatei(work.path() + "plan.fst", Routen);
        f->PlanOeffnen(work.path() + "plan.pln");
        f.Dialogs->FileAnswers = {work.path() + antwort};
        QElapsedTimer uhr;
        uhr.start();
        (drucken ? f->Drucken1 : f->PdfExportieren1)->trigger();
        qInfo("%d Zellen: %lld ms", f->Dokument.Zellen.PosAnzahl, uhr.elapsed());
        QVERIFY(uhr.elapsed() < 60000);
        // The dialog's title and where it starts: the plan's folder and name.
        QCOMPARE(f.Dialogs->DateiDialoge.last(),
                 drucken ? "Drucken|plan.pln" : "Als PDF exportieren|" + work.path() + "plan.pdf");
        const QByteArray pdf = Dateiinhalt(work.path() + datei);
        const int seiten = int(QString::fromLatin1(pdf).count(QRegularExpression("/Type\\s*/Page\\b(?!s)")));
        QVERIFY(pdf.startsWith("%PDF-") && (gross ? seiten > 2 : seiten == 2));

        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", work.path() + datei, "-"});
        if (!pdftotext.waitForFinished(60000))
            QSKIP("pdftotext (poppler-utils) fehlt");
        QHash<QString, int> erwartet {{"Gleisbild plan.pln", 1},
                                      {QStringLiteral("Verdrahtung plan.pln – nach Spalte, dann Zeile geordnet "
                                                      "Seite %1 von %1").arg(seiten), 1}};
        for (const QString &zeile : Zeilen(Plan({}, gross), ' '))
            ++erwartet[zeile];
        // The column headings head every page of the sheet.
        erwartet["Spalte Zeile Element Protokoll Stellung Dekoder/Modul Ausgang/Kontakt SRCP-Adresse Port"] = seiten - 1;
        QHash<QString, int> gedruckt;
        for (const QString &zeile : QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\n'))
            if (erwartet.contains(zeile.simplified()))
                ++gedruckt[zeile.simplified()];
        QCOMPARE(gedruckt, erwartet);

        // The plan goes onto the page enlarged to about 300 pixels per inch
        // (369 at the printer's 1200 dots per inch), so that no viewer
        // smooths its edges.
        QProcess bilder;
        bilder.start("pdfimages", {"-list", work.path() + datei});
        QVERIFY(bilder.waitForFinished(60000));
        const QStringList spalten = QString::fromUtf8(bilder.readAllStandardOutput()).split('\n').value(2).simplified().split(' ');
        QFETCH(QString, ppi);
        QCOMPARE(spalten.mid(12, 2), (QStringList {ppi, ppi}));
    }
};

QTEST_MAIN(TestDrucken)
#include "test_drucken.moc"
