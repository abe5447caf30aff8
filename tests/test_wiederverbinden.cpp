// The link as the operator sees it in the window, against scripted
// servers: the indicator through connect, refusal, loss and reconnect, the
// layout brought back in line after the server returns, the emergency stop
// in every mode, and refused commands marked on their cells and throttles.
#include "Velmo/TBildFlaeche.h"
#include "Velmo/TStatusLeiste.h"
#include "anlage.h"
#include "ansicht.h"
#include "elemente/Bilder.h"
#include "hilfen/farben.h"
#include "regler/TReglerPanel.h"
#include "spalte.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(Ampel)

namespace {

const QByteArray Srcpd = "srcpd V2.1.3; SRCP 0.8.4; SRCPOTHER 0.8.3\n";
const QByteArray T = "1796773747.108 ";

// A window whose server greets, answers as Antwort says, and reports after
// the GO of an info session the contact and power lines of `NachInfoGo`.
struct Linie : Anlage
{
    QByteArray NachInfoGo;
    bool InfoModus = false;
    QByteArrayList Verweigert; // lines answered with 412, as long as they are in the list

    explicit Linie(int version)
        : Anlage(version)
    {
        Server.Gruss = version == 80 ? Srcpd : QByteArray("srcpsim 1.0; SRCP 0.8.4; SRCPOTHER 0.7.3\n");
        Server.Antwort = [this](const QByteArray &line) {
            if (Verweigert.contains(line))
                return T + "412 ERROR wrong value\n";
            if (line.startsWith("SET CONNECTIONMODE"))
                InfoModus = line.endsWith("INFO");
            if (line == "GO" && InfoModus)
                return T + "200 OK GO 2\n" + NachInfoGo;
            return F->SrcpVersion == 80 ? AllesOk(line) : QByteArray();
        };
        F->Neuverbinden->Einheit = 50;
    }
    QString Anzeige(TStatusLeiste::Anzeige a = TStatusLeiste::Verbindung) const { return F->StatusBar1->AnzeigeText(a); }
    // The state colour the indicator's dot shows on the screen: the one of
    // most pixels (a grey can also be an edge pixel of the letters).
    Ampel Farbe(TStatusLeiste::Anzeige a = TStatusLeiste::Verbindung) const
    {
        const QImage bild = F->StatusBar1->findChild<QWidget *>(a == TStatusLeiste::Verbindung ? "Verbindungsanzeige" : "Stromanzeige")
                                ->grab()
                                .toImage();
        const std::pair<Ampel, QRgb> farben[] = {
            {Ampel::Grau, qRgb(0x8c, 0x8c, 0x8c)}, {Ampel::Gelb, qRgb(0xe8, 0xa0, 0x00)},
            {Ampel::Gruen, qRgb(0x1e, 0xa0, 0x1e)}, {Ampel::Rot, qRgb(0xd2, 0x1e, 0x1e)}};
        Ampel gezeigt = Ampel(-1);
        int meiste = 0;
        for (const auto &[ampel, farbe] : farben) {
            int anzahl = 0;
            for (int y = 0; y < bild.height(); ++y)
                for (int x = 0; x < bild.width(); ++x)
                    anzahl += bild.pixel(x, y) == farbe;
            if (anzahl > meiste)
                std::tie(gezeigt, meiste) = std::pair(ampel, anzahl);
        }
        return gezeigt;
    }
    bool Zeigt(int x, int y, int element, int wert)
    {
        QImage bild;
        LadeBild(Work.dataPath(IconName(element, wert)), bild);
        return F->PlanBitmap.copy(x, y, 27, 27) == bild.copy(0, 0, 27, 27);
    }
    bool Rot(QWidget *w, QPoint p) const { return AufDemSchirm(w).pixelColor(p) == Warnrot; }
    bool HatRot(QWidget *w) const
    {
        const QImage bild = AufDemSchirm(w);
        for (int y = 0; y < bild.height(); ++y)
            for (int x = 0; x < bild.width(); ++x)
                if (bild.pixelColor(x, y).red() > 180 && bild.pixelColor(x, y).green() < 80)
                    return true;
        return false;
    }
};

} // namespace

class TestWiederverbinden : public QObject
{
    Q_OBJECT
private slots:
    void anzeige_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QByteArray>("gruss"); // "-": the port refuses
        QTest::addColumn<bool>("goVerweigert");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Ampel>("farbe");
        QTest::addColumn<bool>("hinweis");
        const QByteArray sim = "srcpsim 1.0; SRCP 0.8.4; SRCPOTHER 0.7.3\n";
        QTest::newRow("0.73") << 70 << sim << false << "SRCP 0.73 verbunden" << Ampel::Gruen << false;
        QTest::newRow("0.8") << 80 << Srcpd << false << "SRCP 0.8, Sitzung 1" << Ampel::Gruen << false;
        QTest::newRow("abgewiesen") << 70 << QByteArray("-") << false << "getrennt" << Ampel::Grau << false;
        QTest::newRow("Sitzung abgelehnt") << 80 << Srcpd << true << "SRCP 0.8, keine Sitzung" << Ampel::Rot << false;
        QTest::newRow("0.73 an srcpd") << 70 << Srcpd << false << "SRCP 0.73 verbunden" << Ampel::Gelb << true;
        QTest::newRow("0.80 an 0.7.3") << 80 << QByteArray("srcpd V2.0.12; SRCP 0.7.3\n") << false
                                       << "SRCP 0.8, Sitzung 1" << Ampel::Gelb << true;
    }
    void anzeige()
    {
        QFETCH(int, version);
        QFETCH(QByteArray, gruss);
        QFETCH(bool, goVerweigert);
        QFETCH(QString, text);
        QFETCH(Ampel, farbe);
        QFETCH(bool, hinweis);
        Linie a(version);
        if (gruss == "-")
            a.F->Command_Socket.setPort(freierPort());
        a.Server.Gruss = gruss;
        if (goVerweigert)
            a.Verweigert = {"GO"};
        a.F->Hostverbinden1Click();
        QTRY_COMPARE(a.Anzeige(), text);
        QTRY_COMPARE(a.Farbe(), farbe);
        QTRY_COMPARE(a.F->StatusBar1->AnzeigeTooltip(TStatusLeiste::Verbindung).contains(gruss.trimmed()), gruss != "-");
        const QString tooltip = a.F->StatusBar1->AnzeigeTooltip(TStatusLeiste::Verbindung);
        QCOMPARE(tooltip.contains("Einstellungen > SRCP Version"), hinweis);
        QCOMPARE(a.F->StatusBar1->Text(0).contains("Einstellungen > SRCP Version"), hinweis);
        a.F->Hosttrennen1Click();
        QCOMPARE(a.Anzeige(), QString("getrennt"));
        QCOMPARE(a.Farbe(), Ampel::Grau);
    }

    // The server goes and comes back: the window tries again by itself,
    // opens the feedback again, whose first report lights the contact,
    // restores the power the operator chose, and announces the throttle's
    // locomotive with its speed, or stopped after a long loss.
    void wiederverbinden_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("ausfall"); // ms the server stays away
        QTest::addColumn<QByteArrayList>("zeilen"); // after the return, without the bus questions
        QTest::addColumn<bool>("steht");
        QTest::newRow("0.8 kurz") << 80 << 0
                                  << QByteArrayList {"SET CONNECTIONMODE SRCP COMMAND", "GO", "SET CONNECTIONMODE SRCP INFO",
                                                     "GO", "SET 1 POWER ON", "SET 2 POWER ON", "SET 3 POWER ON",
                                                     "INIT 1 GL 3 M 2 14 2", "SET 1 GL 3 1 V 28 0 0 "}
                                  << false;
        QTest::newRow("0.8 lang") << 80 << 400
                                  << QByteArrayList {"SET CONNECTIONMODE SRCP COMMAND", "GO", "SET CONNECTIONMODE SRCP INFO",
                                                     "GO", "SET 1 POWER ON", "SET 2 POWER ON", "SET 3 POWER ON",
                                                     "INIT 1 GL 3 M 2 14 2", "SET 1 GL 3 1 0 28 0 0 "}
                                  << true;
        QTest::newRow("0.73 kurz") << 70 << 0 << QByteArrayList {"SET POWER ON", "SET GL M2 3 1 V 28 0 1 0 "} << false;
    }
    void wiederverbinden()
    {
        QFETCH(int, version);
        QFETCH(int, ausfall);
        QFETCH(QByteArrayList, zeilen);
        QFETCH(bool, steht);
        Linie a(version);
        a.F->KurzerAusfall = 300;
        a.F->Dokument.Zellen.NeuePosition(27, 54, 65);
        a.F->Dokument.Zellen.Positionen[1].Dekoder1 = 1;
        a.F->Dokument.Zellen.Positionen[1].Adresse1 = 3;
        a.NachInfoGo = T + "100 INFO 1 FB 3 1\n" + T + "100 INFO 1 POWER ON\n";
        cLocoInfo &lok = a.F->Lokomotiven[0];
        lok.Protokoll = "M2";
        lok.Adresse = 3;
        lok.Richtung = 1;
        lok.Vmax = 28;
        lok.Funktionsanzahl = 1;
        a.F->Regler_panel->ReglerEinrichten(0);
        QVERIFY(a.Verbunden());
        if (version == 80)
            a.F->Abfragestarten1Click();
        a.F->Poweron1Click();
        a.F->Regler_panel->ScrollBar(0)->setValue(a.F->Regler_panel->ScrollBar(0)->maximum() - 10);
        const QByteArray v = QByteArray::number(lok.Geschwindigkeit);
        QVERIFY(lok.Geschwindigkeit > 0);
        QTest::qWait(100);

        a.Server.schliessen();
        a.Server.trennen();
        QTRY_COMPARE(a.Anzeige(), QString("Verbindung verloren"));
        QCOMPARE(a.Farbe(), Ampel::Rot);
        QVERIFY(a.Zeigt(27, 54, 65, 1) || version == 70);
        QTest::qWait(ausfall);
        const qsizetype seit = a.Server.Zeilen.size();
        QVERIFY(a.Server.wiederOeffnen());
        const QString verbunden = version == 80 ? "SRCP 0.8, Sitzung 1" : "SRCP 0.73 verbunden";
        QTRY_COMPARE_WITH_TIMEOUT(a.Anzeige(), verbunden, 10000);
        for (QByteArray &z : zeilen)
            z.replace(" V ", " " + (steht ? QByteArray("0") : v) + " ");
        // Lines after the return, without the GETs of the feedback report.
        const auto neu = [&] {
            QByteArrayList ohneGet;
            for (const QByteArray &z : a.Server.Zeilen.mid(seit))
                if (!z.startsWith("GET"))
                    ohneGet << z;
            return ohneGet;
        };
        QTRY_VERIFY_WITH_TIMEOUT(neu().size() >= zeilen.size(), 10000);
        QCOMPARE(neu(), zeilen);
        QCOMPARE(a.F->Regler_panel->ScrollBar(0)->value() == a.F->Regler_panel->ScrollBar(0)->maximum(), steht);
        if (version == 80) {
            QTRY_VERIFY(a.Zeigt(27, 54, 65, 2));
            QCOMPARE(a.Anzeige(TStatusLeiste::Strom), QString("Strom ein"));
        }
        QVERIFY(a.F.Dialogs->Meldungen.isEmpty());
    }

    // A server that never returns: the tries go on at growing waits without
    // a box or a growing log, and "Host trennen" ends them, also in the
    // middle of a try.
    void nieZurueck()
    {
        Linie a(80);
        a.F->Neuverbinden->Einheit = 20;
        QVERIFY(a.Verbunden());
        a.Server.schliessen();
        a.Server.trennen();
        QTRY_COMPARE(a.Anzeige(), QString("Verbindung verloren"));
        const qsizetype log = a.F->Memo1->blockCount();
        QTest::qWait(2000);
        const QString tooltip = a.F->StatusBar1->AnzeigeTooltip(TStatusLeiste::Verbindung);
        QVERIFY2(tooltip.contains("Neuer Versuch 7 ") || tooltip.contains("Neuer Versuch 8 "), qPrintable(tooltip));
        QCOMPARE(a.F->Memo1->blockCount(), log);
        QVERIFY(a.F.Dialogs->Meldungen.isEmpty());

        // A try runs its own waits: "Host trennen" comes from a timer in the
        // middle of one, once the server has taken its connection.
        QString waehrend;
        QTimer mitten;
        QObject::connect(&mitten, &QTimer::timeout, [&] {
            if (!a.Anzeige().startsWith("verbinde erneut (Versuch") || !a.F->CommandConnected)
                return;
            waehrend = a.Anzeige();
            mitten.stop();
            a.F->Hosttrennen1Click();
        });
        mitten.start(20);
        QVERIFY(a.Server.wiederOeffnen());
        QTRY_VERIFY_WITH_TIMEOUT(!waehrend.isEmpty(), 5000);
        const int verbindungen = a.Server.Verbindungen;
        QTest::qWait(1500);
        QCOMPARE(a.Anzeige(), QString("getrennt"));
        QCOMPARE(a.Server.Verbindungen, verbindungen);
        QVERIFY(!a.F->CommandConnected);
        QVERIFY(a.F.Dialogs->Meldungen.isEmpty());
    }

    // Pause, F12 and the button stop the layout in every mode, with the
    // focus on a throttle: power off for every bus and nothing else.
    void nothalt_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("modus");
        QTest::addColumn<QString>("taste");
        QTest::addColumn<QByteArray>("gesendet");
        const QByteArray alle = "SET 1 POWER OFF\r\nSET 2 POWER OFF\r\nSET 3 POWER OFF\r\n";
        QTest::newRow("kein Modus") << 80 << "" << "Pause" << alle;
        QTest::newRow("Entwurf") << 80 << "Gleisbildentwerfen1" << "F12" << alle;
        QTest::newRow("Dekoder") << 80 << "Dekoderadressen1" << "Pause" << alle;
        QTest::newRow("Betrieb") << 80 << "Betrieb1" << "Knopf" << alle;
        QTest::newRow("Fahrstrassen") << 80 << "Fahrstrassen1" << "F12" << alle;
        QTest::newRow("bearbeiten") << 80 << "Fahrstrassenbearbeiten1" << "Pause" << alle;
        QTest::newRow("Lokregler 0.73") << 70 << "Softregler1" << "F12" << QByteArray("SET POWER OFF\r\n");
    }
    void nothalt()
    {
        QFETCH(int, version);
        QFETCH(QString, modus);
        QFETCH(QString, taste);
        QFETCH(QByteArray, gesendet);
        Linie a(version);
        QVERIFY(a.Verbunden());
        if (!modus.isEmpty())
            a.F->findChild<QAction *>(modus)->trigger();
        QTest::qWait(100);
        const qsizetype seit = a.Server.Empfangen.size();
        QApplication::setActiveWindow(a.F.Form.get());
        QWidget *regler = a.F->Regler_panel->ScrollBar(0);
        regler->setFocus();
        if (taste == "Knopf")
            a.F->Nothalt_Button->click();
        else
            QTest::keyClick(regler, taste == "F12" ? Qt::Key_F12 : Qt::Key_Pause);
        QTRY_COMPARE(a.Server.Empfangen.mid(seit), gesendet);
        QTest::qWait(100);
        QCOMPARE(a.Server.Empfangen.mid(seit), gesendet);
        QCOMPARE(a.Anzeige(TStatusLeiste::Strom), QString("Nothalt"));
        QCOMPARE(a.Farbe(TStatusLeiste::Strom), Ampel::Rot);
    }

    // A refused command frames its cell and reddens its throttle until the
    // server accepts a command for that device; panel 1 says why, the log
    // keeps the server's line.
    void marken()
    {
        Linie a(80);
        a.F->Dokument.Zellen.NeuePosition(27, 27, 6);
        C_Position &zelle = a.F->Dokument.Zellen.Positionen[1];
        zelle.Dekoder1 = zelle.Dekoder2 = 3;
        zelle.Adresse1 = 1;
        zelle.Adresse2 = 2; // address 13
        zelle.Protokoll = "M";
        a.F->ZeichneElement(1, 27, 27, 6);
        cLocoInfo &lok = a.F->Lokomotiven[0];
        lok.Protokoll = "M2";
        lok.Adresse = 3;
        a.F->Regler_panel->ReglerEinrichten(0);
        // Only the pulse's end is refused, long after the cell was drawn:
        // the frame shows by itself.
        a.F->Bahn->Schaltimpuls = 300;
        a.F->Betrieb1Click();
        QVERIFY(a.Verbunden());
        a.Verweigert = {"SET 1 GA 13 1 0 -1", "INIT 1 GL 3 M 2 14 1", "SET 1 GL 3 -1 0 0 0 "};
        QLabel *name = a.F->Regler_panel->ReglerLabel(0);
        QVERIFY(!a.HatRot(name));

        a.F->VelmoMouseDown(Qt::LeftButton, {}, 30, 30);
        QTRY_COMPARE(a.F->StatusBar1->Text(1), QString("Server lehnt ab: SET 1 GA 13 1 0 -1 – 412 falscher Wert"));
        a.F->Bahn->SendLocoCommand(0);
        const QString ablehnung = "Server lehnt ab: SET 1 GL 3 -1 0 0 0 – 412 falscher Wert";
        QTRY_COMPARE(a.F->StatusBar1->Text(1), ablehnung);
        // Too long for its 300 pixels: it ends in "…" and shows whole as the tooltip.
        const QString gezeigt = a.F->StatusBar1->Gezeigt(1);
        QVERIFY2(gezeigt.endsWith(QChar(0x2026)) && ablehnung.startsWith(gezeigt.chopped(1)), qPrintable(gezeigt));
        const auto panels = a.F->StatusBar1->findChildren<QLabel *>();
        QVERIFY(std::any_of(panels.begin(), panels.end(),
                            [&](QLabel *p) { return p->text() == gezeigt && p->toolTip() == ablehnung; }));
        QTRY_VERIFY(a.Rot(a.F->Velmo, {28, 28}) && a.Rot(a.F->Velmo, {52, 40}));
        QVERIFY(!a.Rot(a.F->Velmo, {55, 28}));
        QTRY_VERIFY(a.HatRot(name));
        QVERIFY(a.F->Memo1->toPlainText().contains(T + "412 ERROR wrong value"));
        QVERIFY(a.F->PlanBitmap.pixelColor(28, 28) != Warnrot);

        a.Verweigert.clear();
        a.F->VelmoMouseDown(Qt::LeftButton, {}, 30, 30);
        QTRY_VERIFY(!a.Rot(a.F->Velmo, {28, 28}));
        QVERIFY(a.HatRot(name));
        a.F->Bahn->SendLocoCommand(0);
        QTRY_VERIFY(!a.HatRot(name));
    }
};

QTEST_MAIN(TestWiederverbinden)
#include "test_wiederverbinden.moc"
