// Operating mode and route editing through the main window: presses on the
// plan against a scripted server (exact bytes, shortened pulse), route
// buttons setting routes, the route page control, and the route file.
#include "Velmo/TFahrstrassenSeiten.h"
#include "Velmo/TStatusLeiste.h"
#include "regler/TReglerPanel.h"
#include "elemente/Bilder.h"
#include "fahrunit/FahrstrassenDatei.h"
#include "anlage.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int Impuls = 100;

// A window in operating mode on a saved plan, connected to a scripted
// server under SRCP 0.73 or 0.80.
struct Betriebsanlage : Anlage
{
    using Anlage::Anlage;
    // A cell with decoder rows (3, 1), (3, 2), (3, 3) and the protocol.
    void Zelle(QPoint p, int element, int zustand = 1, const QByteArray &protokoll = "M", int dekoder = 3)
    {
        F->NeuePosition(p.x(), p.y(), element);
        C_Position &z = F->Positionen[F->PosAnzahl];
        z.Zustand = zustand;
        z.Dekoder1 = z.Dekoder2 = z.Dekoder3 = dekoder;
        z.Adresse1 = 1;
        z.Adresse2 = 2;
        z.Adresse3 = 3;
        z.Protokoll = protokoll;
        F->ZeichneElement(zustand, p.x(), p.y(), element);
    }
    void Druck(QPoint p, Qt::MouseButton taste = Qt::LeftButton) { F->VelmoMouseDown(taste, {}, p.x(), p.y()); }
    bool Zeigt(QPoint p, int element, int wert)
    {
        QImage bild;
        LadeBild(Work.dataPath(IconName(element, wert)), bild);
        return F->PlanBitmap.copy(p.x(), p.y(), 27, 27) == bild.copy(0, 0, 27, 27);
    }
    QString Status() const { return F->StatusBar1->Text(1); }
};

const QPoint A {27, 27}, B {54, 27}, C {81, 27}, T {27, 81};

} // namespace

class TestBetrieb : public QObject
{
    Q_OBJECT
private slots:
    // One press in operating mode: the lines sent, the icon shown halfway
    // through the first pulse, the icon and position at the end.
    void schalten_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("zustand");
        QTest::addColumn<QByteArray>("protokoll");
        QTest::addColumn<int>("dekoder");
        QTest::addColumn<QByteArrayList>("zeilen");
        QTest::addColumn<int>("zwischen"); // icon halfway through the first pulse; 0: no pulse
        QTest::addColumn<int>("ende");
        const QByteArrayList zeile1 {"SET GA M 13 0 1 -1", "SET GA M 13 0 0 -1"};
        const QByteArrayList zeile2 {"SET GA M 13 1 1 -1", "SET GA M 13 1 0 -1"};
        const QByteArrayList zeile3 {"SET GA M 14 0 1 -1", "SET GA M 14 0 0 -1"};
        QTest::newRow("Weiche 1 -> 2") << 70 << 6 << 1 << QByteArray("M") << 3 << zeile2 << 1 << 2;
        QTest::newRow("Weiche 2 -> 1") << 70 << 6 << 2 << QByteArray("M") << 3 << zeile1 << 2 << 1;
        QTest::newRow("Dreiweg 1 -> 2") << 70 << 10 << 1 << QByteArray("M") << 3 << zeile2 << 1 << 2;
        QTest::newRow("Dreiweg 2 -> 3") << 70 << 10 << 2 << QByteArray("M") << 3 << zeile1 + zeile3 << 1 << 3;
        QTest::newRow("Dreiweg 3 -> 1") << 70 << 10 << 3 << QByteArray("M") << 3 << zeile1 << 3 << 1;
        QTest::newRow("eine Stellung") << 70 << 1 << 2 << QByteArray("M") << 3 << zeile1 << 2 << 2;
        QTest::newRow("Entkuppler") << 70 << 20 << 1 << QByteArray("M") << 3 << zeile1 << 1 << 1;
        QTest::newRow("DCC unter 0.80")
            << 80 << 6 << 1 << QByteArray("N") << 3
            << QByteArrayList {"INIT 2 GA 13 N", "SET 2 GA 13 1 1 -1", "SET 2 GA 13 1 0 -1"} << 1 << 2;
        QTest::newRow("ohne Dekoder") << 70 << 6 << 1 << QByteArray("M") << 0 << QByteArrayList() << 0 << 2;
        QTest::newRow("Zustand 0") << 70 << 6 << 0 << QByteArray("M") << 3 << QByteArrayList() << 0 << 0;
        QTest::newRow("Rueckmeldekontakt") << 70 << 65 << 1 << QByteArray("M") << 3 << QByteArrayList() << 0 << 1;
    }
    void schalten()
    {
        QFETCH(int, version);
        QFETCH(int, element);
        QFETCH(int, zustand);
        QFETCH(QByteArray, protokoll);
        QFETCH(int, dekoder);
        QFETCH(QByteArrayList, zeilen);
        QFETCH(int, zwischen);
        QFETCH(int, ende);
        Betriebsanlage a(version);
        a.Zelle(A, element, zustand, protokoll, dekoder);
        a.F->Betrieb1Click();
        QVERIFY(a.Verbunden());
        const qsizetype seit = a.Server.Zeilen.size();
        a.F->AktuelleFahrstrasse = 4;
        bool zwischenbild = false;
        // Bound to the window: a timer left over after a press without pulse goes with it.
        QTimer::singleShot(Impuls / 2, a.F.Form.get(), [&] { zwischenbild = a.Zeigt(A, element, zwischen); });
        a.Druck(A);
        QCOMPARE(a.Zeilen(seit, zeilen.size()), zeilen);
        if (zwischen > 0)
            QVERIFY(zwischenbild);
        QCOMPARE(a.F->Positionen[1].Zustand, ende);
        QVERIFY(a.Zeigt(A, element, ende));
        QCOMPARE(a.F->AktuelleFahrstrasse, 0);
    }

    // A second press during the first one's pulse sees the old position,
    // sends the same row, and both presses finish their own steps.
    void druckWaehrendImpuls()
    {
        Betriebsanlage a;
        a.Zelle(A, 6);
        a.F->Betrieb1Click();
        a.F->Bahn->Schaltimpuls = 300;
        QVERIFY(a.Verbunden());
        const qsizetype seit = a.Server.Zeilen.size();
        QTimer::singleShot(100, a.F.Form.get(), [&] { a.Druck(A); });
        a.Druck(A);
        QCOMPARE(a.Zeilen(seit, 4), (QByteArrayList {"SET GA M 13 1 1 -1", "SET GA M 13 1 1 -1", "SET GA M 13 1 0 -1",
                                                     "SET GA M 13 1 0 -1"}));
        QCOMPARE(a.F->Positionen[1].Zustand, 2);
    }

    // A route button sets its route: every cell takes its entry's position,
    // route-marked, all "on" lines, one pulse, all "off" lines; the next
    // press shows the plain icons again. A number outside 1 to 63 sets nothing.
    void fahrstrassentaste_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("route");
        QTest::addColumn<QByteArrayList>("zeilen");
        QTest::addColumn<QString>("status");
        QTest::newRow("0.73") << 70 << 5
                              << QByteArrayList {"SET GA M 13 1 1 -1", "SET GA M 14 0 1 -1", "SET GA M 13 1 0 -1",
                                                 "SET GA M 14 0 0 -1"}
                              << QString();
        QTest::newRow("0.80") << 80 << 5
                              << QByteArrayList {"INIT 1 GA 13 M", "INIT 1 GA 14 M", "SET 1 GA 13 1 1 -1",
                                                 "SET 1 GA 14 0 1 -1", "SET 1 GA 13 1 0 -1", "SET 1 GA 14 0 0 -1"}
                              << QString();
        QTest::newRow("64") << 70 << 64 << QByteArrayList() << "Fahrstrasse 64 gibt es nicht";
        QTest::newRow("0") << 70 << 0 << QByteArrayList() << "Fahrstrasse 0 gibt es nicht";
    }
    void fahrstrassentaste()
    {
        QFETCH(int, version);
        QFETCH(int, route);
        QFETCH(QByteArrayList, zeilen);
        QFETCH(QString, status);
        Betriebsanlage a(version);
        a.Zelle(A, 6);
        a.Zelle(B, 10, 1);
        a.Zelle(C, 1);
        a.Zelle(T, 66);
        a.F->Positionen[4].Fahrstrasse = route;
        a.F->Betrieb1Click();
        FahrTabelle &tabelle = a.F->FahrstrassenTabelle;
        for (int r : {5, 63}) {
            tabelle[r][0].X = 3;
            tabelle[r][1] = {A.x(), A.y(), 12};
            tabelle[r][2] = {B.x(), B.y(), 13};
            tabelle[r][3] = {C.x(), C.y(), 11}; // a cell without decoder row for it: drawn only
        }
        a.F->Positionen[3].Dekoder1 = 0;
        QVERIFY(a.Verbunden());
        const qsizetype seit = a.Server.Zeilen.size();
        a.Druck(T);
        QCOMPARE(a.Zeilen(seit, zeilen.size()), zeilen);
        if (!status.isEmpty()) {
            QCOMPARE(a.Status(), status);
            QCOMPARE(a.F->AktuelleFahrstrasse, 0);
            QCOMPARE(a.F->Positionen[1].Zustand, 1);
            return;
        }
        QCOMPARE(a.F->AktuelleFahrstrasse, 5);
        QCOMPARE(a.F->Positionen[1].Zustand, 2);
        QCOMPARE(a.F->Positionen[2].Zustand, 3);
        QVERIFY(a.Zeigt(A, 6, 12) && a.Zeigt(B, 10, 13) && a.Zeigt(C, 1, 11));
        a.Druck(T, Qt::RightButton);
        QCOMPARE(a.F->AktuelleFahrstrasse, 0);
        QVERIFY(a.Zeigt(A, 6, 2) && a.Zeigt(B, 10, 3) && a.Zeigt(C, 1, 1));
    }

    // Route editing from its menu item to "beenden": the mode, the page
    // control, adding, stepping, changing the route number, binding a
    // route button, a full route, cancelling and deleting.
    void bearbeiten()
    {
        Betriebsanlage a;
        a.Zelle(A, 6);
        a.Zelle(B, 10);
        a.Zelle(T, 88);
        a.F->Betrieb1Click();
        a.F->AktuelleFahrstrasse = 0;
        TFahrstrassenSeiten &seiten = *a.F->PageControl1;
        auto labels = [&] { return seiten.LabelFahrerst2->text() + "/" + seiten.LabelFahrerst4->text(); };

        a.F->Fahrstrassenbearbeiten1->trigger();
        QVERIFY(a.F->FahrstrassenModus && !a.F->BetriebModus && !a.F->ElementGewaehlt);
        QVERIFY(a.F->Fahrstrassenbearbeiten1->isChecked() && !a.F->Betrieb1->isChecked());
        QVERIFY(seiten.isVisible() && seiten.currentWidget() == seiten.TabSheet1);
        QVERIFY(a.F->Regler_panel->isHidden() && a.F->Manage_panel->isHidden());
        QCOMPARE(labels(), QString("1/0"));
        QCOMPARE(seiten.LabelFahrdel2->text(), QString("1"));

        a.Druck(A);
        a.Druck(B);
        a.Druck(A);
        QCOMPARE(labels(), QString("1/1"));
        QVERIFY(a.Zeigt(A, 6, 12) && a.Zeigt(B, 10, 11));
        seiten.ButtonFahrerst_plus->click();
        QCOMPARE(labels(), QString("2/0"));
        QVERIFY(a.Zeigt(A, 6, 1) && a.Zeigt(B, 10, 1));
        a.Druck(B);
        seiten.ButtonFahrerst_minus->click();
        QCOMPARE(labels(), QString("1/2"));
        QVERIFY(a.Zeigt(A, 6, 12));

        // "verbinden": the next left press on a route button binds it; any other press cancels.
        seiten.Buttonverbinden->click();
        a.Druck(T);
        QCOMPARE(a.F->Positionen[3].Fahrstrasse, 1);
        QCOMPARE(a.Status(), QString("Fahrstrassentaste mit Fahrstrasse 1 verbunden"));
        QCOMPARE(a.F->Fahr->Anzahl(1), 2);
        seiten.Buttonverbinden->click();
        a.Druck(A, Qt::RightButton);
        a.Druck(T);
        QCOMPARE(a.F->Fahr->Anzahl(1), 2);
        QCOMPARE(a.F->FahrstrassenTabelle[1][2], (FahrEintrag {T.x(), T.y(), 11}));

        // "beenden/abbrechen" restores route 1 as it was when it was chosen again.
        seiten.Buttonfahrerst_cancel->click();
        QVERIFY(a.F->BetriebModus && seiten.isHidden());
        QCOMPARE(a.F->Fahr->Anzahl(1), 2);
        QCOMPARE(a.F->FahrstrassenTabelle[1][1], (FahrEintrag {A.x(), A.y(), 12}));
        QVERIFY(a.Zeigt(A, 6, 1));

        // A full route takes no further cell.
        a.F->Fahrstrassenbearbeiten1->trigger();
        QCOMPARE(labels(), QString("1/2"));
        a.F->FahrstrassenTabelle[1][0].X = 63;
        a.Druck(T);
        QCOMPARE(a.Status(), QString("Fahrstrasse 1 ist voll (63 Einträge)"));
        a.F->FahrstrassenTabelle[1][0].X = 2;

        // The delete page, then "beenden/speichern" keeps the table.
        seiten.setCurrentWidget(seiten.TabSheet2);
        seiten.ButtonFahrdel_plus->click();
        QCOMPARE(seiten.LabelFahrdel2->text(), QString("2"));
        seiten.ButtonFahrdel_del->click();
        QCOMPARE(a.F->Fahr->Anzahl(2), 0);
        QCOMPARE(a.F->FahrstrassenTabelle[2][1], FahrEintrag());
        seiten.ButtonFahrdel_minus->click();
        seiten.ButtonFahrdel_minus->click();
        QCOMPARE(seiten.LabelFahrdel2->text(), QString("1"));
        seiten.ButtonFahrerst_speichern->click();
        QVERIFY(a.F->BetriebModus && seiten.isHidden());
        QCOMPARE(a.F->Fahr->Anzahl(1), 2);
        QVERIFY(LiesFahrstrassenDatei(a.Work.path() + "bahnhof.fst") == a.F->FahrstrassenTabelle);

        // Another mode leaves route editing.
        a.F->Fahrstrassenbearbeiten1->trigger();
        QVERIFY(a.Zeigt(A, 6, 12));
        a.F->Gleisbildentwerfen1->trigger();
        QVERIFY(seiten.isHidden() && !a.F->FahrstrassenModus);
        QVERIFY(a.Zeigt(A, 6, 1));
    }

    // The routes are saved beside the plan and come back with it; a broken
    // route file keeps the routes in use and the plan still opens.
    void fahrstrassenDatei_data()
    {
        QTest::addColumn<QByteArray>("datei"); // empty: no route file
        QTest::addColumn<bool>("geladen");
        QTest::addColumn<QString>("fehler");
        QTest::newRow("gespeichert") << QByteArray("gespeichert") << true << QString();
        QTest::newRow("keine") << QByteArray() << false << QString();
        QTest::newRow("kaputt") << QByteArray("2\n27\n27\n12\n") << false << "Zeile 5";
    }
    void fahrstrassenDatei()
    {
        QFETCH(QByteArray, datei);
        QFETCH(bool, geladen);
        QFETCH(QString, fehler);
        Betriebsanlage a;
        a.Zelle(A, 6);
        FahrTabelle &tabelle = a.F->FahrstrassenTabelle;
        tabelle[7][0].X = 1;
        tabelle[7][1] = {A.x(), A.y(), 12};
        a.F->Speichern1Click();
        const QString routen = a.Work.path() + "bahnhof.fst";
        QVERIFY(QFile::exists(routen));
        const FahrTabelle gespeichert = tabelle;
        if (datei.isEmpty())
            QFile::remove(routen);
        else if (datei != "gespeichert")
            DateiSchreiben(routen, datei);
        tabelle[7][1].Code = 13;
        tabelle[9][0].X = 1;
        const FahrTabelle vorher = tabelle;

        a.F.Dialogs->FileAnswers = {a.Work.path() + "bahnhof.pln"};
        a.F->Oeffnen1Click();
        QCOMPARE(a.F->PosAnzahl, 1);
        QVERIFY(a.F->BetriebModus);
        QVERIFY(tabelle == (geladen ? gespeichert : vorher));
        if (fehler.isEmpty()) {
            QVERIFY(a.F.Dialogs->Meldungen.isEmpty());
        } else {
            QCOMPARE(a.F.Dialogs->Meldungen.size(), 1);
            QVERIFY(a.F.Dialogs->Meldungen[0].Text.contains(fehler) && a.F.Dialogs->Meldungen[0].Text.contains(routen));
        }
    }
};

QTEST_MAIN(TestBetrieb)
#include "test_betrieb.moc"
