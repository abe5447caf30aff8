// Operating mode and route editing through the main window: presses on the
// plan against a scripted server (exact bytes, shortened pulse), route
// buttons setting routes, the route page control, and the route file.
#include "Velmo/TBildFlaeche.h"
#include "Velmo/TDekoderPanel.h"
#include "Velmo/TFahrstrassenSeiten.h"
#include "Velmo/TStatusLeiste.h"
#include "regler/TReglerPanel.h"
#include "elemente/Bilder.h"
#include "fahrunit/FahrstrassenDatei.h"
#include "hilfen/fehler.h"
#include "position/PlanDatei.h"
#include "anlage.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
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
        F->Dokument.Zellen.NeuePosition(p.x(), p.y(), element);
        C_Position &z = F->Dokument.Zellen.Positionen[F->Dokument.Zellen.PosAnzahl];
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

const QPoint A {27, 27}, B {54, 27}, C {81, 27}, T {27, 81}, D {108, 27}, E {135, 27};

// The pulses the server saw: for every "on" line (value 1) the time until
// the next "off" line of the same address and port; -1 when none came.
QList<qint64> Impulsdauern(const SkriptServer &server)
{
    QList<qint64> dauern;
    for (qsizetype i = 0; i < server.Zeilen.size(); ++i) {
        const QByteArray &zeile = server.Zeilen[i];
        if (!zeile.endsWith(" 1 -1"))
            continue;
        const QByteArray aus = zeile.left(zeile.size() - 5) + " 0 -1";
        const qsizetype j = server.Zeilen.indexOf(aus, i + 1);
        dauern.append(j < 0 ? -1 : server.Ankunft[j] - server.Ankunft[i]);
    }
    return dauern;
}

// A nested event loop of `ms`, as a modal dialog runs one.
void DialogOffen(int ms)
{
    QEventLoop schleife;
    QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
    schleife.exec();
}

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
        QTest::addColumn<QString>("hinweis"); // the left panel afterwards; a press that sends clears it
        const QByteArrayList zeile1 {"SET GA M 13 0 1 -1", "SET GA M 13 0 0 -1"};
        const QByteArrayList zeile2 {"SET GA M 13 1 1 -1", "SET GA M 13 1 0 -1"};
        const QByteArrayList zeile3 {"SET GA M 14 0 1 -1", "SET GA M 14 0 0 -1"};
        QTest::newRow("Weiche 1 -> 2") << 70 << 6 << 1 << QByteArray("M") << 3 << zeile2 << 1 << 2 << "";
        QTest::newRow("Weiche 2 -> 1") << 70 << 6 << 2 << QByteArray("M") << 3 << zeile1 << 2 << 1 << "";
        QTest::newRow("Dreiweg 1 -> 2") << 70 << 10 << 1 << QByteArray("M") << 3 << zeile2 << 1 << 2 << "";
        QTest::newRow("Dreiweg 2 -> 3") << 70 << 10 << 2 << QByteArray("M") << 3 << zeile1 + zeile3 << 1 << 3 << "";
        QTest::newRow("Dreiweg 3 -> 1") << 70 << 10 << 3 << QByteArray("M") << 3 << zeile1 << 3 << 1 << "";
        QTest::newRow("eine Stellung") << 70 << 1 << 2 << QByteArray("M") << 3 << zeile1 << 2 << 2 << "";
        QTest::newRow("Entkuppler") << 70 << 20 << 1 << QByteArray("M") << 3 << zeile1 << 1 << 1 << "";
        QTest::newRow("DCC unter 0.80")
            << 80 << 6 << 1 << QByteArray("N") << 3
            << QByteArrayList {"INIT 2 GA 13 N", "SET 2 GA 13 1 1 -1", "SET 2 GA 13 1 0 -1"} << 1 << 2 << "";
        QTest::newRow("ohne Dekoder") << 70 << 6 << 1 << QByteArray("M") << 0 << QByteArrayList() << 0 << 2
                                      << "Kein Dekoder: nichts gesendet";
        QTest::newRow("nicht verbunden") << 0 << 6 << 1 << QByteArray("M") << 3 << QByteArrayList() << 0 << 2
                                         << "Nicht verbunden: nichts gesendet";
        QTest::newRow("Zustand 0") << 70 << 6 << 0 << QByteArray("M") << 3 << QByteArrayList() << 0 << 0
                                   << "Stellung 0 gibt es nicht: nichts gesendet";
        // A hand-edited file: a two-position turnout in position 3 keeps it and pulses nothing.
        QTest::newRow("Weiche in Stellung 3") << 70 << 6 << 3 << QByteArray("M") << 3 << QByteArrayList() << 0 << 3
                                              << "Stellung 3 gibt es nicht: nichts gesendet";
        QTest::newRow("Rueckmeldekontakt") << 70 << 65 << 1 << QByteArray("M") << 3 << QByteArrayList() << 0 << 1
                                           << "alt";
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
        QFETCH(QString, hinweis);
        Betriebsanlage a(version == 0 ? 70 : version); // 0: not connected
        a.Zelle(A, element, zustand, protokoll, dekoder);
        a.F->Betrieb1Click();
        if (version > 0)
            QVERIFY(a.Verbunden());
        a.F->StatusBar1->SetzeText(0, "alt");
        const qsizetype seit = a.Server.Zeilen.size();
        a.F->AktuelleFahrstrasse = 4;
        bool zwischenbild = false;
        // Bound to the window: a timer left over after a press without pulse goes with it.
        QTimer::singleShot(Impuls / 2, a.F.Form.get(), [&] { zwischenbild = a.Zeigt(A, element, zwischen); });
        a.Druck(A);
        QCOMPARE(a.Zeilen(seit, zeilen.size()), zeilen);
        if (zwischen > 0)
            QVERIFY(zwischenbild);
        QCOMPARE(a.F->Dokument.Zellen.Positionen[1].Zustand, ende);
        QVERIFY(a.Zeigt(A, element, ende));
        QCOMPARE(a.F->AktuelleFahrstrasse, 0);
        QCOMPARE(a.F->StatusBar1->Text(0), hinweis);
        // A position switched in operation is a change of the plan, which "Neu" asks about.
        a.F.Dialogs->FrageAntworten = {Dialoge::Antwort::Abbrechen};
        a.F->Neu1Click();
        QCOMPARE(a.F.Dialogs->Fragen.size(), ende != zustand ? 1 : 0);
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
        QCOMPARE(a.F->Dokument.Zellen.Positionen[1].Zustand, 2);
    }

    // Every pulse keeps its own time: each output goes off one pulse time
    // after its own "on", whatever is pressed, set, loaded or open meanwhile,
    // measured on the server's clock. The actions run at the given times (in
    // thirds of a pulse): a cell pressed, the route button, a dialog open
    // for one and a half pulses, a plan with three wired cells opened.
    void impulsZeiten_data()
    {
        QTest::addColumn<QStringList>("ablauf"); // "<thirds> <A|B|C|T|Dialog|Laden>"
        QTest::addColumn<int>("impulse");
        QTest::newRow("drei Weichen") << QStringList {"0 A", "1 B", "2 C"} << 3;
        QTest::newRow("Weichen und Fahrstrasse") << QStringList {"0 A", "1 T", "2 B"} << 4;
        QTest::newRow("Dialog offen") << QStringList {"0 A", "1 Dialog", "2 B", "4 C"} << 3;
        QTest::newRow("Laden mit Dialog") << QStringList {"0 Laden", "2 Dialog"} << 3;
    }
    void impulsZeiten()
    {
        QFETCH(QStringList, ablauf);
        QFETCH(int, impulse);
        constexpr int impuls = 600, toleranz = 200;
        Betriebsanlage a(70, impuls);
        a.Zelle(A, 6, 1, "M", 3);
        a.Zelle(B, 6, 1, "M", 4);
        a.Zelle(C, 6, 1, "M", 5);
        a.Zelle(D, 6, 1, "M", 6);
        a.Zelle(E, 6, 1, "M", 7);
        a.Zelle(T, 66);
        a.F->Dokument.Zellen.Positionen[a.F->Dokument.Zellen.PosAnzahl].Fahrstrasse = 5;
        FahrTabelle &tabelle = a.F->Dokument.FahrstrassenTabelle;
        tabelle[5][0].X = 2;
        tabelle[5][1] = {D.x(), D.y(), 12};
        tabelle[5][2] = {E.x(), E.y(), 12};
        CPlanZellen geladen;
        for (int i = 1; i <= 3; ++i) {
            geladen.NeuePosition(27 * i, 135, 6);
            geladen.Positionen[i].Zustand = 2;
            geladen.Positionen[i].Dekoder2 = 10 + i;
            geladen.Positionen[i].Adresse2 = 2;
        }
        SchreibePlanDatei(a.Work.path() + "geladen.pln", geladen);
        a.F->Betrieb1Click();
        QVERIFY(a.Verbunden());
        a.Server.Zeilen.clear();
        a.Server.Ankunft.clear();
        for (const QString &schritt : ablauf) {
            const QStringList teile = schritt.split(' ');
            const QString was = teile[1];
            QTimer::singleShot(teile[0].toInt() * impuls / 3, a.F.Form.get(), [&a, was] {
                if (was == "Dialog") {
                    DialogOffen(impuls * 3 / 2);
                } else if (was == "Laden") {
                    a.F.Dialogs->FileAnswers = {a.Work.path() + "geladen.pln"};
                    a.F->Oeffnen1Click();
                } else {
                    a.Druck(was == "A" ? A : was == "B" ? B : was == "C" ? C : T);
                }
            });
        }
        QTRY_COMPARE_WITH_TIMEOUT(a.Server.Zeilen.size(), 2 * impulse, 10000);
        QTest::qWait(impuls);
        const QList<qint64> dauern = Impulsdauern(a.Server);
        QCOMPARE(dauern.size(), impulse);
        for (qint64 dauer : dauern)
            QVERIFY2(qAbs(dauer - impuls) <= toleranz, qPrintable(QString::number(dauer)));
    }

    // Before the connection goes or the plan is left, every running pulse
    // sends its "off" at once, and its later steps touch only its own plan;
    // a server that went away leaves the count of outputs that may be on.
    void vorAbbruch_data()
    {
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<int>("aus");      // "off" lines that reach the server
        QTest::addColumn<QString>("links"); // the left panel afterwards
        QTest::newRow("Host trennen") << "Host trennen" << 1 << "";
        QTest::newRow("Neu") << "Neu" << 1 << "";
        QTest::newRow("Oeffnen") << "Oeffnen" << 1 << "";
        QTest::newRow("Fenster schliessen") << "schliessen" << 1 << "";
        QTest::newRow("Entwurf") << "Entwurf" << 1 << "";
        QTest::newRow("Laden abbrechen") << "Abbrechen" << 1 << "";
        QTest::newRow("Server weg") << "Server weg" << 0
                                    << "Verbindung zum Server verloren, 1 Ausgang kann noch eingeschaltet sein";
        QTest::newRow("Server weg, zwei Weichen") << "Server weg, zwei" << 0
                                                  << "Verbindung zum Server verloren, 2 Ausgänge können noch eingeschaltet sein";
    }
    void vorAbbruch()
    {
        QFETCH(QString, aktion);
        QFETCH(int, aus);
        QFETCH(QString, links);
        constexpr int impuls = 3000;
        Betriebsanlage a(70, impuls);
        const bool zwei = aktion.endsWith(", zwei");
        a.Zelle(A, 6);
        if (zwei)
            a.Zelle(B, 6, 1, "M", 4);
        a.F->Seite.AutomatischNeuVerbinden = false;
        CPlanZellen anderer;
        anderer.NeuePosition(A.x(), A.y(), 10);
        for (int i = 2; i <= 3; ++i) {
            anderer.NeuePosition(27 * i, 27, 6);
            anderer.Positionen[i].Zustand = 2;
            anderer.Positionen[i].Dekoder2 = 8;
            anderer.Positionen[i].Adresse2 = i;
        }
        SchreibePlanDatei(a.Work.path() + "anderer.pln", anderer);
        a.F->Betrieb1Click();
        QVERIFY(a.Verbunden());
        const qsizetype seit = a.Server.Zeilen.size();
        a.F.Dialogs->FileAnswers = {a.Work.path() + "anderer.pln", a.Work.path() + "neu"};
        a.F.Dialogs->FrageAntworten = {Dialoge::Antwort::Nein};
        if (aktion == "Abbrechen")
            a.F->Oeffnen1Click();
        else
            a.Druck(A);
        if (zwei)
            a.Druck(B);
        QTest::qWait(300);
        QElapsedTimer uhr;
        uhr.start();
        if (aktion == "Host trennen")
            a.F->Hosttrennen1Click();
        else if (aktion == "Neu")
            a.F->Neu1Click();
        else if (aktion == "Oeffnen")
            a.F->Oeffnen1Click();
        else if (aktion == "schliessen")
            QVERIFY(!a.F->close());
        else if (aktion == "Entwurf")
            a.F->Gleisbildentwerfen1Click();
        else if (aktion == "Abbrechen")
            a.F->Laden_Abbrechen->click();
        else
            a.Server.trennen();
        const auto ausZeilen = [&] {
            const QByteArrayList neu = a.Server.Zeilen.mid(seit);
            return std::count_if(neu.begin(), neu.end(), [](const QByteArray &z) { return z.endsWith(" 0 -1"); });
        };
        QTRY_COMPARE(ausZeilen(), aus);
        QVERIFY(uhr.elapsed() < impuls / 2);
        QTRY_COMPARE(a.F->StatusBar1->Text(0), links);
        if (aktion == "Oeffnen") {
            // The press's later steps stayed with the plan it was made on.
            QCOMPARE(a.F->Dokument.Zellen.Positionen[1].Zustand, 1);
            QVERIFY(a.Zeigt(A, 10, 1));
        } else if (aktion == "Abbrechen") {
            // The rest is drawn but not sent, and the plan is open.
            QTRY_VERIFY(a.F->BetriebModus && a.F->Neu1->isEnabled() && a.F->Velmo->isEnabled());
            QVERIFY(a.Zeigt({54, 27}, 6, 2) && a.Zeigt({81, 27}, 6, 2));
            QTest::qWait(impuls / 3);
            QCOMPARE(a.Server.Zeilen.mid(seit), (QByteArrayList {"SET GA M 33 1 1 -1", "SET GA M 33 1 0 -1"}));
        } else if (aktion != "Neu") {
            QVERIFY(a.Zeigt(A, 6, 2));
        }
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
        a.F->Dokument.Zellen.Positionen[4].Fahrstrasse = route;
        a.F->Betrieb1Click();
        FahrTabelle &tabelle = a.F->Dokument.FahrstrassenTabelle;
        for (int r : {5, 63}) {
            tabelle[r][0].X = 3;
            tabelle[r][1] = {A.x(), A.y(), 12};
            tabelle[r][2] = {B.x(), B.y(), 13};
            tabelle[r][3] = {C.x(), C.y(), 11}; // a cell without decoder row for it: drawn only
        }
        a.F->Dokument.Zellen.Positionen[3].Dekoder1 = 0;
        QVERIFY(a.Verbunden());
        const qsizetype seit = a.Server.Zeilen.size();
        a.Druck(T);
        QCOMPARE(a.Zeilen(seit, zeilen.size()), zeilen);
        if (!status.isEmpty()) {
            QCOMPARE(a.Status(), status);
            QCOMPARE(a.F->AktuelleFahrstrasse, 0);
            QCOMPARE(a.F->Dokument.Zellen.Positionen[1].Zustand, 1);
            return;
        }
        QCOMPARE(a.F->AktuelleFahrstrasse, 5);
        QCOMPARE(a.F->Dokument.Zellen.Positionen[1].Zustand, 2);
        QCOMPARE(a.F->Dokument.Zellen.Positionen[2].Zustand, 3);
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
        QCOMPARE(a.F->Dokument.Zellen.Positionen[3].Fahrstrasse, 1);
        QCOMPARE(a.Status(), QString("Fahrstrassentaste mit Fahrstrasse 1 verbunden"));
        QCOMPARE(a.F->Fahr->Anzahl(1), 2);
        seiten.Buttonverbinden->click();
        a.Druck(A, Qt::RightButton);
        a.Druck(T);
        QCOMPARE(a.F->Fahr->Anzahl(1), 2);
        QCOMPARE(a.F->Dokument.FahrstrassenTabelle[1][2], (FahrEintrag {T.x(), T.y(), 11}));

        // "beenden/abbrechen" restores route 1 as it was when it was chosen again.
        seiten.Buttonfahrerst_cancel->click();
        QVERIFY(a.F->BetriebModus && seiten.isHidden());
        QCOMPARE(a.F->Fahr->Anzahl(1), 2);
        QCOMPARE(a.F->Dokument.FahrstrassenTabelle[1][1], (FahrEintrag {A.x(), A.y(), 12}));
        QVERIFY(a.Zeigt(A, 6, 1));

        // A full route takes no further cell.
        a.F->Fahrstrassenbearbeiten1->trigger();
        QCOMPARE(labels(), QString("1/2"));
        a.F->Dokument.FahrstrassenTabelle[1][0].X = 63;
        a.Druck(T);
        QCOMPARE(a.Status(), QString("Fahrstrasse 1 ist voll (63 Einträge)"));
        a.F->Dokument.FahrstrassenTabelle[1][0].X = 2;

        // The delete page, then "beenden/speichern" keeps the table.
        seiten.setCurrentWidget(seiten.TabSheet2);
        seiten.ButtonFahrdel_plus->click();
        QCOMPARE(seiten.LabelFahrdel2->text(), QString("2"));
        seiten.ButtonFahrdel_del->click();
        QCOMPARE(a.F->Fahr->Anzahl(2), 0);
        QCOMPARE(a.F->Dokument.FahrstrassenTabelle[2][1], FahrEintrag());
        seiten.ButtonFahrdel_minus->click();
        seiten.ButtonFahrdel_minus->click();
        QCOMPARE(seiten.LabelFahrdel2->text(), QString("1"));
        seiten.ButtonFahrerst_speichern->click();
        QVERIFY(a.F->BetriebModus && seiten.isHidden());
        QCOMPARE(a.F->Fahr->Anzahl(1), 2);
        QVERIFY(LiesFahrstrassenDatei(a.Work.path() + "bahnhof.fst") == a.F->Dokument.FahrstrassenTabelle);

        // Another mode leaves route editing.
        a.F->Fahrstrassenbearbeiten1->trigger();
        QVERIFY(a.Zeigt(A, 6, 12));
        a.F->Gleisbildentwerfen1->trigger();
        QVERIFY(seiten.isHidden() && !a.F->FahrstrassenModus);
        QVERIFY(a.Zeigt(A, 6, 1));
    }

    // A hand-edited Nummer is no index of its cell: whatever it is, the
    // presses of every mode act on the cell pressed.
    void fremdeNummern_data()
    {
        QTest::addColumn<int>("slot"); // of the cell in plaene/fremde_nummern.pln
        int slot = 2;
        for (const char *nummer : {"5000000", "-1", "10001", "0", "die der ersten Zelle"})
            QTest::newRow(nummer) << slot++;
    }
    void fremdeNummern()
    {
        QFETCH(int, slot);
        Betriebsanlage a;
        const QString plan = a.Work.path() + "fremd.pln";
        QVERIFY(QFile::copy(VELMO_TESTDATA "/plaene/fremde_nummern.pln", plan));
        QByteArrayList zeilen = Dateiinhalt(plan).split('\n');
        const int nummer = 13 * slot - 12; // the line of its Nummer
        const QPoint p(27 * (slot - 1), 0);
        a.F->PlanOeffnen(plan);
        a.Druck(p);
        a.F->Dekoderadressen1->trigger();
        a.Druck(p);
        QCOMPARE(a.F->Decod_Panel->Index_label->text() + " " + a.F->Decod_Panel->Decod_edit1->text(),
                 zeilen[nummer] + " " + QString::number(10 + slot));
        a.F->Fahrstrassenbearbeiten1->trigger();
        a.Druck(p);
        QVERIFY(a.Zeigt(p, 6, 12) && a.Zeigt({0, 0}, 6, 1));
        a.F->Speichern1Click();
        zeilen[nummer + 4] = "2"; // its Zustand
        QCOMPARE(Dateiinhalt(plan), zeilen.join('\n'));
        a.F->Gleisbildentwerfen1->trigger();
        a.Druck(p, Qt::RightButton);
        QVERIFY(IstLoch(a.F->Dokument.Zellen.Positionen[slot]) && !IstLoch(a.F->Dokument.Zellen.Positionen[1]));
    }

    // A plan opens with its own routes or none. A route file that cannot be
    // read is kept byte for byte through the saves of the mode changes, and
    // replaced only by a save the user asks for.
    void fahrstrassenDatei_data()
    {
        QTest::addColumn<QByteArray>("datei"); // empty: no route file
        QTest::addColumn<QString>("fehler");   // empty: the routes load
        const QByteArray leer = QByteArray("0\n").repeated(63);
        QTest::newRow("gespeichert") << QByteArray("gespeichert") << QString();
        QTest::newRow("keine") << QByteArray() << QString();
        QTest::newRow("abgebrochen") << QByteArray("2\n27\n27\n12\n") << "Lesen über Dateiende hinaus in Zeile 5";
        QTest::newRow("Code 14") << "1\n27\n27\n14\n" + leer << "Ungültiger Code 14 (11 bis 13) in Zeile 4";
        QTest::newRow("Anzahl 64") << "64\n" + leer << "Ungültige Anzahl der Einträge 64 (0 bis 63) in Zeile 1";
        QTest::newRow("Anzahl -1") << "-1\n" + leer << "Ungültige Anzahl der Einträge -1 (0 bis 63) in Zeile 1";
        QTest::newRow("binär") << QByteArray("\x7f" "ELF\x02\x01\x01\x00", 8) << "Ungültige numerische Eingabe in Zeile 1";
        QTest::newRow("mehr als 64") << leer + "0\n1\n" << "Mehr als 64 Fahrstrassen in Zeile 65";
        QTest::newRow("Verzeichnis") << QByteArray("Verzeichnis") << "Verzeichnis statt Datei";
    }
    void fahrstrassenDatei()
    {
        QFETCH(QByteArray, datei);
        QFETCH(QString, fehler);
        Betriebsanlage a;
        a.Zelle(A, 6);
        FahrTabelle &tabelle = a.F->Dokument.FahrstrassenTabelle;
        tabelle[7][0].X = 1;
        tabelle[7][1] = {A.x(), A.y(), 12};
        a.F->Speichern1Click();
        const QString routen = a.Work.path() + "bahnhof.fst";
        const FahrTabelle gespeichert = tabelle;
        if (datei != "gespeichert")
            QVERIFY(QFile::remove(routen));
        if (datei == "Verzeichnis")
            QVERIFY(QDir().mkdir(routen));
        else if (!datei.isEmpty() && datei != "gespeichert")
            DateiSchreiben(routen, datei);
        const QByteArray vorher = Dateiinhalt(routen);
        tabelle[9][0].X = 1; // the routes of the plan in use

        a.F.Dialogs->FileAnswers = {a.Work.path() + "bahnhof.pln"};
        a.F->Oeffnen1Click();
        QCOMPARE(a.F->Dokument.Zellen.PosAnzahl, 1);
        QVERIFY(a.F->BetriebModus);
        QVERIFY(tabelle == (datei == "gespeichert" ? gespeichert : FahrTabelle {}));
        QCOMPARE(a.F.Dialogs->Meldungen.size(), fehler.isEmpty() ? 0 : 1);
        const QString text = a.F.Dialogs->Meldungen.value(0).Text;
        QVERIFY2(fehler.isEmpty() || (text.contains(fehler) && text.contains(routen) && text.contains("unverändert")),
                 qPrintable(text));
        // A route built, then the save of a mode change: a file that was
        // read takes it; one that could not be read stays as it was, and the
        // route is a change still to be saved, which "Speichern" writes.
        a.F->Fahrstrassenbearbeiten1->trigger();
        a.Druck(A);
        a.F->Betrieb1->trigger();
        QCOMPARE(Dateiinhalt(routen) == vorher, !fehler.isEmpty());
        QCOMPARE(a.F->Dokument.Geaendert(), !fehler.isEmpty());
        if (datei == "Verzeichnis") {
            QVERIFY_THROWS_EXCEPTION(VelmoFehler, a.F->Speichern1Click());
            return;
        }
        a.F->Speichern1Click();
        QVERIFY(LiesFahrstrassenDatei(routen) == tabelle);
        // A new plan has no routes.
        a.F.Dialogs->FileAnswers = {a.Work.path() + "neu"};
        a.F->Neu1Click();
        QVERIFY(tabelle == FahrTabelle {});
    }
};

QTEST_MAIN(TestBetrieb)
#include "test_betrieb.moc"
