// The main window: start-up, layout, screen sizes, the plan view, the two
// settings dialogs and the error guard.
#include "Velmo/TBildFlaeche.h"
#include "Velmo/TDekoderPanel.h"
#include "regler/TReglerPanel.h"
#include "Velmo/TFahrstrassenSeiten.h"
#include "Velmo/TStatusLeiste.h"
#include "Velmo/VelmoApplication.h"
#include "elemente/Bilder.h"
#include "formip/TForm3.h"
#include "formip/TForm_IP.h"
#include "ansicht.h"
#include "dateifehler.h"
#include "scripteddialoge.h"
#include "spalte.h"
#include "testwork.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

namespace {

QByteArray Parameterdatei(const QByteArray &kopf)
{
    QByteArray text = kopf;
    for (int i = 0; i < 10; ++i)
        text += "M1\nLok\n0\n-1\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n";
    return text;
}

void PortsSind(TForm1 &f, const QByteArray &host, int p)
{
    QCOMPARE(f.Command_Socket.host(), host);
    QCOMPARE(f.Poll_Socket.host(), host);
    QCOMPARE(f.Info_Socket.host(), host);
    QCOMPARE(f.Command_Socket.port(), p);
    // An SRCP 0.8 server serves every session on its one port.
    const int abstand = f.SrcpVersion == 70 ? 1 : 0;
    QCOMPARE(f.Poll_Socket.port(), p + abstand);
    QCOMPARE(f.Info_Socket.port(), p + 2 * abstand);
}

bool IstSilber(const QImage &bild, int x, int y)
{
    return QColor(bild.pixel(x, y)) == QColor(192, 192, 192);
}

} // namespace

class TestFenster_ : public QObject
{
    Q_OBJECT
private slots:
    void startZustand()
    {
        TestWorkDir work;
        TestFenster f(work.path());
        QCOMPARE(f->windowTitle(), QString("Strandor V 0.5"));
        QCOMPARE(f->StatusBar1->Text(1), "WorkDir: " + work.path());
        QCOMPARE(f->Dokument.Zellen.PosAnzahl, 0);
        QVERIFY(f->ElementeGeladen);

        const QList<std::pair<QString, bool>> items = {
            {"&Neu", true}, {"Ö&ffnen", true}, {"&Speichern", false}, {"Speichern &als", false},
            {"&Drucken …", false}, {"Als &PDF exportieren …", false},
            {"Host &verbinden", true}, {"Host &trennen", true}, {"E&xit", true}, {"&Rückgängig", false}, {"&Wiederherstellen", false},
            {"&Gleisbild entwerfen", false}, {"&Dekoderadressen", false}, {"&Betrieb", false},
            {"&Fahrstrassen", false}, {"Fahrstrassen b&earbeiten", false}, {"&Lokregler", false}, {"&IP-Adresse Host", true},
            {"&SRCP Version", true}, {"Abfrage &starten", false}, {"Abfrage &beenden", false},
            {"Rese&t", true}, {"Power o&n", true}, {"Power o&ff", true},
            {"Dekoder &Programmierung", true}, {"freie &Befehle", true}, {"&automatisch", true},
            {"&640x480", true}, {"&800x600", true}, {"&1024x768", true}, {"", true}, {"Zoom 1&00 %", true},
            {"Zoom &200 %", true}, {"Zoom &300 %", true}, {"", true}, {"&Raster", true}};
        QStringList menus;
        QList<std::pair<QString, bool>> gefunden;
        for (QAction *menu : f->menuBar()->actions()) {
            menus << menu->text();
            for (QAction *item : menu->menu()->actions())
                gefunden.append({item->text(), item->isEnabled()});
        }
        QCOMPARE(menus, QStringList({"&Datei", "Be&arbeiten", "&Optionen", "&Einstellungen", "&Rückmeldung", "&Befehle", "Bild&schirm"}));
        QCOMPARE(gefunden, items);
        QVERIFY(f->automatisch1->isChecked() && f->Zoom100->isChecked() && !f->Raster1->isChecked());
        QVERIFY(!f->N640mal480->isChecked() && !f->N800mal600->isChecked() && !f->N1024mal768->isChecked());

        const QList<QWidget *> versteckt = {f->Decod_Panel, f->ProgressBar1, f->Prozent_Label, f->Panel, f->Hilfsbild1,
                                            f->Memo1, f->Regler_panel, f->Manage_panel, f->PageControl1};
        for (QWidget *hidden : versteckt)
            QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));

        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.Form.get()));
        const QImage sicht = f->Velmo->grab().toImage();
        QVERIFY(IstSilber(sicht, 0, 0));
        QVERIFY(IstSilber(sicht, sicht.width() - 1, sicht.height() - 1));
        QVERIFY(IstSilber(f->PlanBitmap, 979, 679));
        QCOMPARE(f->PlanBitmap.size(), QSize(980, 680));
        QCOMPARE(f->PaletteBitmap.size(), QSize(617, 113));
        QCOMPARE(f->Panel->size(), QSize(617, 113));

        // Shown for the first time, the palette box shows the palette.
        f->Panel->show();
        QApplication::processEvents();
        QCOMPARE(f->Panel->grab().toImage(), f->PaletteBitmap);
    }

    void startOhneParameterdatei()
    {
        TestWorkDir work;
        TestFenster f(work.path());
        QCOMPARE(f.Dialogs->Meldungen.size(), 1);
        QCOMPARE(f.Dialogs->Meldungen[0].Text, QString("Die Parameterdatei wurde nicht gefunden"));
        QCOMPARE(f.Dialogs->Meldungen[0].Caption, QString("Fehler"));
        QVERIFY(f.Dialogs->Meldungen[0].Kind == Dialoge::Art::Warnung);
        PortsSind(*f.Form, "localhost", 12345);
        QCOMPARE(f->SrcpVersion, 70);
        QCOMPARE(f->InfoMode, 0);
    }

    void startMitParameterdatei()
    {
        TestWorkDir work;
        work.writeData("parmc.dat", Parameterdatei("20000\nstellwerk\n80\n5\n"));
        TestFenster f(work.path());
        QVERIFY(f.Dialogs->Meldungen.isEmpty());
        PortsSind(*f.Form, "stellwerk", 20000);
        QCOMPARE(f->SrcpVersion, 80);
        QCOMPARE(f->InfoMode, 5);
        QVERIFY(f->Form_IP->Info_CheckBox->isChecked());
        QCOMPARE(f->Form3->RadioGroup1Index(), 1);

        // Exit writes the file back with info mode 5 kept as it is, and the side file.
        QFile::remove(work.dataPath("parmc.dat"));
        f->Exit1Click();
        QVERIFY(QFile::exists(work.dataPath("velmo.ini")));
        QFile file(work.dataPath("parmc.dat"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), Parameterdatei("20000\nstellwerk\n80\n5\n"));
    }

    void startMitWortInZeile3()
    {
        TestWorkDir work;
        work.writeData("parmc.dat", Parameterdatei("20000\nstellwerk\nachtzig\n0\n"));
        TestFenster f(work.path());
        QCOMPARE(f.Dialogs->Meldungen.size(), 1);
        QCOMPARE(f->ServerPort, 20000);
        QCOMPARE(f->ServerHost, QByteArray("stellwerk"));
        PortsSind(*f.Form, "localhost", 12345);
        QCOMPARE(f->Form_IP->Host_Edit->text(), QString("stellwerk"));
        QCOMPARE(f->Form_IP->Port_Edit->text(), QString("20000"));
        // A version other than 70 shows "SRCP 0.80"; here the default 70 stays.
        QCOMPARE(f->Form3->RadioGroup1Index(), 0);
    }

    void startOhneKatalog()
    {
        TestWorkDir work(false);
        TestFenster f(work.path());
        // The catalogue error ends the start-up before the settings are read.
        QCOMPARE(f.Dialogs->Meldungen.size(), 1);
        QVERIFY(f.Dialogs->Meldungen[0].Kind == Dialoge::Art::Fehler);
        QVERIFY(!f->ElementeGeladen);
        // The palette, once shown, is maroon without icons.
        f->Panel->show();
        QCOMPARE(QColor(f->Panel->grab().toImage().pixel(13, 13)), QColor(128, 0, 0));
        QVERIFY(f->Bahn != nullptr);
    }

    // The start-up box says when the settings file could not be read and
    // is kept; the first write then keeps it as parmc.dat.bak.
    void startBehaeltAlteDatei_data()
    {
        QTest::addColumn<QByteArray>("datei"); // "" = none
        QTest::addColumn<bool>("katalog");
        QTest::addColumn<QString>("meldung");  // "" = no box
        QTest::addColumn<bool>("gesichert");
        const QString fehlt = "Die Parameterdatei wurde nicht gefunden";
        const QByteArray gut = Parameterdatei("20000\nstellwerk\n80\n1\n");
        QTest::newRow("keine Datei") << QByteArray() << true << fehlt << false;
        QTest::newRow("gelesen") << gut << true << QString() << false;
        QTest::newRow("BOM und CR LF") << QByteArray("\xEF\xBB\xBF" + gut).replace("\n", "\r\n") << true << QString() << false;
        QTest::newRow("Wort statt Zahl") << Parameterdatei("20000\nstellwerk\nx\n1\n") << true
                                         << fehlt + "\rDie alte Datei bleibt als parmc.dat.bak erhalten." << true;
        QTest::newRow("ohne Katalog") << gut << false << QString("E/A-Fehler: Datei nicht gefunden (%1Data/Elemente1.dat)") << true;
    }
    void startBehaeltAlteDatei()
    {
        QFETCH(QByteArray, datei);
        QFETCH(bool, katalog);
        QFETCH(QString, meldung);
        QFETCH(bool, gesichert);
        TestWorkDir work(katalog);
        if (!datei.isEmpty())
            work.writeData("parmc.dat", datei);
        TestFenster f(work.path());
        QCOMPARE(f.Dialogs->Meldungen.size(), meldung.isEmpty() ? 0 : 1);
        if (!meldung.isEmpty())
            QCOMPARE(f.Dialogs->Meldungen[0].Text, meldung.contains("%1") ? meldung.arg(work.path()) : meldung);
        if (meldung.isEmpty())
            PortsSind(*f.Form, "stellwerk", 20000);
        f->Exit1Click();
        QCOMPARE(Dateiinhalt(work.dataPath("parmc.dat.bak")), gesichert ? datei : QByteArray("<fehlt>"));
        QCOMPARE(Dateiinhalt(work.dataPath("parmc.dat")).count('\n'), 164);
    }

    // Settings that cannot be written keep nobody from ending the program:
    // after the error the user decides, and the old file stays.
    void beendenOhneSchreibrecht_data()
    {
        QTest::addColumn<bool>("trotzdem");
        QTest::newRow("Ja") << true;
        QTest::newRow("Nein") << false;
    }
    void beendenOhneSchreibrecht()
    {
        QFETCH(bool, trotzdem);
        TestWorkDir work;
        const QByteArray alt = Parameterdatei("20000\nstellwerk\n80\n1\n");
        work.writeData("parmc.dat", alt);
        TestFenster f(work.path());
        f->show();
        f.Dialogs->FrageAntworten = {trotzdem ? Dialoge::Antwort::Ja : Dialoge::Antwort::Nein};
        {
            Schreibschutz schutz(work.path() + "Data");
            f->ServerHost = "neu";
            f->Exit1->trigger();
        }
        QCOMPARE(f->isVisible(), !trotzdem);
        QCOMPARE(f.Dialogs->Meldungen.size(), 1);
        QVERIFY(f.Dialogs->Meldungen[0].Text.contains(work.dataPath("parmc.dat")));
        QCOMPARE(f.Dialogs->Fragen, QStringList({"Fehler|Die Einstellungen konnten nicht gespeichert werden. Trotzdem beenden?"}));
        QCOMPARE(Dateiinhalt(work.dataPath("parmc.dat")), alt);
    }

    // Installed into a folder this user cannot write: said once at start,
    // and the settings are not saved, so "Exit" neither fails nor asks.
    void startOhneSchreibrecht()
    {
        TestWorkDir work;
        const QByteArray alt = Parameterdatei("20000\nstellwerk\n80\n1\n");
        work.writeData("parmc.dat", alt);
        Schreibschutz schutz(work.path() + "Data");
        TestFenster f(work.path());
        f->show();
        QCOMPARE(f.Dialogs->Meldungen.size(), 1);
        QVERIFY(f.Dialogs->Meldungen[0].Text.startsWith("Velmo kann im Ordner " + work.path() + "Data nicht schreiben"));
        f->ServerHost = "neu";
        f->Exit1->trigger();
        QVERIFY(!f->isVisible());
        QCOMPARE(f.Dialogs->Meldungen.size(), 1);
        QVERIFY(f.Dialogs->Fragen.isEmpty());
        QCOMPARE(Dateiinhalt(work.dataPath("parmc.dat")), alt);
    }

    // A port outside 1 to 65533 in the dialog changes nothing at all; the
    // blanks and the line end pasted around the host are dropped.
    void portImDialog_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("gueltig");
        QTest::newRow("65533") << "65533" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("65534") << "65534" << false;
        QTest::newRow("INT_MAX") << "2147483647" << false;
        QTest::newRow("über 32 Bit") << "4294967296" << false;
    }
    void portImDialog()
    {
        QFETCH(QString, port);
        QFETCH(bool, gueltig);
        TestWorkDir work;
        TestFenster f(work.path());
        f.Dialogs->Meldungen.clear();
        TForm_IP &dialog = *f->Form_IP;
        dialog.show();
        dialog.Host_Edit->setText(" zentrale\r\n");
        dialog.Port_Edit->setText(port);
        dialog.Button2->click();
        if (gueltig) {
            PortsSind(*f.Form, "zentrale", 65533);
            QCOMPARE(Dateiinhalt(work.dataPath("parmc.dat")).split('\n').mid(1, 2), QByteArrayList({"zentrale", "70"}));
            QVERIFY(!dialog.isVisible());
            return;
        }
        QCOMPARE(f.Dialogs->Meldungen.size(), 1);
        QCOMPARE(f.Dialogs->Meldungen[0].Text, QString("Ungültiger Port: %1 (1 bis 65533)").arg(port));
        PortsSind(*f.Form, "localhost", 12345);
        QVERIFY(!QFile::exists(work.dataPath("parmc.dat")));
        QVERIFY(dialog.isVisible());
    }

    // After every change of a scroll bar, in either direction, the view
    // shows the plan from the new offset.
    void rollenZeigtPlan_data()
    {
        QTest::addColumn<bool>("waagrecht");
        QTest::addColumn<QList<int>>("werte");
        QTest::newRow("rechts und zurück") << true << QList<int>{54, 135, 27, 0};
        QTest::newRow("runter und zurück") << false << QList<int>{54, 108, 27, 0};
    }
    void rollenZeigtPlan()
    {
        QFETCH(bool, waagrecht);
        QFETCH(QList<int>, werte);
        TestWorkDir work;
        TestFenster f(work.path());
        f->show();
        f->N640mal480->trigger();
        QApplication::processEvents();
        for (int y = 0; y < f->PlanHoehe; ++y)
            for (int x = 0; x < f->PlanBreite; ++x)
                f->PlanBitmap.setPixel(x, y, qRgb(x % 256, y % 256, x / 256 * 16 + y / 256));
        f->VelmoPaint();
        QScrollBar *leiste = waagrecht ? f->HScrollBar : f->VScrollBar;
        for (int wert : werte) {
            leiste->setValue(wert);
            QCOMPARE(waagrecht ? f->ScrollX : f->ScrollY, wert);
            for (const QPoint p : {QPoint(0, 0), QPoint(26, 26), QPoint(200, 100)})
                QCOMPARE(f->Velmo->grab().toImage().pixel(p), f->PlanBitmap.pixel(p + QPoint(f->ScrollX, f->ScrollY)));
        }
    }

    // Zoom and grid come back from Data/velmo.ini (any zoom but 100, 200, 300
    // gives 100 % and the report); the zoom keys step and write the file.
    void zoomAusSeitendatei_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("f");
        QTest::addColumn<bool>("raster");
        QTest::addColumn<bool>("gemeldet");
        QTest::newRow("200 % mit Raster") << QByteArray("[Ansicht]\nZoom=200\nRaster=true\n") << 2 << true << false;
        QTest::newRow("300 %") << QByteArray("[Ansicht]\nZoom=300\n") << 3 << false << false;
        QTest::newRow("250 gibt es nicht") << QByteArray("[Ansicht]\nZoom=250\nRaster=true\n") << 1 << true << true;
        QTest::newRow("kein Wert") << QByteArray("[Ansicht]\nZoom=gross\n") << 1 << false << true;
    }
    void zoomAusSeitendatei()
    {
        QFETCH(QByteArray, ini);
        QFETCH(int, f);
        TestWorkDir work;
        work.writeData("velmo.ini", ini);
        TestFenster t(work.path());
        t->show();
        QVERIFY(QTest::qWaitForWindowExposed(t.Form.get()));
        QVERIFY(t->findChild<QAction *>(QStringLiteral("Zoom%1").arg(100 * f))->isChecked());
        QTEST(t->Raster1->isChecked(), "raster");
        QTEST(!t->StatusBar1->Text(0).isEmpty(), "gemeldet");
        t->PlanBitmap.setPixel(0, 0, qRgb(1, 2, 3));
        t->VelmoPaint();
        const QImage schirm = t->Velmo->grab().toImage();
        QCOMPARE(schirm.pixel(f - 1, f - 1), qRgb(1, 2, 3));
        QVERIFY(IstSilber(schirm, f, 0) && IstSilber(schirm, 0, f));

        const std::pair<QKeySequence, int> tasten[] = {{QKeySequence("Ctrl+0"), 100}, {QKeySequence("Ctrl++"), 200},
                                                        {QKeySequence("Ctrl+="), 300}, {QKeySequence("Ctrl++"), 300},
                                                        {QKeySequence("Ctrl+-"), 200}};
        for (const auto &[taste, zoom] : tasten) {
            QTest::keySequence(t.Form.get(), taste);
            QVERIFY(t->findChild<QAction *>(QStringLiteral("Zoom%1").arg(zoom))->isChecked());
        }
        QFile datei(work.dataPath("velmo.ini"));
        QVERIFY(datei.open(QIODevice::ReadOnly) && datei.readAll().contains("\nZoom=200\n"));
    }

    void bildschirmgroessen()
    {
        TestWorkDir work;
        TestFenster f(work.path());
        f->show();
        f->N640mal480->trigger();
        QCOMPARE(f->size(), QSize(635, 445));
        QCOMPARE(f->pos(), QPoint(2, 1));
        QVERIFY(f->N640mal480->isChecked());
        QVERIFY(!f->automatisch1->isChecked() && !f->N800mal600->isChecked() && !f->N1024mal768->isChecked());
        QCOMPARE(f->FormClientBreite, f->Client->width());
        QCOMPARE(f->FormClientHoehe, f->Client->height());

        f->N1024mal768->trigger();
        QCOMPARE(f->size(), QSize(1019, 733));
        QCOMPARE(f->pos(), QPoint(2, 1));
        QVERIFY(f->N1024mal768->isChecked() && !f->N640mal480->isChecked());
    }

    void layoutSchmalUndBreit()
    {
        TestWorkDir work;
        TestFenster f(work.path());
        f->show();
        f->N640mal480->trigger();
        QApplication::processEvents();
        const int CW = f->Client->width(), CH = f->Client->height(), SB = f->StatusBar1->height();
        QCOMPARE(SB, 17);
        QCOMPARE(f->Velmo->geometry(), QRect(1, 1, CW - 17, CH - 113 - 17 - SB));
        QCOMPARE(f->HScrollBar->geometry(), QRect(1, CH - 17 - SB, CW - 17, 17));
        QCOMPARE(f->HScrollBar->maximum(), 980);
        QCOMPARE(f->VScrollBar->geometry(), QRect(CW - 17, 1, 17, CH - 113 - 17));
        QCOMPARE(f->Decod_Panel->geometry(), QRect(1, CH - 113 - 17 - SB, CW - 17 - 5, 113));
        QCOMPARE(f->Regler_panel->geometry(), QRect(1, CH - 113 - 17 - SB, 570, 113));
        QCOMPARE(f->Manage_panel->geometry(), QRect(571, CH - 113 - 17 - SB, CW - 570 - 17 - 5, 113));
        QCOMPARE(f->Panel->pos(), QPoint(1, CH - 113 - 17 - SB));
        QCOMPARE(f->Decod_Panel->Speichern_Button->pos(), QPoint(350, 87));
        QCOMPARE(f->ProgressBar1->geometry().topLeft(), QPoint(f->BildschirmBreite / 2 - 150, f->Velmo->height() + 5));
        // The progress of a load shows above the throttles.
        f->Regler_panel->show();
        f->ProgressBar1->show();
        QCOMPARE(f->Client->childAt(f->ProgressBar1->geometry().center()), f->ProgressBar1);
        f->ProgressBar1->hide();

        // Wide and tall: the whole plan without scrolling.
        f->resize(1300, 1000);
        QApplication::processEvents();
        QCOMPARE(f->Velmo->size(), QSize(980, 680));
        QCOMPARE(f->Decod_Panel->geometry(), QRect(1, f->Client->height() - 113 - 17 - SB, f->Client->width() - 22, 113));

        // A client lower than the bottom strip leaves no height for the plan.
        f->resize(700, 160);
        QApplication::processEvents();
        QCOMPARE(f->Velmo->height(), 0);
    }

    void zeichnenUndRollen()
    {
        TestWorkDir work;
        TestFenster f(work.path());
        f->show();
        f->N640mal480->trigger();
        QApplication::processEvents();

        QImage icon;
        LadeBild(work.dataPath("Icon0302.bmp"), icon);
        f->HScrollBar->setValue(27);
        f->VScrollBar->setValue(54);
        QCOMPARE(f->ScrollX, 27);
        QCOMPARE(f->ScrollY, 54);
        f->ZeichneElement(2, 54, 54, 3);
        for (const QPoint p : {QPoint(0, 0), QPoint(13, 13), QPoint(26, 26), QPoint(5, 20)}) {
            QCOMPARE(f->PlanBitmap.pixel(QPoint(54, 54) + p), icon.pixel(p));
            QCOMPARE(f->Velmo->grab().toImage().pixel(QPoint(27, 0) + p), icon.pixel(p));
        }
        QCOMPARE(f->Velmo->grab().toImage().pixel(27 + 13, 13), icon.pixel(13, 13));

        // Element 0 and 89 draw nothing and read no file.
        const QImage vorher = f->PlanBitmap;
        f->ZeichneElement(1, 0, 0, 0);
        f->ZeichneElement(1, 0, 0, 89);
        QCOMPARE(f->PlanBitmap, vorher);

        // A state without a picture name stops with the image error.
        QVERIFY_THROWS_EXCEPTION(VelmoFehler, f->ZeichneElement(5, 0, 0, 12));

        // Snapping to the raster; the last columns of the plan with silver beside them.
        f->VScrollBar->setValue(0);
        f->HScrollBar->setValue(100);
        QCOMPARE(f->HScrollBar->value(), 81);
        QCOMPARE(f->ScrollX, 81);
        f->HScrollBar->setValue(980);
        QCOMPARE(f->HScrollBar->value(), 972);
        QCOMPARE(f->ScrollX, 972);
        f->PlanBitmap.setPixel(979, 0, qRgb(1, 2, 3));
        f->VelmoPaint();
        QCOMPARE(f->Velmo->grab().toImage().pixel(7, 0), qRgb(1, 2, 3));
        QVERIFY(IstSilber(f->Velmo->grab().toImage(), 8, 0));

        // Covering and uncovering shows the same part again.
        f->HScrollBar->setValue(27);
        const QImage sicht = f->Velmo->grab().toImage();
        f->hide();
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.Form.get()));
        QCOMPARE(f->Velmo->grab().toImage(), sicht);
    }

    void verbindungsdialog()
    {
        TestWorkDir work;
        TestFenster f(work.path());
        TForm_IP &dialog = *f->Form_IP;
        QCOMPARE(dialog.windowTitle(), QString("IP-Verbindung"));
        QCOMPARE(dialog.size(), QSize(369, 234));

        // Empty host: host unchanged; port and info mode taken; file written.
        dialog.Host_Edit->clear();
        dialog.Port_Edit->setText("20000");
        dialog.Info_CheckBox->setChecked(true);
        dialog.Button2Click();
        PortsSind(*f.Form, "localhost", 20000);
        QCOMPARE(f->InfoMode, 1);
        QFile file(work.dataPath("parmc.dat"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count('\n'), 164);

        // A port that is no number: the error box, nothing taken over, no save, dialog open.
        QFile::remove(work.dataPath("parmc.dat"));
        dialog.show();
        dialog.Host_Edit->setText("zentrale");
        dialog.Port_Edit->setText("12x");
        dialog.Info_CheckBox->setChecked(false);
        f.Dialogs->Meldungen.clear();
        dialog.Button2->click();
        QCOMPARE(f.Dialogs->Meldungen.size(), 1);
        QCOMPARE(f.Dialogs->Meldungen[0].Text, QString("'12x' ist kein gültiger Integerwert"));
        QVERIFY(f.Dialogs->Meldungen[0].Kind == Dialoge::Art::Fehler);
        PortsSind(*f.Form, "localhost", 20000);
        QCOMPARE(f->InfoMode, 1);
        QVERIFY(!QFile::exists(work.dataPath("parmc.dat")));
        QVERIFY(dialog.isVisible());

        // Enter in a field neither saves nor cancels.
        dialog.Port_Edit->setText("4711");
        QTest::keyClick(dialog.Port_Edit, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QCOMPARE(f->ServerPort, 20000);

        // "abbrechen" changes nothing and keeps what the fields hold.
        dialog.Port_Edit->setText("1");
        dialog.Button1->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(f->ServerPort, 20000);
        QCOMPARE(dialog.Port_Edit->text(), QString("1"));
        // Exit writes none of what the refused "speichern" held.
        f->Exit1Click();
        QCOMPARE(Dateiinhalt(work.dataPath("parmc.dat")).split('\n')[1], QByteArray("localhost"));
    }

    // The real boxes show at most 2000 characters of a text: laying out a
    // megabyte would hold the interface for seconds.
    void langeMeldung_data()
    {
        QTest::addColumn<bool>("frage");
        QTest::newRow("Meldung") << false;
        QTest::newRow("Frage") << true;
    }
    void langeMeldung()
    {
        QFETCH(bool, frage);
        QtDialoge dialoge(nullptr);
        QString gezeigt;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            gezeigt = box->text();
            box->reject();
        });
        QElapsedTimer uhr;
        uhr.start();
        const QString text(1 << 20, 'x');
        if (frage)
            dialoge.Frage(text, "Fehler", false);
        else
            dialoge.Meldung(text, "Fehler", Dialoge::Art::Fehler);
        QCOMPARE(gezeigt, QString(2000, 'x') + QChar(0x2026));
        QVERIFY2(uhr.elapsed() < 2000, qPrintable(QString::number(uhr.elapsed())));
    }

    // Qt's own buttons speak German as the program loads qtbase_de; from a
    // folder without it they stay English and nothing fails.
    void qtTexte()
    {
        const auto knopf = [] { return QMessageBox(QMessageBox::NoIcon, "", "", QMessageBox::Cancel).buttons()[0]->text(); };
        QTemporaryDir leer;
        QVERIFY(!QtTexteDeutsch(leer.path()));
        QCOMPARE(knopf(), "Cancel");
        const auto texte = QtTexteDeutsch(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        QCOMPARE(knopf(), "Abbrechen");
    }

    // Every stored code but 70 shows as "SRCP 0.80".
    void versionImDialog_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<int>("index");
        QTest::newRow("70") << QByteArray("70") << 0;
        QTest::newRow("80") << QByteArray("80") << 1;
        QTest::newRow("75") << QByteArray("75") << 1;
    }
    void versionImDialog()
    {
        QFETCH(QByteArray, code);
        QFETCH(int, index);
        TestWorkDir work;
        work.writeData("parmc.dat", Parameterdatei("12345\nlocalhost\n" + code + "\n0\n"));
        TestFenster f(work.path());
        QCOMPARE(f->Form3->RadioGroup1Index(), index);
    }

    void versionsdialog()
    {
        TestWorkDir work;
        TestFenster f(work.path());
        TForm3 &dialog = *f->Form3;
        QCOMPARE(dialog.windowTitle(), QString("SRCP Version"));
        QCOMPARE(dialog.RadioGroup1->title(), QString("SRCP Protokoll Version"));

        QTimer::singleShot(0, &dialog, [&] {
            dialog.SetRadioGroup1Index(1);
            dialog.Button1->click();
        });
        f->SRCPVersion1->trigger();
        QCOMPARE(f->SrcpVersion, 80);
        PortsSind(*f.Form, "localhost", 12345);
        // The version is not written until the next save.
        QVERIFY(!QFile::exists(work.dataPath("parmc.dat")));

        QTimer::singleShot(0, &dialog, [&] {
            dialog.SetRadioGroup1Index(0);
            dialog.Button2->click();
        });
        f->SRCPVersion1->trigger();
        QCOMPARE(f->SrcpVersion, 80);

        QTimer::singleShot(0, &dialog, [&] { dialog.Button1->click(); });
        f->SRCPVersion1->trigger();
        QCOMPARE(f->SrcpVersion, 70);
        PortsSind(*f.Form, "localhost", 12345);
    }

    // The panels, the log and the connection dialog look as stored, pixel
    // for pixel: every place, size and caption of their parts, the log's
    // scroll bar, and the button the dialog opens on.
    void ansichten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("dekoder"); // after a press on a turnout in decoder mode
        for (const char *name : {"protokoll", "regler", "statusleiste", "verbindungsdialog"})
            QTest::newRow(name) << QString(name) << false;
        QTest::newRow("dekoderfeld") << "dekoderfeld" << true;
    }
    void ansichten()
    {
        QFETCH(QString, name);
        TestWorkDir work;
        TestFenster f(work.path());
        if (Spalte<bool>("dekoder")) {
            QVERIFY(QFile::copy(VELMO_TESTDATA "/plaene/fremde_nummern.pln", work.path() + "plan.pln"));
            f->PlanOeffnen(work.path() + "plan.pln");
            f->Dekoderadressen1->trigger();
            f->VelmoMouseDown(Qt::LeftButton, {}, 0, 0);
        }
        // A text cursor that does not blink and a work folder of a fixed name.
        QApplication::setCursorFlashTime(0);
        f->StatusBar1->SetzeText(1, "WorkDir: /velmo/");
        f->show();
        const QHash<QString, QWidget *> teile {{"dekoderfeld", f->Decod_Panel}, {"protokoll", f->Memo1}, {"regler", f->Regler_panel},
                                              {"statusleiste", f->StatusBar1}, {"verbindungsdialog", &*f->Form_IP}};
        QWidget *teil = teile[name];
        teil->show();
        QVERIFY(QTest::qWaitForWindowActive(teil->window()));
        QVERIFY(WieGespeichert(teil->grab().toImage(), name));
    }

    // Renders the palette and a plan holding every element in every state
    // to PNG files in the build directory, for a look by eye.
    void bilderAlsPng()
    {
        TestWorkDir work;
        TestFenster f(work.path());
        int zelle = 0;
        for (int element = 1; element <= 88; ++element)
            for (int state : {1, 2, 3, 11, 12, 13}) {
                f->Dokument.Zellen.NeuePosition(27 * (zelle % 36), 27 * (zelle / 36), element);
                f->ZeichneElement(state, 27 * (zelle % 36), 27 * (zelle / 36), element);
                ++zelle;
            }
        QCOMPARE(f->Dokument.Zellen.PosAnzahl, 88 * 6);
        // Every cell got its picture: none of them is left plain silver.
        for (int i = 0; i < zelle; ++i) {
            const QRect r(27 * (i % 36), 27 * (i / 36), 27, 27);
            bool nurSilber = true;
            for (int y = r.top(); y <= r.bottom() && nurSilber; ++y)
                for (int x = r.left(); x <= r.right() && nurSilber; ++x)
                    nurSilber = IstSilber(f->PlanBitmap, x, y);
            QVERIFY2(!nurSilber, qPrintable(QString("cell %1").arg(i)));
        }
        const QString ziel = QDir(QCoreApplication::applicationDirPath()).filePath("bilder");
        QDir().mkpath(ziel);
        f->PanelPaint();
        QVERIFY(f->PaletteBitmap.save(ziel + "/palette.png"));
        QVERIFY(f->PlanBitmap.save(ziel + "/plan_alle_elemente.png"));
    }
};

QTEST_MAIN(TestFenster_)
#include "test_fenster.moc"
