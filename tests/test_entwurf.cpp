// Drawing and keeping plans through the main window, offscreen with
// scripted dialogs: the working modes, the palette, placing with real mouse
// events, the decoder panel, the plan file commands, unsaved changes and
// loading while connected.
#include "Velmo/TBildFlaeche.h"
#include "Velmo/TDekoderPanel.h"
#include "regler/TReglerPanel.h"
#include "Velmo/TStatusLeiste.h"
#include "bedienung/Planansicht.h"
#include "dateifehler.h"
#include "elemente/BildSpeicher.h"
#include "elemente/Bilder.h"
#include "modustext.h"
#include "position/PlanDatei.h"
#include "scripteddialoge.h"
#include "skriptserver.h"
#include "testwork.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

Q_DECLARE_METATYPE(Dialoge::Antwort)

namespace {

QImage Icon(const TestWorkDir &work, int element, int state)
{
    QImage bild;
    LadeBild(work.dataPath(IconName(element, state)), bild);
    return bild;
}

QImage Zelle(const QImage &bild, QPoint ecke)
{
    return bild.copy(QRect(ecke, QSize(27, 27)));
}

QImage Silber()
{
    QImage bild(27, 27, QImage::Format_RGB32);
    bild.fill(QColor(192, 192, 192));
    return bild;
}

void Maus(QWidget *w, QEvent::Type typ, QPoint p, Qt::MouseButton taste, Qt::MouseButtons gehalten,
          Qt::KeyboardModifiers umschalt = {})
{
    QMouseEvent e(typ, p, w->mapToGlobal(p), taste, gehalten, umschalt);
    QApplication::sendEvent(w, &e);
}

void Druck(QWidget *w, QPoint p, Qt::MouseButton taste = Qt::LeftButton)
{
    Maus(w, QEvent::MouseButtonPress, p, taste, taste);
}

void Loslassen(QWidget *w, QPoint p, Qt::MouseButton taste = Qt::LeftButton)
{
    Maus(w, QEvent::MouseButtonRelease, p, taste, {});
}

// A shown main window over its own work directory; the box about the
// missing settings file is already answered.
struct Fenster
{
    TestWorkDir Work;
    TestFenster F {Work.path()};

    Fenster()
    {
        F.Dialogs->Meldungen.clear();
        F->N1024mal768->trigger();
        F->show();
        QVERIFY(QTest::qWaitForWindowExposed(F.Form.get()));
    }
    ScriptedDialoge &D() { return *F.Dialogs; }
    QString Pfad(const QString &name) const { return Work.path() + name; }
    void Neu(const QString &name)
    {
        D().FileAnswers << Pfad(name);
        F->Neu1->trigger();
    }
    void Oeffnen(const QString &pfad)
    {
        D().FileAnswers << pfad;
        F->Oeffnen1->trigger();
    }
    // Picks an element in the palette and puts it down at view point p.
    void Setzen(int element, QPoint p)
    {
        Druck(F->Panel, QPoint(28 * ((element - 1) % 22) + 5, 28 * ((element - 1) / 22) + 5));
        Druck(F->Velmo, p);
        Loslassen(F->Velmo, p);
    }
    QString Flaggen() const { return ::Flaggen(*F.Form); }
    QStringList Gezeigt() const
    {
        QStringList namen;
        for (QWidget *panel : QList<QWidget *> {F->Panel, F->Decod_Panel, F->Regler_panel, F->Manage_panel})
            if (panel->isVisible())
                namen << panel->objectName();
        return namen;
    }
    QStringList Markiert() const
    {
        QStringList namen;
        for (QAction *item : {F->Gleisbildentwerfen1, F->Dekoderadressen1, F->Betrieb1, F->Fahrstrassen1, F->Fahrstrassenbearbeiten1, F->Softregler1})
            if (item->isChecked())
                namen << item->objectName();
        return namen;
    }
};

} // namespace

class TestEntwurf : public QObject
{
    Q_OBJECT
private slots:
    // Each handler from another mode: the flags, check marks and panels it
    // leaves, and whether it wrote the plan file.
    void modusHandler_data()
    {
        QTest::addColumn<QString>("von");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("flaggen");
        QTest::addColumn<QStringList>("markiert");
        QTest::addColumn<QStringList>("panels");
        QTest::addColumn<bool>("gespeichert");
        const QStringList betriebPanels {"Regler_panel", "Manage_panel"};
        QTest::newRow("Entwurf nach Betrieb") << "Betrieb1" << "Gleisbildentwerfen1" << "E+"
                                              << QStringList {"Gleisbildentwerfen1"} << QStringList {"Panel"} << false;
        QTest::newRow("Entwurf nach Dekoder") << "Dekoderadressen1" << "Gleisbildentwerfen1" << "E+"
                                              << QStringList {"Gleisbildentwerfen1"} << QStringList {"Panel"} << false;
        QTest::newRow("Dekoder nach Entwurf") << "Gleisbildentwerfen1" << "Dekoderadressen1" << "D"
                                              << QStringList {"Dekoderadressen1"} << QStringList {"Decod_Panel"} << true;
        QTest::newRow("Dekoder nach Betrieb") << "Betrieb1" << "Dekoderadressen1" << "D"
                                              << QStringList {"Dekoderadressen1"} << QStringList {"Decod_Panel"} << true;
        QTest::newRow("Betrieb nach Entwurf") << "Gleisbildentwerfen1" << "Betrieb1" << "B" << QStringList {"Betrieb1"}
                                              << betriebPanels << true;
        QTest::newRow("Betrieb nach Dekoder") << "Dekoderadressen1" << "Betrieb1" << "B" << QStringList {"Betrieb1"}
                                              << betriebPanels << true;
        QTest::newRow("Fahrstrassen speichert nur") << "Dekoderadressen1" << "Fahrstrassen1" << "D+"
                                                    << QStringList {"Dekoderadressen1"} << QStringList {"Decod_Panel"}
                                                    << true;
        QTest::newRow("Lokregler nach Betrieb") << "Betrieb1" << "Softregler1" << "R+" << QStringList {"Softregler1"}
                                                << betriebPanels << false;
    }
    void modusHandler()
    {
        QFETCH(QString, von);
        QFETCH(QString, item);
        Fenster w;
        w.Neu("anlage");
        w.F->findChild<QAction *>(von)->trigger();
        Druck(w.F->Panel, {5, 5});
        QFile::remove(w.Pfad("anlage.pln"));
        w.F->findChild<QAction *>(item)->trigger();
        QTEST(w.Flaggen(), "flaggen");
        QTEST(w.Markiert(), "markiert");
        QTEST(w.Gezeigt(), "panels");
        QTEST(QFile::exists(w.Pfad("anlage.pln")), "gespeichert");
        QVERIFY(w.D().Meldungen.isEmpty());
    }

    // The key of each row's name works in the whole window, whichever
    // control has the focus: "sieht" is the item checked, the panels shown
    // (or the window closed), the file dialog opened, the plan file written.
    void tastenkuerzel_data()
    {
        for (const char *spalte : {"von", "fokus", "sieht"})
            QTest::addColumn<QString>(spalte);
        const QString betrieb = "Betrieb1 | Regler_panel,Manage_panel | ", dekoder = "Dekoderadressen1 | Decod_Panel | ";
        QTest::newRow("Ctrl+N") << "Betrieb1" << "ScrollBar1" << betrieb + "Neue Datei anlegen | ";
        QTest::newRow("Ctrl+O") << "Dekoderadressen1" << "Decod_edit1" << dekoder + "Öffnen | ";
        QTest::newRow("Ctrl+S") << "Gleisbildentwerfen1" << "Panel" << "Gleisbildentwerfen1 | Panel |  | gespeichert";
        QTest::newRow("Ctrl+Shift+S") << "Betrieb1" << "SpeedButton1" << betrieb + "Unter neuem Namen speichern | ";
        QTest::newRow("Ctrl+Q") << "Dekoderadressen1" << "Daten_Edit2" << "Dekoderadressen1 | geschlossen |  | ";
        QTest::newRow("F2") << "Betrieb1" << "ScrollBar3" << "Gleisbildentwerfen1 | Panel |  | ";
        QTest::newRow("F3") << "Gleisbildentwerfen1" << "Panel" << dekoder + " | gespeichert";
        QTest::newRow("F4") << "Dekoderadressen1" << "Decod_edit1" << betrieb + " | gespeichert";
        QTest::newRow("F5") << "Betrieb1" << "SpeedButton1" << betrieb + " | gespeichert";
        QTest::newRow("F6") << "Dekoderadressen1" << "Protokoll_Edit" << "Fahrstrassenbearbeiten1 |  |  | gespeichert";
    }
    void tastenkuerzel()
    {
        QFETCH(QString, von);
        QFETCH(QString, fokus);
        Fenster w;
        w.Neu("anlage");
        w.F->findChild<QAction *>(von)->trigger();
        QWidget *ziel = w.F->findChild<QWidget *>(fokus);
        ziel->setFocus();
        QCOMPARE(QApplication::focusWidget(), ziel);
        QFile::remove(w.Pfad("anlage.pln"));
        QTest::keySequence(ziel, QKeySequence(QTest::currentDataTag()));
        const QStringList sieht {w.Markiert().join(','), w.F->isVisible() ? w.Gezeigt().join(',') : "geschlossen",
                                 w.D().DateiDialoge.mid(1).join(',').section('|', 0, 0), QFile::exists(w.Pfad("anlage.pln")) ? "gespeichert" : ""};
        QTEST(sieht.join(" | "), "sieht");
    }

    // Before any mode and in throttle mode a press on the plan changes nothing.
    void druckOhneEntwurf()
    {
        Fenster w;
        Druck(w.F->Velmo, {30, 30}, Qt::RightButton);
        w.Neu("anlage");
        w.Setzen(6, {30, 30});
        w.F->Softregler1->trigger();
        const QImage vorher = w.F->PlanBitmap;
        const QString status = w.F->StatusBar1->Text(1);
        Druck(w.F->Panel, {5, 5});
        for (Qt::MouseButton taste : {Qt::LeftButton, Qt::RightButton}) {
            Druck(w.F->Velmo, {30, 30}, taste);
            Loslassen(w.F->Velmo, {30, 30}, taste);
        }
        QCOMPARE(w.F->PlanBitmap, vorher);
        QCOMPARE(w.F->Dokument.Zellen.PosAnzahl, 1);
        QCOMPARE(w.F->Dokument.Zellen.Positionen[1].Element, 6);
        QCOMPARE(w.F->StatusBar1->Text(1), status);
    }

    void palette()
    {
        Fenster w;
        w.F->resize(500, 600);
        w.Neu("anlage");
        QCOMPARE(w.F->Panel->size(), QSize(w.F->Client->width(), 113));
        QCOMPARE(w.F->Panel->grab().toImage().copy(0, 0, w.F->Panel->width(), 113), w.F->PaletteBitmap.copy(0, 0, w.F->Panel->width(), 113));
        w.F->resize(1000, 700);
        w.F->Gleisbildentwerfen1->trigger();
        QCOMPARE(w.F->Panel->size(), QSize(617, 113));

        // Every button picks alike.
        for (Qt::MouseButton taste : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            for (const auto &[punkt, element] : {std::pair {QPoint(28, 28), 24}, {QPoint(27, 27), 1}, {QPoint(600, 100), 88}}) {
                Druck(w.F->Panel, punkt, taste);
                QCOMPARE(w.F->GewaehltesElement, element);
                QCOMPARE(w.F->GewaehltesBild, Icon(w.Work, element, 1));
            }
        // The tooltip follows the pointer: name and positions (as many as states); none on the border.
        w.F->Elemente[8].Zustaende = 1;
        for (const auto &[punkt, tipp] : {std::pair {QPoint(28 * 5 + 27, 27), "Weiche\nStellungen: gerade, abzweigend"},
                                          {QPoint(28 * 9 + 5, 5), "Dreiwegweiche\nStellungen: gerade, links, rechts"},
                                          {QPoint(28 * 7 + 5, 5), "Weiche\nStellung: gerade"}, {QPoint(1, 1), "Gerade"}, {QPoint(30, 112), ""}}) {
            QHelpEvent hilfe(QEvent::ToolTip, punkt, w.F->Panel->mapToGlobal(punkt));
            QApplication::sendEvent(w.F->Panel, &hilfe);
            QTRY_COMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), QString(tipp));
        }
        // The border below the last row holds no element: the pick stays.
        Druck(w.F->Panel, {30, 112});
        QCOMPARE(w.F->GewaehltesElement, 88);
        QVERIFY(w.F->ElementGewaehlt);
        // Entering design mode reads the catalogue only when it is not loaded.
        QFile::remove(w.Work.dataPath("Elemente1.dat"));
        w.F->Gleisbildentwerfen1->trigger();
        QVERIFY(w.D().Meldungen.isEmpty());
        w.F->ElementeGeladen = false;
        w.F->Gleisbildentwerfen1->trigger();
        QCOMPARE(w.D().Meldungen.size(), 1);
    }

    void platzierenZiehenLoeschen()
    {
        Fenster w;
        w.Neu("anlage");
        const QImage kreuzung = Icon(w.Work, 12, 1);

        // A right press before any placement paints the plan colour.
        w.F->ZeichneElement(1, 0, 0, 5);
        Druck(w.F->Velmo, {3, 3}, Qt::RightButton);
        QCOMPARE(Zelle(w.F->PlanBitmap, {0, 0}), Silber());

        // Picked, then another icon drawn (a feedback line, say) before the
        // placement: the picked element is placed all the same.
        w.F->HScrollBar->setValue(54);
        Druck(w.F->Panel, {28 * 11 + 3, 3});
        w.F->ZeichneElement(2, 500, 500, 65);
        Druck(w.F->Velmo, {100, 57});
        QCOMPARE(w.F->StatusBar1->Text(1), QString("x: 100 y: 57"));
        QCOMPARE(Zelle(w.F->Velmo->grab().toImage(), {81, 54}), kreuzung);
        QCOMPARE(Zelle(w.F->PlanBitmap, {135, 54}), kreuzung);
        QCOMPARE(w.F->Dokument.Zellen.PosAnzahl, 0);
        QVERIFY(!w.F->Dokument.Geaendert());
        Loslassen(w.F->Velmo, {100, 57});
        QCOMPARE(w.F->Dokument.Zellen.PosAnzahl, 1);
        QCOMPARE(QPoint(w.F->Dokument.Zellen.Positionen[1].X, w.F->Dokument.Zellen.Positionen[1].Y), QPoint(135, 54));
        QVERIFY(w.F->Dokument.Geaendert() && !w.F->ElementGewaehlt);

        // Dragged from (10, 10) to (70, 10): the first cell shows what it
        // showed before, the icon ends at (54, 0).
        w.F->HScrollBar->setValue(0);
        w.F->ZeichneElement(1, 0, 0, 1);
        const QImage gerade = Zelle(w.F->PlanBitmap, {0, 0});
        Druck(w.F->Panel, {28 * 11 + 3, 3});
        Druck(w.F->Velmo, {10, 10});
        Maus(w.F->Velmo, QEvent::MouseMove, {40, 10}, Qt::NoButton, Qt::LeftButton);
        Maus(w.F->Velmo, QEvent::MouseMove, {70, 10}, Qt::NoButton, Qt::LeftButton);
        Loslassen(w.F->Velmo, {70, 10});
        QCOMPARE(Zelle(w.F->PlanBitmap, {0, 0}), gerade);
        QCOMPARE(Zelle(w.F->PlanBitmap, {27, 0}), Silber());
        QCOMPARE(Zelle(w.F->PlanBitmap, {54, 0}), kreuzung);
        QCOMPARE(Zelle(w.F->Velmo->grab().toImage(), {54, 0}), kreuzung);
        QCOMPARE(w.F->Dokument.Zellen.FindeElement(54, 0), 12);
        QCOMPARE(w.F->Rueckgaengig1->text(), QString("&Rückgängig: Kreuzung ziehen"));

        // With Shift held the icon stays where it was pressed; the record
        // goes to the cell of the release all the same.
        Druck(w.F->Panel, {3, 3});
        Druck(w.F->Velmo, {10, 100});
        Maus(w.F->Velmo, QEvent::MouseMove, {70, 100}, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
        Loslassen(w.F->Velmo, {70, 100});
        QCOMPARE(Zelle(w.F->PlanBitmap, {0, 81}), Icon(w.Work, 1, 1));
        QCOMPARE(Zelle(w.F->PlanBitmap, {54, 81}), Silber());
        QCOMPARE(w.F->Dokument.Zellen.FindeElement(54, 81), 1);

        // Onto an occupied cell: the new icon shows, the lookups keep the first record.
        w.Setzen(6, {60, 5});
        QCOMPARE(Zelle(w.F->PlanBitmap, {54, 0}), Icon(w.Work, 6, 1));
        QCOMPARE(w.F->Dokument.Zellen.FindePosition(54, 0), 2);
        QCOMPARE(w.F->Dokument.Zellen.Positionen[4].Element, 6);

        // A right press paints the save-under picture and clears the first record.
        w.F->Dokument.Gesichert();
        Druck(w.F->Velmo, {60, 5}, Qt::RightButton);
        QCOMPARE(w.F->Dokument.Zellen.Positionen[2].Element, 0);
        QCOMPARE(w.F->Dokument.Zellen.FindePosition(54, 0), 4);
        QCOMPARE(w.F->Dokument.Zellen.PosAnzahl, 4);
        QCOMPARE(Zelle(w.F->PlanBitmap, {54, 0}), kreuzung);
        QVERIFY(w.F->Dokument.Geaendert());
        QVERIFY(w.D().Meldungen.isEmpty());
    }

    // Ctrl+Z takes a placement back: the cell shows again what it showed
    // before, on the view and in the plan, and the menu names the steps;
    // back at the saved plan nothing is asked. In operating mode there is
    // no undo.
    void rueckgaengig()
    {
        Fenster w;
        w.Neu("anlage");
        w.Setzen(1, {30, 30});
        w.F->Speichern1->trigger();
        const QImage gerade = Zelle(w.F->PlanBitmap, {27, 27});
        w.Setzen(6, {30, 30});
        QCOMPARE(w.F->Rueckgaengig1->text(), QString("&Rückgängig: Weiche setzen"));
        QTest::keySequence(w.F->Velmo, QKeySequence("Ctrl+Z"));
        QCOMPARE(Zelle(w.F->PlanBitmap, {27, 27}), gerade);
        QCOMPARE(Zelle(w.F->Velmo->grab().toImage(), {27, 27}), gerade);
        QCOMPARE(w.F->Rueckgaengig1->text(), QString("&Rückgängig: Gerade setzen"));
        QCOMPARE(w.F->Wiederherstellen1->text(), QString("&Wiederherstellen: Weiche setzen"));
        QTest::keySequence(w.F->Velmo, QKeySequence("Ctrl+Shift+Z"));
        QCOMPARE(Zelle(w.F->Velmo->grab().toImage(), {27, 27}), Icon(w.Work, 6, 1));
        QTest::keySequence(w.F->Velmo, QKeySequence("Ctrl+Z"));
        w.Neu("neu");
        QVERIFY(w.D().Fragen.isEmpty());
        QCOMPARE(w.F->Rueckgaengig1->text(), QString("&Rückgängig"));
        w.Setzen(6, {30, 30});
        w.F->Betrieb1->trigger();
        QVERIFY(!w.F->Rueckgaengig1->isEnabled());
        w.F->Gleisbildentwerfen1->trigger();
        QVERIFY(w.F->Rueckgaengig1->isEnabled());
    }

    // A placement at each zoom lands in the cell the view shows under the
    // press, the status bar names it, the screen shows its pixels as f x f
    // blocks (the plan keeps them 1:1), a page is the whole cells in view.
    void zoomSetzen_data()
    {
        QTest::addColumn<int>("f");
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QPoint>("druck");
        QTest::addColumn<QPoint>("zelle");
        QTest::addColumn<int>("seite");
        QTest::newRow("100 %: erste Zelle") << 1 << QPoint(0, 0) << QPoint(26, 26) << QPoint(0, 0) << 972;
        QTest::newRow("200 %: letzte Zelle") << 2 << QPoint(918, 621) << QPoint(107, 107) << QPoint(945, 648) << 486;
        QTest::newRow("300 %: letzte Zelle") << 3 << QPoint(945, 648) << QPoint(80, 80) << QPoint(945, 648) << 324;
    }
    void zoomSetzen()
    {
        QFETCH(int, f);
        QFETCH(QPoint, scroll);
        QFETCH(QPoint, druck);
        QFETCH(QPoint, zelle);
        Fenster w;
        w.Neu("anlage");
        w.F->findChild<QAction *>(QStringLiteral("Zoom%1").arg(100 * f))->trigger();
        w.F->HScrollBar->setValue(scroll.x());
        w.F->VScrollBar->setValue(scroll.y());
        QTEST(w.F->HScrollBar->pageStep(), "seite");
        w.Setzen(12, druck);
        QCOMPARE(QPoint(w.F->Dokument.Zellen.Positionen[1].X, w.F->Dokument.Zellen.Positionen[1].Y), zelle);
        QCOMPARE(w.F->StatusBar1->Zelle(), Zellenname(zelle, {980, 680}));
        const QImage icon = Icon(w.Work, 12, 1);
        QCOMPARE(Zelle(w.F->PlanBitmap, zelle), icon);
        const QImage schirm = w.F->Velmo->grab().toImage().copy(QRect((zelle - scroll) * f, QSize(27, 27) * f));
        QCOMPARE(schirm, icon.scaled(27 * f, 27 * f));
    }

    // The grid is on the screen only, in design mode with "Raster" checked.
    void raster()
    {
        Fenster w;
        w.Neu("anlage");
        w.Setzen(12, {30, 30});
        w.F->Zoom200->trigger();
        const QImage plan = w.F->PlanBitmap;
        const auto linien = [&w] {
            const QImage s = w.F->Velmo->grab().toImage();
            return QList<QColor> {s.pixel(54, 10), s.pixel(55, 10), s.pixel(10, 108), s.pixel(10, 109)};
        };
        const QColor s(192, 192, 192), g(128, 128, 128);
        for (const auto &[item, gitter] : {std::pair {w.F->Raster1, QList {g, s, g, s}}, {w.F->Betrieb1, QList {s, s, s, s}},
                                           {w.F->Gleisbildentwerfen1, QList {g, s, g, s}}}) {
            item->trigger();
            QCOMPARE(linien(), gitter);
        }
        QCOMPARE(w.F->PlanBitmap, plan);
        // Where the plan ends, its grid ends.
        w.F->HScrollBar->setValue(972);
        const QImage ende = w.F->Velmo->grab().toImage();
        QCOMPARE((QList<QColor> {ende.pixel(15, 108), ende.pixel(16, 108)}), (QList<QColor> {g, s}));
        // The next start shows the grid again.
        QVERIFY(TestFenster(w.Work.path())->Raster1->isChecked());
    }

    void vollesGleisbild()
    {
        Fenster w;
        w.Neu("anlage");
        w.Setzen(12, {100, 100});
        for (int i = 1; i < MaxPositionen; ++i)
            w.F->Dokument.Zellen.NeuePosition(0, 0, 1);
        w.F->Dokument.Gesichert();
        w.Setzen(6, {100, 100});
        QCOMPARE(w.D().Meldungen.size(), 1);
        QCOMPARE(w.D().Meldungen[0].Text, QString("Das Gleisbild ist voll: höchstens 10000 Elemente."));
        QCOMPARE(w.D().Meldungen[0].Caption, QString("Fehler"));
        QCOMPARE(Zelle(w.F->PlanBitmap, {81, 81}), Icon(w.Work, 12, 1));
        QCOMPARE(Zelle(w.F->Velmo->grab().toImage(), {81, 81}), Icon(w.Work, 12, 1));
        QCOMPARE(w.F->Dokument.Zellen.PosAnzahl, MaxPositionen);
        QVERIFY(!w.F->Dokument.Geaendert());
        QVERIFY(w.F->ElementGewaehlt);
    }

    void dekoderPanel_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("zeilen");
        QTest::newRow("drei Stellungen") << 10 << 3;
        QTest::newRow("zwei Stellungen") << 6 << 2;
        QTest::newRow("eine Stellung") << 1 << 1;
        QTest::newRow("Rückmeldekontakt 65") << 65 << 1;
        QTest::newRow("Rückmeldekontakt 87") << 87 << 1;
    }
    void dekoderPanel()
    {
        QFETCH(int, element);
        QFETCH(int, zeilen);
        Fenster w;
        w.Neu("anlage");
        w.F->Dokument.Zellen.NeuePosition(0, 0, 1);
        w.F->Dokument.Zellen.NeuePosition(27, 27, element);
        C_Position &p = w.F->Dokument.Zellen.Positionen[2];
        p.Dekoder1 = 3, p.Dekoder2 = 4, p.Dekoder3 = 5, p.Adresse1 = 1, p.Adresse2 = 2, p.Adresse3 = -1;
        p.Protokoll = "N";
        w.F->Dekoderadressen1->trigger();
        const TDekoderPanel &panel = *w.F->Decod_Panel;
        Druck(w.F->Velmo, {30, 30});
        QCOMPARE(w.F->DekoderPosition, 2);
        QCOMPARE(panel.Index_label->text(), QString("2"));
        const QList<QLineEdit *> edits = {panel.Decod_edit1, panel.Decod_edit2, panel.Decod_edit3,
                                          panel.Daten_Edit1, panel.Daten_Edit2, panel.Daten_Edit3, panel.Protokoll_Edit};
        QStringList texte;
        for (QLineEdit *edit : edits)
            texte << edit->text();
        QCOMPARE(texte, QStringList({"3", "4", "5", "1", "2", "-1", "N"}));
        const QList<QLabel *> bilder = {panel.Image1, panel.Image2, panel.Image3};
        for (int r = 0; r < 3; ++r) {
            for (QWidget *teil : std::array<QWidget *, 3> {bilder[r], edits[r], edits[r + 3]})
                QCOMPARE(teil->isVisible(), r < zeilen);
        }
        QCOMPARE(panel.Image1->pixmap().toImage(), Icon(w.Work, element, 1));
        if (element == 10)
            QCOMPARE(panel.Image3->pixmap().toImage(), Icon(w.Work, 10, 3));

        // The hidden second row of a feedback contact is written back unchanged.
        w.F->Decod_Panel->Decod_edit1->setText("9");
        w.F->Decod_Panel->Speichern_Button->click();
        QCOMPARE((std::pair {p.Dekoder1, p.Dekoder2}), (std::pair {9, 4}));

        // An empty cell and other buttons leave the panel as it is.
        Druck(w.F->Velmo, {200, 200});
        Druck(w.F->Velmo, {3, 3}, Qt::RightButton);
        QCOMPARE(w.F->DekoderPosition, 2);
        QCOMPARE(panel.Index_label->text(), QString("2"));
    }

    void dekoderSpeichern()
    {
        Fenster w;
        w.Neu("anlage");
        w.F->Dekoderadressen1->trigger();
        // Before any press "Speichern" writes into slot 0, which is no cell.
        w.F->Decod_Panel->Speichern_Button->click();
        QCOMPARE(w.F->Dokument.Zellen.Positionen[0].Protokoll, QByteArray("M"));
        QVERIFY(!w.F->Dokument.Geaendert());

        w.F->Dokument.Zellen.NeuePosition(0, 0, 6);
        Druck(w.F->Velmo, {5, 5});
        TDekoderPanel &panel = *w.F->Decod_Panel;
        panel.Decod_edit1->setText("10");
        panel.Decod_edit2->setText("x1");
        panel.Protokoll_Edit->setText("n");
        panel.Speichern_Button->click();
        QCOMPARE(w.D().Meldungen.size(), 1);
        QCOMPARE(w.D().Meldungen[0].Text, QString("'x1' ist kein gültiger Integerwert"));
        QCOMPARE(w.D().Meldungen[0].Caption, QString("velmo"));
        QCOMPARE(w.F->Dokument.Zellen.Positionen[1].Dekoder1, 10);
        QCOMPARE(w.F->Dokument.Zellen.Positionen[1].Dekoder2, 0);
        QCOMPARE(panel.Protokoll_Edit->text(), QString("n"));
        QVERIFY(w.F->Dokument.Geaendert());

        w.F->Dokument.Gesichert();
        panel.Decod_edit2->setText("11");
        panel.Speichern_Button->click();
        QCOMPARE(panel.Protokoll_Edit->text(), QString("N"));
        QCOMPARE(w.F->Dokument.Zellen.Positionen[1].Protokoll, QByteArray("N"));
        QVERIFY(w.F->Dokument.Geaendert());
        // Storing the same values again is no change.
        w.F->Dokument.Gesichert();
        panel.Speichern_Button->click();
        QVERIFY(!w.F->Dokument.Geaendert());

        // After "Neu" the panel still names slot 1, which is no cell of the
        // new plan: storing there is no change of the plan.
        w.Neu("leer");
        w.F->Dekoderadressen1->trigger();
        panel.Decod_edit1->setText("77");
        panel.Speichern_Button->click();
        QVERIFY(!w.F->Dokument.Geaendert());

        // A hand-edited Nummer beyond the table names the cell, and is no
        // index: the panel shows the cell pressed and stores into it.
        w.F->Dokument.Zellen.NeuePosition(0, 0, 6);
        w.F->Dokument.Zellen.Positionen[1].Nummer = 99999;
        w.D().Meldungen.clear();
        Druck(w.F->Velmo, {5, 5});
        QVERIFY(w.D().Meldungen.isEmpty());
        QCOMPARE(panel.Index_label->text(), QString("99999"));
        panel.Decod_edit1->setText("78");
        panel.Speichern_Button->click();
        QCOMPARE(w.F->Dokument.Zellen.Positionen[1].Dekoder1, 78);
    }

    void dateinamen_data()
    {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<QString>("gewaehlt");
        QTest::addColumn<QString>("planName");
        QTest::newRow("Neu ohne Endung") << "Neu1" << "anlage" << "anlage.pln";
        QTest::newRow("Neu mit .pln") << "Neu1" << "anlage.pln" << "anlage.pln";
        QTest::newRow("Neu mit .PLN") << "Neu1" << "anlage.PLN" << "anlage.PLN.pln";
        QTest::newRow("Speichern als ohne Endung") << "Speichernals1" << "kopie" << "kopie.pln";
        QTest::newRow("Speichern als mit .pln") << "Speichernals1" << "kopie.pln" << "kopie.pln";
        QTest::newRow("Speichern als mit .txt") << "Speichernals1" << "kopie.txt" << "kopie.txt.pln";
    }
    void dateinamen()
    {
        QFETCH(QString, befehl);
        QFETCH(QString, gewaehlt);
        QFETCH(QString, planName);
        Fenster w;
        QDir().mkpath(w.Pfad("plaene"));
        w.Neu("plaene/erst");
        QCOMPARE(w.D().DateiDialoge.last(), "Neue Datei anlegen|" + w.Work.path());
        w.D().FileAnswers << w.Pfad("plaene/" + gewaehlt);
        w.F->findChild<QAction *>(befehl)->trigger();
        QCOMPARE(w.F->Dokument.PlanName, planName);
        QCOMPARE(w.F->Dokument.PlanDir, w.Pfad("plaene/"));
        if (befehl == "Neu1") {
            QCOMPARE(w.F->windowTitle(), "Strandor V 0.5   Gleisbild: " + planName);
            QCOMPARE(w.F->StatusBar1->Text(1), planName);
            QCOMPARE(w.Flaggen(), QString("E"));
            QVERIFY(!QFile::exists(w.Pfad("plaene/" + planName)));
        } else {
            QCOMPARE(w.D().DateiDialoge.last(), "Unter neuem Namen speichern|" + w.Pfad("plaene/"));
            // The caption and the status bar keep the old name.
            QCOMPARE(w.F->windowTitle(), QString("Strandor V 0.5   Gleisbild: erst.pln"));
            QCOMPARE(w.Flaggen(), QString("B"));
            QCOMPARE(Dateiinhalt(w.Pfad("plaene/" + planName)), QByteArray("0\n"));
        }
        // A cancelled dialog changes nothing.
        w.F->findChild<QAction *>(befehl)->trigger();
        QCOMPARE(w.F->Dokument.PlanName, planName);
    }

    void neuLeertDasBild()
    {
        Fenster w;
        w.Neu("a");
        w.Setzen(6, {30, 30});
        w.D().FrageAntworten << Dialoge::Antwort::Nein;
        w.Neu("b");
        QCOMPARE(w.F->Dokument.Zellen.PosAnzahl, 0);
        QCOMPARE(Zelle(w.F->PlanBitmap, {27, 27}), Silber());
        QCOMPARE(Zelle(w.F->Velmo->grab().toImage(), {27, 27}), Silber());
        const QList<QAction *> freigegeben = {w.F->Speichernals1, w.F->Speichern1, w.F->Gleisbildentwerfen1,
                                              w.F->Dekoderadressen1, w.F->Betrieb1, w.F->Hostverbinden1,
                                              w.F->Fahrstrassen1, w.F->Softregler1, w.F->Abfragestarten1,
                                              w.F->Abfragebeenden1};
        for (QAction *item : freigegeben)
            QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
    }

    void oeffnen()
    {
        Fenster w;
        // Zustand 0 is drawn as 1, Zustand 2 as 2; Zustand 5 has no picture:
        // the plan opens all the same and the picture error follows.
        DateiSchreiben(w.Pfad("anlage.pln"), "3\n"
                                         "1\n12\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n\n"
                                         "9\n6\n54\n27\n2\n0\n0\n0\n0\n0\n0\n0\nM\n"
                                         "3\n10\n81\n0\n5\n0\n0\n0\n0\n0\n0\n0\n\n");
        w.F->HScrollBar->setValue(54);
        w.Oeffnen(w.Pfad("anlage.pln"));
        QCOMPARE(w.D().DateiDialoge.last(), "Öffnen|" + w.Work.path());
        QCOMPARE(w.F->Dokument.Zellen.PosAnzahl, 3);
        QCOMPARE(w.F->Dokument.Zellen.FindePosition(54, 27), 9);
        QCOMPARE(Zelle(w.F->PlanBitmap, {0, 0}), Icon(w.Work, 12, 1));
        QCOMPARE(Zelle(w.F->PlanBitmap, {54, 27}), Icon(w.Work, 6, 2));
        QCOMPARE(Zelle(w.F->PlanBitmap, {81, 0}), Silber());
        QCOMPARE(w.F->ScrollX, 0);
        QCOMPARE(Zelle(w.F->Velmo->grab().toImage(), {0, 0}), Icon(w.Work, 12, 1));
        QCOMPARE(w.D().Meldungen.size(), 1);
        QCOMPARE(w.D().Meldungen[0].Text, "Bilddatei nicht gefunden: " + w.Work.dataPath("Icon10"));
        QCOMPARE(w.F->windowTitle(), QString("Strandor V 0.5   Gleisbild: anlage.pln"));
        QCOMPARE(w.Flaggen(), QString("B"));
        QVERIFY(w.F->ProgressBar1->isHidden() && w.F->Prozent_Label->isHidden());
        QCOMPARE(w.F->ProgressBar1->value(), 3);
        QCOMPARE(w.F->Prozent_Label->text(), QString("100 %"));
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(!w.F->Dokument.Geaendert());

        // ".PLN" is no plan file: nothing changes.
        QFile::copy(w.Pfad("anlage.pln"), w.Pfad("GROSS.PLN"));
        const QImage bild = w.F->PlanBitmap;
        w.Oeffnen(w.Pfad("GROSS.PLN"));
        QCOMPARE(w.F->StatusBar1->Text(1), QString("Keine Gleisbild-Datei (.pln): GROSS.PLN"));
        QCOMPARE(w.F->Dokument.PlanName, QString("anlage.pln"));
        QCOMPARE(w.F->PlanBitmap, bild);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // A load checks each picture file once, however many cells show it,
    // and the next load sees a file replaced since.
    void oeffnenSiehtErsetzteBilder()
    {
        Fenster w;
        // 30 cells of element 12 in position 1, 10 of element 6 in position 2.
        CPlanZellen plan;
        for (int i = 0; i < 40; ++i) {
            plan.NeuePosition(27 * (i % 20), 27 * (i / 20), i < 30 ? 12 : 6);
            plan.Positionen[i + 1].Zustand = i < 30 ? 1 : 2;
        }
        SchreibePlanDatei(w.Pfad("anlage.pln"), plan);
        const QImage vorher = Icon(w.Work, 12, 1);
        QImage anders = vorher;
        anders.invertPixels();
        for (const QImage &erwartet : {vorher, anders}) {
            const int pruefungen = Bildspeicher().Pruefungen();
            w.F->LadePlan(w.Work.path(), "anlage.pln");
            QCOMPARE(Bildspeicher().Pruefungen() - pruefungen, 2);
            for (const QPoint ecke : {QPoint(0, 0), QPoint(27 * 19, 0), QPoint(27 * 9, 27)})
                QCOMPARE(Zelle(w.F->PlanBitmap, ecke), erwartet);
            QFile::remove(w.Work.dataPath("Icon1201.bmp"));
            QVERIFY(anders.save(w.Work.dataPath("Icon1201.bmp")));
        }
        // A cell drawn on its own sees the file as it is at that moment.
        w.F->ZeichneElement(1, 0, 0, 12);
        QFile::remove(w.Work.dataPath("Icon1201.bmp"));
        QVERIFY(vorher.save(w.Work.dataPath("Icon1201.bmp")));
        w.F->ZeichneElement(1, 0, 0, 12);
        QCOMPARE(Zelle(w.F->PlanBitmap, {0, 0}), vorher);
    }

    // Cells at the ends of the int range, as a hand-edited file may hold
    // them, show nowhere and leave the cells inside the plan as they are.
    void oeffnenFerneZellen()
    {
        Fenster w;
        DateiSchreiben(w.Pfad("fern.pln"), "3\n"
                                       "1\n1\n2147483647\n2147483647\n1\n0\n0\n0\n0\n0\n0\n0\n\n"
                                       "2\n1\n-2147483648\n-2147483648\n1\n0\n0\n0\n0\n0\n0\n0\n\n"
                                       "3\n12\n27\n0\n1\n0\n0\n0\n0\n0\n0\n0\n\n");
        w.Oeffnen(w.Pfad("fern.pln"));
        QCOMPARE(w.F->Dokument.Zellen.PosAnzahl, 3);
        QCOMPARE(w.D().Meldungen.size(), 0);
        QCOMPARE(Zelle(w.F->PlanBitmap, {27, 0}), Icon(w.Work, 12, 1));
        QCOMPARE(Zelle(w.F->PlanBitmap, {0, 0}), Silber());
        QCOMPARE(Zelle(w.F->Velmo->grab().toImage(), {0, 0}), Silber());
    }

    // A broken file changes nothing of the plan in use.
    void kaputteDatei_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("zeile");
        QTest::newRow("fehlt") << "fehlt.pln" << "";
        for (const auto &[name, zeile] : {std::pair {"anzahl_negativ.pln", "Zeile 1"}, {"anzahl_zu_gross.pln", "Zeile 1"},
                                          {"wort_statt_zahl.pln", "Zeile 18"}, {"abgebrochen.pln", "Zeile 21"},
                                          {"ohne_protokoll.pln", "Zeile 14"}, {"zahl_zu_gross.pln", "Zeile 13"}})
            QTest::newRow(name) << name << zeile;
    }
    void kaputteDatei()
    {
        QFETCH(QString, datei);
        QFETCH(QString, zeile);
        Fenster w;
        QFile::copy(VELMO_TESTDATA "/plaene/gut.pln", w.Pfad("gut.pln"));
        w.Oeffnen(w.Pfad("gut.pln"));
        w.F->Gleisbildentwerfen1->trigger();
        QCOMPARE(w.F->Dokument.Zellen.PosAnzahl, 2);
        const Zellenfeld zellen = w.F->Dokument.Zellen.Positionen;
        const QImage bild = w.F->PlanBitmap;
        const QString titel = w.F->windowTitle();

        // A copy: a file that opened by mistake would be saved again.
        const QString pfad = w.Pfad(datei);
        QFile::copy(QStringLiteral(VELMO_TESTDATA "/plaene/") + datei, pfad);
        w.Oeffnen(pfad);
        QCOMPARE(w.D().Meldungen.size(), 1);
        QCOMPARE(w.D().Meldungen[0].Caption, QString("velmo"));
        QVERIFY2(w.D().Meldungen[0].Text.contains(pfad) && w.D().Meldungen[0].Text.contains(zeile),
                 qPrintable(w.D().Meldungen[0].Text));
        QVERIFY(w.F->Dokument.Zellen.Positionen == zellen);
        QCOMPARE(w.F->Dokument.Zellen.PosAnzahl, 2);
        QCOMPARE(w.F->Dokument.PlanName, QString("gut.pln"));
        QCOMPARE(w.F->Dokument.PlanDir, w.Work.path());
        QCOMPARE(w.F->windowTitle(), titel);
        QCOMPARE(w.F->PlanBitmap, bild);
        QCOMPARE(w.Flaggen(), QString("E"));
        QVERIFY(w.F->ProgressBar1->isHidden() && w.F->Prozent_Label->isHidden());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Saving into a directory that has become read-only keeps the old file.
    void speichernFehler()
    {
        Fenster w;
        QDir().mkpath(w.Pfad("plaene"));
        w.Neu("plaene/anlage");
        w.F->Speichern1->trigger();
        w.Setzen(6, {30, 30});
        {
            Schreibschutz schutz(w.Pfad("plaene"));
            w.F->Speichern1->trigger();
        }
        QCOMPARE(w.D().Meldungen.size(), 1);
        QVERIFY(w.D().Meldungen[0].Text.contains(w.Pfad("plaene/anlage.pln")));
        QCOMPARE(Dateiinhalt(w.Pfad("plaene/anlage.pln")), QByteArray("0\n"));
        QVERIFY(w.F->Dokument.Geaendert());
        w.F->Speichern1->trigger();
        QCOMPARE(LiesPlanDatei(w.Pfad("plaene/anlage.pln")).PosAnzahl, 1);
        QVERIFY(!w.F->Dokument.Geaendert());
    }

    void ungesicherteAenderungen_data()
    {
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<Dialoge::Antwort>("antwort");
        QTest::addColumn<bool>("weiter");
        QTest::addColumn<bool>("gespeichert");
        for (const char *aktion : {"Neu", "Oeffnen", "Exit", "Schliessen"}) {
            QTest::addRow("%s, Ja", aktion) << aktion << Dialoge::Antwort::Ja << true << true;
            QTest::addRow("%s, Nein", aktion) << aktion << Dialoge::Antwort::Nein << true << false;
            QTest::addRow("%s, Abbrechen", aktion) << aktion << Dialoge::Antwort::Abbrechen << false << false;
        }
    }
    void ungesicherteAenderungen()
    {
        QFETCH(QString, aktion);
        QFETCH(Dialoge::Antwort, antwort);
        QFETCH(bool, weiter);
        QFETCH(bool, gespeichert);
        Fenster w;
        w.Neu("anlage");
        w.F->Speichern1->trigger();
        QFile::copy(VELMO_TESTDATA "/plaene/gut.pln", w.Pfad("gut.pln"));

        // Without changes nothing is asked.
        w.Neu("anlage");
        QVERIFY(w.D().Fragen.isEmpty());
        w.Setzen(6, {30, 30});

        w.D().FrageAntworten << antwort;
        const int dialoge = w.D().DateiDialoge.size();
        const QByteArray einstellungen = Dateiinhalt(w.Work.dataPath("parmc.dat"));
        if (aktion == "Neu")
            w.Neu("neu");
        else if (aktion == "Oeffnen")
            w.Oeffnen(w.Pfad("gut.pln"));
        else if (aktion == "Exit")
            w.F->Exit1->trigger();
        else
            w.F->close();
        QCOMPARE(w.D().Fragen, QStringList({"Gleisbild|Das Gleisbild anlage.pln wurde geändert. Änderungen speichern?"}));
        QCOMPARE(LiesPlanDatei(w.Pfad("anlage.pln")).PosAnzahl, gespeichert ? 1 : 0);
        if (aktion == "Neu" || aktion == "Oeffnen") {
            QCOMPARE(w.D().DateiDialoge.size(), dialoge + (weiter ? 1 : 0));
            QCOMPARE(w.F->Dokument.PlanName, weiter ? QString(aktion == "Neu" ? "neu.pln" : "gut.pln") : QString("anlage.pln"));
            QCOMPARE(w.F->Dokument.Geaendert(), !weiter);
        } else {
            QCOMPARE(w.F->isVisible(), !weiter);
            QCOMPARE(w.F->Dokument.Geaendert(), !gespeichert);
            // "Abbrechen" in "Exit" comes before the settings are written.
            QCOMPARE(Dateiinhalt(w.Work.dataPath("parmc.dat")) == einstellungen, !weiter || aktion == "Schliessen");
        }
    }

    // "Ja" with a save that fails stops.
    void fehlgeschlagenesSpeichernHaeltAn()
    {
        Fenster w;
        QDir().mkpath(w.Pfad("plaene"));
        w.Neu("plaene/anlage");
        w.Setzen(6, {30, 30});
        w.D().FrageAntworten << Dialoge::Antwort::Ja << Dialoge::Antwort::Ja;
        Schreibschutz schutz(w.Pfad("plaene"));
        w.Neu("neu");
        QCOMPARE(w.F->Dokument.PlanName, QString("anlage.pln"));
        w.F->close();
        QVERIFY(w.F->isVisible());
        QCOMPARE(w.D().Meldungen.size(), 2);
    }

    // While connected, a plan that loads sends each wired cell's stored
    // position, in order, and "Host verbinden" stays disabled.
    void ladenVerbunden()
    {
        Fenster w;
        SkriptServer server;
        w.F->ServerHost = "127.0.0.1";
        w.F->ServerPort = server.port();
        w.F->VerbindungenEinstellen();
        w.F->Bahn->Schaltimpuls = 30;
        CPlanZellen plan;
        auto zelle = [&plan](int element, int zustand, DekoderZeile zeile, const QByteArray &protokoll) {
            plan.NeuePosition(27 * plan.PosAnzahl, 0, element);
            C_Position &p = plan.Positionen[plan.PosAnzahl];
            p.Zustand = zustand;
            p.Dekoder1 = p.Dekoder2 = p.Dekoder3 = zeile.Dekoder;
            p.Adresse1 = p.Adresse2 = p.Adresse3 = zeile.Adresse;
            p.Protokoll = protokoll;
        };
        zelle(6, 2, {3, 2}, "M");
        zelle(20, 1, {7, 1}, "M");
        zelle(65, 2, {1, 3}, "M");
        zelle(10, 3, {1, 1}, "N");
        zelle(6, 1, {4, 0}, "M");
        zelle(87, 1, {2, 2}, "N");
        SchreibePlanDatei(w.Pfad("anlage.pln"), plan);

        w.F->Hostverbinden1->trigger();
        QVERIFY(QTest::qWaitFor([&] { return server.Empfangen == "SET POWER ON\n"; }));
        w.Neu("vorher");
        // During the first pulse of the load neither a plan command nor a
        // press on the plan gets through.
        QTimer::singleShot(10, w.F.Form.get(), [&] {
            QVERIFY(!w.F->Neu1->isEnabled() && !w.F->Oeffnen1->isEnabled() && !w.F->Gleisbildentwerfen1->isEnabled());
            w.Neu("dazwischen");
            w.Setzen(1, {300, 300});
        });
        w.Oeffnen(w.Pfad("anlage.pln"));
        QCOMPARE(w.F->Dokument.PlanName, QString("anlage.pln"));
        QCOMPARE(w.F->Dokument.Zellen.PosAnzahl, 6);
        QTRY_VERIFY(w.F->BetriebModus);
        QVERIFY(w.F->Neu1->isEnabled() && w.F->Oeffnen1->isEnabled() && w.F->Velmo->isEnabled());
        QVERIFY(QTest::qWaitFor([&] { return server.Zeilen.size() == 5; }));
        QCOMPARE(server.Empfangen, QByteArray("SET POWER ON\nSET GA M 13 1 1 -1\nSET GA M 13 1 0 -1\n"
                                              "SET GA N 5 0 1 -1\nSET GA N 5 0 0 -1\n"));
        QVERIFY(!w.F->Hostverbinden1->isEnabled());
        w.Neu("neu");
        QVERIFY(!w.F->Hostverbinden1->isEnabled());
        w.F->Hosttrennen1->trigger();
        QVERIFY(w.D().Meldungen.isEmpty());
    }
};

QTEST_MAIN(TestEntwurf)
#include "test_entwurf.moc"
