// The throttle panel and the decoder dialog through the main window: the
// drive lines a scripted server receives, the pictures the throttles show,
// and what confirming or cancelling the dialog leaves in the record.
#include "Velmo/TKlickBild.h"
#include "anlage.h"
#include "hilfen/fehler.h"
#include "lokfelder.h"
#include "spalte.h"
#include "lokunit/TForm2.h"
#include "ansicht.h"
#include "lokunit/TRadioGruppe.h"
#include "regler/TReglerPanel.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <malloc.h>

namespace {

struct Regleranlage : Anlage
{
    using Anlage::Anlage;
    TReglerPanel *P() const { return F->Regler_panel; }
    cLocoInfo &Lok(int i = 0) { return F->Lokomotiven[i]; }
    void Einrichten(const QByteArray &protokoll, int adresse, int vmax, int richtung, std::array<int, 4> codes)
    {
        cLocoInfo &lok = Lok();
        lok.Protokoll = protokoll;
        lok.Lokname = "BR 50";
        lok.Adresse = adresse;
        lok.Vmax = vmax;
        lok.Richtung = richtung;
        lok.Funktionsanzahl = 4;
        std::copy(codes.begin(), codes.end(), lok.Funktionen.begin());
    }
    // The file name of the picture a throttle control shows, from the
    // program's picture files; "-" when it shows none, "?" for another.
    QString Bildname(const QImage &bild) const
    {
        if (bild.isNull())
            return "-";
        for (const QString &name : QDir(Work.path() + "Data").entryList({"*.bmp"}))
            if (QImage(Work.dataPath(name)).convertToFormat(QImage::Format_RGB32) == bild.convertToFormat(QImage::Format_RGB32))
                return name.chopped(4);
        return "?";
    }
    QString Pfeil() const { return Bildname(P()->SpeedButton(0)->icon().pixmap(15, 15).toImage()); }
    QString F2() const { return Bildname(P()->Funktionsbild(0, 2)->Bild()); }
    void Tun(const QString &aktion)
    {
        QScrollBar *regler = P()->ScrollBar(0);
        if (aktion == "oben")
            regler->setValue(0);
        else if (aktion == "mitte")
            regler->setValue(regler->maximum() / 2);
        else if (aktion == "unten")
            regler->setValue(regler->maximum());
        else if (aktion == "richtung")
            QTest::mouseClick(P()->SpeedButton(0), Qt::LeftButton);
        else
            QTest::mouseClick(P()->Funktionsbild(0, aktion.mid(1).toInt()), Qt::LeftButton);
    }
};

bool Hervorgehoben(const QScrollBar *regler)
{
    return regler->palette().color(QPalette::Window) == regler->parentWidget()->palette().color(QPalette::Highlight);
}

} // namespace

class TestLokregler : public QObject
{
    Q_OBJECT
private slots:
    // Throttle 1 built by "Betrieb" and then used: every line the server
    // received since the connection, and the direction and F2 pictures
    // after each step.
    void fahren_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QByteArray>("protokoll");
        QTest::addColumn<int>("adresse");
        QTest::addColumn<int>("vmax");
        QTest::addColumn<int>("richtung");
        QTest::addColumn<int>("f2");
        QTest::addColumn<QStringList>("aktionen");
        QTest::addColumn<QByteArrayList>("zeilen");
        QTest::addColumn<QStringList>("bilder"); // "<direction>/<F2>" after each step
        const auto gl = [](const char *werte) { return QByteArray("SET GL M3 3 ") + werte + " 28 0 4 0 0 0 0 "; };
        QTest::newRow("Vmax 28 oben und unten")
            << 70 << QByteArray("M3") << 3 << 28 << 1 << 0 << QStringList {"oben", "unten"}
            << QByteArrayList {gl("1 0"), gl("1 28"), gl("1 0")} << QStringList {"pfeil_li/-", "pfeil_li/-"};
        QTest::newRow("M3 wendet im Stand")
            << 70 << QByteArray("M3") << 3 << 28 << 1 << 0 << QStringList {"richtung", "richtung"}
            << QByteArrayList {gl("1 0"), gl("0 0"), gl("1 0")} << QStringList {"pfeil_re/-", "pfeil_li/-"};
        QTest::newRow("Richtung während der Fahrt")
            << 70 << QByteArray("M3") << 3 << 28 << 1 << 0 << QStringList {"mitte", "richtung"}
            << QByteArrayList {gl("1 0"), gl("1 14"), gl("1 14")} << QStringList {"pfeil_li/-", "pfeil_li/-"};
        QTest::newRow("Richtung -1 im Stand")
            << 70 << QByteArray("M3") << 3 << 28 << -1 << 0 << QStringList {"richtung"}
            << QByteArrayList {gl("-1 0"), gl("1 0")} << QStringList {"pfeil_li/-"};
        QTest::newRow("N2 wendet im Stand")
            << 70 << QByteArray("N2") << 3 << 28 << 1 << 0 << QStringList {"richtung"}
            << QByteArrayList {"SET GL N2 3 1 0 28 0 4 0 0 0 0 ", "SET GL N2 3 0 0 28 0 4 0 0 0 0 "}
            << QStringList {"pfeil_re/-"};
        QTest::newRow("M1 im Stand") << 70 << QByteArray("M1") << 3 << 28 << 1 << 0 << QStringList {"richtung"}
                                     << QByteArrayList {"SET GL M1 3 1 0 28 0 4 0 0 0 0 ", "SET GL M1 3 0 0 28 0 4 0 0 0 0 "}
                                     << QStringList {"pfeil_dop/-"};
        QTest::newRow("Adresse 0: nur F0 sendet")
            << 70 << QByteArray("M3") << 0 << 28 << 1 << 0 << QStringList {"oben", "richtung", "f0"}
            << QByteArrayList {"SET GL M3 0 1 0 28 1 4 0 0 0 0 "} << QStringList {"pfeil_li/-", "pfeil_li/-", "pfeil_li/-"};
        QTest::newRow("F2 zweimal auf dem Horn")
            << 70 << QByteArray("M3") << 3 << 28 << 1 << 2 << QStringList {"f2", "f2"}
            << QByteArrayList {gl("1 0"), "SET GL M3 3 1 0 28 0 4 0 1 0 0 ", gl("1 0")}
            << QStringList {"pfeil_li/hupe_ein", "pfeil_li/hupe_aus"};
        QTest::newRow("leerer Platz sendet nur") << 70 << QByteArray("M3") << 3 << 28 << 1 << 0 << QStringList {"f1"}
                                                 << QByteArrayList {gl("1 0"), gl("1 0")} << QStringList {"pfeil_li/-"};
        QTest::newRow("Code ohne Bild") << 70 << QByteArray("M3") << 3 << 28 << 1 << 9 << QStringList {"f2", "f2"}
                                        << QByteArrayList {gl("1 0"), "SET GL M3 3 1 0 28 0 4 0 1 0 0 ", gl("1 0")}
                                        << QStringList {"pfeil_li/-", "pfeil_li/-"};
        QTest::newRow("0.80: INIT vor dem ersten Fahrbefehl")
            << 80 << QByteArray("M3") << 3 << 28 << 1 << 0 << QStringList {"oben"}
            << QByteArrayList {"INIT 1 GL 3 M 3 14 5", "SET 1 GL 3 1 0 28 0 0 0 0 0 ", "SET 1 GL 3 1 28 28 0 0 0 0 0 "}
            << QStringList {"pfeil_li/-"};
        QTest::newRow("0.80: N2 wendet im Stand")
            << 80 << QByteArray("N2") << 3 << 28 << 1 << 0 << QStringList {"richtung"}
            << QByteArrayList {"INIT 2 GL 3 N 3 14 5", "SET 2 GL 3 1 0 28 0 0 0 0 0 ", "SET 2 GL 3 0 0 28 0 0 0 0 0 "}
            << QStringList {"pfeil_re/-"};
    }
    void fahren()
    {
        QFETCH(QStringList, aktionen);
        QFETCH(QByteArrayList, zeilen);
        QFETCH(QStringList, bilder);
        Regleranlage a(Spalte<int>("version"));
        a.Einrichten(Spalte<QByteArray>("protokoll"), Spalte<int>("adresse"), Spalte<int>("vmax"),
                     Spalte<int>("richtung"), {0, Spalte<int>("f2"), 0, 0});
        QVERIFY(a.Verbunden());
        const qsizetype seit = a.Server.Zeilen.size();
        a.F->Betrieb1Click();
        QCOMPARE(a.P()->ScrollBar(0)->maximum(), 28);
        for (qsizetype s = 0; s < aktionen.size(); ++s) {
            a.Tun(aktionen[s]);
            QCOMPARE(a.Pfeil() + '/' + a.F2(), bilder[s]);
        }
        QCOMPARE(a.Zeilen(seit, zeilen.size()), zeilen);
        // Only the slider and the direction button show the name; the
        // build of throttle 10 showed record 9's.
        const bool beruehrt = a.Lok().Adresse > 0 && !aktionen.filter(QRegularExpression("^[a-z]{4,}")).isEmpty();
        QCOMPARE(a.P()->Lokname_label->text(), beruehrt ? "BR 50" : "Lok");
        QVERIFY(a.F.Dialogs->Meldungen.isEmpty());
    }

    // The panel as created, built by "Betrieb" and kept by "Lokregler".
    void aufbau()
    {
        Regleranlage a;
        TReglerPanel *p = a.P();
        QCOMPARE(p->size(), QSize(570, 113));
        QCOMPARE(p->findChild<QScrollBar *>("ScrollBar1")->geometry(), QRect(24, 0, 17, 80));
        QCOMPARE(p->findChild<QScrollBar *>("ScrollBar10")->geometry(), QRect(385, 0, 16, 80));
        QCOMPARE(p->findChild<QToolButton *>("SpeedButton10")->geometry(), QRect(384, 80, 17, 17));
        QCOMPARE(p->findChild<TKlickBild *>("Func3_pic10")->geometry(), QRect(405, 56, 15, 15));
        QCOMPARE(p->findChild<TKlickBild *>("Func_pic7")->geometry(), QRect(285, 8, 15, 15));
        QCOMPARE(p->findChild<QLabel *>("Regler7_Label")->pos(), QPoint(264, 96));
        QCOMPARE(p->Lokname_label->pos(), QPoint(432, 72));
        QCOMPARE(p->Lokvmax_Label->pos(), QPoint(432, 88));
        // Every control says what it does; the label for Vmax shows nothing yet.
        for (QWidget *w : p->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QVERIFY2(w == p->Lokvmax_Label || !w->toolTip().isEmpty(), qPrintable(w->objectName()));
        QVERIFY(Hervorgehoben(p->ScrollBar(0)) && !Hervorgehoben(p->ScrollBar(1)));
        QCOMPARE(p->ScrollBar(4)->value(), 100);

        for (int i = 0; i < TReglerPanel::Anzahl; ++i) {
            a.Lok(i).Adresse = i % 2 == 0 ? 0 : 10 + i;
            a.Lok(i).Vmax = i == 2 ? -5 : 20 + i;
            a.Lok(i).Lokname = "Lok " + QByteArray::number(i);
        }
        a.F->Betrieb1Click();
        QVERIFY(p->isVisible());
        for (int i = 0; i < TReglerPanel::Anzahl; ++i) {
            QCOMPARE(p->ReglerLabel(i)->text(), QString::number(a.Lok(i).Adresse));
            QCOMPARE(p->ScrollBar(i)->maximum(), std::max(a.Lok(i).Vmax, 0));
            QCOMPARE(p->ScrollBar(i)->value(), p->ScrollBar(i)->maximum());
            QCOMPARE(a.Bildname(p->Funktionsbild(i, 0)->Bild()), "Func_off");
        }
        QCOMPARE(p->Lokname_label->text(), "Lok 9");
        QCOMPARE(a.Pfeil(), "pfeil_dop");
        // Each build's slider move marks its throttle last: throttle 10.
        QVERIFY(Hervorgehoben(p->ScrollBar(9)) && !Hervorgehoben(p->ScrollBar(8)));

        QVERIFY(a.Verbunden());
        a.F->Softregler1Click();
        QVERIFY(a.F->ReglerModus && !a.F->BetriebModus && a.F->Softregler1->isChecked() && !a.F->Betrieb1->isChecked());
        QVERIFY(p->isVisible());
        const qsizetype seit = a.Server.Zeilen.size();
        p->ScrollBar(1)->setValue(0);
        QCOMPARE(a.Zeilen(seit, 1), QByteArrayList {"SET GL M1 11 -1 21 21 0 0 "});
        QVERIFY(Hervorgehoben(p->ScrollBar(1)) && !Hervorgehoben(p->ScrollBar(9)));

        // Sixty drags over the whole range, the panel drawn after every
        // step: the heap stays where it was (a new palette at every step
        // grew it by megabytes).
        const std::size_t heap = mallinfo2().uordblks;
        for (int zug = 0; zug < 60; ++zug)
            for (int v = 0; v <= 21; ++v) {
                p->ScrollBar(1)->setValue(zug % 2 ? 21 - v : v);
                QCoreApplication::processEvents();
            }
        QVERIFY2(mallinfo2().uordblks < heap + 1000000, qPrintable(QString::number(mallinfo2().uordblks - heap)));
    }

    // The dialog opened by throttle 1's direction button in "Lokregler"
    // mode, driven step by step, and the record, dialog and settings file
    // afterwards (cancelled after an error: as before), and the record after
    // a restart.
    void dialog_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QByteArray>("protokoll");
        QTest::addColumn<QStringList>("schritte");
        QTest::addColumn<QString>("danach"); // Adresse Name Vmax Protokoll Anzahl Stufen Richtung F1..F4
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<bool>("geschrieben");
        const QString vorher = "3 BR 50 80 M3 4 0 -1 2 3 13 0";
        QTest::newRow("nur speichern") << 70 << QByteArray("M3") << QStringList {"ok"}
                                       << "3 BR 50 80 M3 4 14 1 2 3 3 0" << "" << true;
        QTest::newRow("leere Adresse") << 70 << QByteArray("M3") << QStringList {"adresse=", "ok"} << vorher << "" << true;
        QTest::newRow("abbrechen") << 70 << QByteArray("M3") << QStringList {"adresse=9", "abbrechen"} << vorher << "" << false;
        QTest::newRow("N2 unter 0.73 mit Feldern")
            << 70 << QByteArray("M3") << QStringList {"dcc", "variante=2", "fn=8", "stufen=28", "ok"}
            << "3 BR 50 80 N2 4 14 1 2 3 3 0" << "" << true;
        QTest::newRow("N2 unter 0.80 mit Feldern")
            << 80 << QByteArray("M3") << QStringList {"dcc", "variante=2", "fn=8", "stufen=28", "ok"}
            << "3 BR 50 80 N2 8 28 1 2 3 3 0" << "" << true;
        QTest::newRow("M1 unter 0.80") << 80 << QByteArray("M3") << QStringList {"variante=0", "fn=8", "ok"}
                                       << "3 BR 50 80 M1 0 14 1 2 3 13 0" << "" << true;
        QTest::newRow("Vmax kein Wert") << 70 << QByteArray("M3") << QStringList {"adresse=7", "vmax=zehn", "ok"}
                                        << vorher << "'zehn' ist kein gültiger Integerwert" << false;
        QTest::newRow("Adresse und Vmax kein Wert") << 70 << QByteArray("M3") << QStringList {"adresse=x7", "vmax=zehn", "ok"}
                                                    << vorher << "'x7' ist kein gültiger Integerwert" << false;
        QTest::newRow("Ablage ohne Bild") << 70 << QByteArray("M3") << QStringList {"ablage=leer", "slot=1", "ok"}
                                          << "3 BR 50 80 M3 4 14 1 2 3 3 0" << "" << true;
        QTest::newRow("Ablage mit fremdem Bild")
            << 70 << QByteArray("M3") << QStringList {"ablage=bild", "slot=1", "ok"}
            << "3 BR 50 80 M3 4 14 1 0 3 3 0" << "" << true;
        QTest::newRow("gewähltes Symbol") << 70 << QByteArray("M3") << QStringList {"symbol=5", "slot=4", "ok"}
                                          << "3 BR 50 80 M3 4 14 1 2 3 3 5" << "" << true;
        QTest::newRow("Rechtsklick, abbrechen") << 70 << QByteArray("M3") << QStringList {"rechts=3", "abbrechen"}
                                                << vorher << "" << false;
        QTest::newRow("Rechtsklick, speichern") << 70 << QByteArray("M3") << QStringList {"rechts=3", "ok"}
                                                << "3 BR 50 80 M3 4 14 1 2 3 0 0" << "" << true;
        QTest::newRow("DCC noch einmal gedrückt behält N3")
            << 70 << QByteArray("N3") << QStringList {"dcc", "ok"}
            << "3 BR 50 80 N3 4 14 1 2 3 3 0" << "" << true;
        QTest::newRow("F5 tut nichts") << 70 << QByteArray("M3") << QStringList {"symbol=2", "f5", "ok"}
                                       << "3 BR 50 80 M3 4 14 1 2 3 3 0" << "" << true;
    }
    void dialog()
    {
        QFETCH(QStringList, schritte);
        QFETCH(QString, meldung);
        Regleranlage a(Spalte<int>("version"));
        a.Einrichten(Spalte<QByteArray>("protokoll"), 3, 80, -1, {2, 3, 13, 0});
        a.F->Betrieb1Click();
        a.F->Softregler1Click();
        TForm2 *d = a.F->Form2.get();
        a.F->Bahn->SaveParameters();
        const QByteArray datei = Dateiinhalt(a.Work.dataPath("parmc.dat"));
        QFile::remove(a.Work.dataPath("parmc.dat"));
        bool offen = false, bleibt = false;
        QTimer::singleShot(0, d, [&] {
            offen = d->isVisible();
            for (const QString &schritt : schritte)
                Schritt(d, schritt);
            bleibt = d->isVisible();
            d->reject();
        });
        QTest::mouseClick(a.P()->SpeedButton(0), Qt::LeftButton);
        QVERIFY(offen);
        QCOMPARE(Felder(a.Lok()), Spalte<QString>("danach"));
        QCOMPARE(a.F.Dialogs->Meldungen.isEmpty() ? QString() : a.F.Dialogs->Meldungen[0].Text, meldung);
        QCOMPARE(QFile::exists(a.Work.dataPath("parmc.dat")), Spalte<bool>("geschrieben"));
        QCOMPARE(bleibt, !meldung.isEmpty());
        if (!Spalte<bool>("geschrieben")) {
            // Exit then writes the settings as they were.
            a.F->Bahn->SaveParameters();
            QCOMPARE(Dateiinhalt(a.Work.dataPath("parmc.dat")), datei);
            return;
        }
        QCOMPARE(a.P()->ReglerLabel(0)->text(), QString::number(a.Lok().Adresse));
        // A restart reads the record back, its speed steps too.
        QCOMPARE(Felder(TestFenster(a.Work.path())->Lokomotiven[0]), Spalte<QString>("danach"));
    }

    // What opening shows: the family and variant, the slot pictures, the
    // count fields by version.
    void dialogOeffnen()
    {
        Regleranlage a(70);
        a.Einrichten("M3", 3, 80, 1, {0, 3, 13, 0});
        a.F->Lokomotiven[1] = a.Lok();
        a.F->Lokomotiven[1].Protokoll = "N2";
        TForm2 *d = a.F->Form2.get();
        d->Fuellen(a.Lok(), 70, [] {});
        QVERIFY(d->RadioButton3->isChecked() && d->RadioGroup2->isVisibleTo(d) && !d->RadioGroup1->isVisibleTo(d));
        QCOMPARE(d->RadioGroup2->ItemIndex(), 2);
        QCOMPARE(a.Bildname(d->Func[1]->Bild()), "kupplung_ein");
        QCOMPARE(a.Bildname(d->Func[2]->Bild()), "kupplung_ein"); // stored switched on
        QVERIFY(WieGespeichert(d->grab().toImage(), "lokdialog"));
        // A picked symbol shows in the slot pressed.
        Schritt(d, "symbol=5");
        Schritt(d, "slot=4");
        QCOMPARE(d->Func[3]->Bild(), d->Func_image[4]->Bild());
        QVERIFY(!d->Dekodfn_edit->isEnabled() && !d->Speed_edit->isEnabled());
        QCOMPARE(d->Dekodfn_edit->text() + '|' + d->Speed_edit->text(), "4|");
        d->Speed_edit->setText("28");
        a.F->Lokomotiven[1].Funktionsanzahl = 6;
        d->Fuellen(a.F->Lokomotiven[1], 80, [] {});
        QVERIFY(d->RadioButton4->isChecked() && d->RadioGroup1->isVisibleTo(d) && !d->RadioGroup2->isVisibleTo(d));
        QCOMPARE(d->RadioGroup1->ItemIndex(), 2);
        QVERIFY(d->Dekodfn_edit->isEnabled() && d->Func[0]->isVisibleTo(d));
        QCOMPARE(d->Dekodfn_edit->text() + '|' + d->Speed_edit->text(), "6|");
        QVERIFY(d->findChild<QLabel *>("Label11")->width() <= 196);
        // Opening the DCC record selected M1 and NB, which have no functions;
        // a Märklin variant shows them, choosing DCC again hides them.
        QTest::mouseClick(d->RadioButton3, Qt::LeftButton, {}, QPoint(5, 8));
        QVERIFY(d->RadioGroup2->isVisibleTo(d) && d->RadioGroup2->ItemIndex() == 0 && !d->Func[0]->isVisibleTo(d));
        Schritt(d, "variante=2");
        QVERIFY(d->Func[0]->isVisibleTo(d));
        QTest::mouseClick(d->RadioButton4, Qt::LeftButton, {}, QPoint(5, 8));
        QVERIFY(d->RadioGroup1->ItemIndex() == 0 && !d->Func[0]->isVisibleTo(d) && !d->Panel6->isVisibleTo(d));
        a.Work.writeData("kupplung_ein.bmp", "kein Bild");
        QVERIFY_THROWS_EXCEPTION(VelmoFehler, d->Fuellen(a.Lok(), 70, [] {}));
        QCOMPARE(d->geometry().size(), QSize(595, 514));
        QCOMPARE(d->OK_Button->geometry(), QRect(216, 480, 73, 25));
        QCOMPARE(d->Func[3]->parentWidget()->geometry(), QRect(256, 440, 25, 25));
    }

private:
    static void Schritt(TForm2 *d, const QString &schritt)
    {
        const QString name = schritt.section('=', 0, 0), wert = schritt.section('=', 1);
        const QHash<QString, QLineEdit *> felder {{"adresse", d->Adresse_Edit}, {"vmax", d->Vmax_Edit},
                                                  {"fn", d->Dekodfn_edit}, {"stufen", d->Speed_edit}};
        if (felder.contains(name))
            felder[name]->setText(wert);
        else if (name == "dcc")
            QTest::mouseClick(d->RadioButton4, Qt::LeftButton, {}, QPoint(5, 8));
        else if (name == "variante")
            QTest::mouseClick((d->DialogMaerklin ? d->RadioGroup2 : d->RadioGroup1)->findChildren<QRadioButton *>()[wert.toInt()],
                              Qt::LeftButton, {}, QPoint(5, 8));
        else if (name == "ablage" && wert == "leer")
            QGuiApplication::clipboard()->clear();
        else if (name == "ablage")
            QGuiApplication::clipboard()->setImage(QImage(5, 5, QImage::Format_RGB32));
        else if (name == "symbol")
            QTest::mousePress(d->Func_image[wert.toInt() - 1], Qt::RightButton);
        else if (name == "slot")
            QTest::mousePress(d->Func[wert.toInt() - 1], Qt::LeftButton);
        else if (name == "rechts")
            QTest::mousePress(d->Func[wert.toInt() - 1], Qt::RightButton);
        else if (name == "f5")
            QTest::mousePress(d->Func[4], Qt::LeftButton);
        else if (name == "ok")
            QTest::mouseClick(d->OK_Button, Qt::LeftButton);
        else
            QTest::mouseClick(d->Cancel_Button, Qt::LeftButton);
    }
};

QTEST_MAIN(TestLokregler)
#include "test_lokregler.moc"
