// The plan document without a window: each kind of step undone and redone
// through the rules the window calls, the files after an undo, and when the
// document counts as changed against its file.
#include "bedienung/DekoderDaten.h"
#include "bedienung/Fahrstrassenbau.h"
#include "bedienung/Platzierung.h"
#include "dokument/PlanDokument.h"
#include "hilfen/fehler.h"
#include "testwork.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <vector>
#include <tuple>

namespace {

const Sicht Ganz {QPoint(0, 0), QSize(980, 680)};

// A saved plan: a turnout with decoder rows at (27, 0), a straight track at
// (54, 0), a route button at (0, 27); route 1 lists the turnout.
struct Probe
{
    QTemporaryDir Ordner;
    const QString Dir = Ordner.path() + '/';
    PlanDokument Dok;
    Arbeitsmodi Modi;
    ElementTabelle Katalog {};
    CFahr Fahr {Dok.FahrstrassenTabelle};

    Probe()
    {
        Modi.ModusSetzen(Modus::Entwurf);
        Katalog[6].Zustaende = 2;
        Dok.Neu(Dir, "anlage.pln");
        Weiche(27, 0);
        for (const auto &[x, y, element] : {std::tuple {54, 0, 1}, {0, 27, 66}})
            Dok.Zellen.NeuePosition(x, y, element);
        Dok.FahrstrassenTabelle[1][0].X = 1;
        Dok.FahrstrassenTabelle[1][1] = {27, 0, 11};
        Dok.Speichern("anlage.pln", Dir);
    }
    void Schritt(const QList<int> &zellen, const QList<int> &routen, const std::function<void()> &aendern)
    {
        const Planstand vorher = Dok.Merken(zellen, routen);
        try {
            aendern();
        } catch (const VelmoFehler &) {
        }
        Dok.Eintragen(vorher, "Schritt");
    }
    void Setzen(QPoint von, QPoint nach)
    {
        Modi.Waehlen(6);
        EntwurfDruecken(Modi, Dok.Zellen, Qt::LeftButton, von, Ganz);
        EntwurfZiehen(Modi, Qt::LeftButton, {}, nach, Ganz);
        Schritt({}, {}, [&] { EntwurfLoslassen(Modi, Dok.Zellen, Qt::LeftButton, nach, Ganz); });
    }
    // A turnout on decoder 4, output 1, DCC, as the last record; its slot.
    int Weiche(int x, int y)
    {
        Dok.Zellen.NeuePosition(x, y, 6);
        C_Position &weiche = Dok.Zellen.Positionen[Dok.Zellen.PosAnzahl];
        weiche.Dekoder1 = weiche.Dekoder2 = 4;
        weiche.Adresse2 = 1;
        weiche.Protokoll = "N";
        return Dok.Zellen.PosAnzahl;
    }
    void Dekoder(const QString &zweiter, int slot = 1)
    {
        Schritt({slot}, {}, [&] { DekoderSpeichern(Dok.Zellen.Positionen[slot], {{"7", zweiter, ""}, {"2", "", ""}, "m"}); });
    }
    void Route(Qt::MouseButton taste, QPoint p)
    {
        Schritt({}, {1}, [&] {
            taste == Qt::LeftButton ? FahrstrasseLinks(Fahr, Dok.Zellen, Katalog, 1, p)
                                    : FahrstrasseRechts(Fahr, Dok.Zellen, 1, p);
        });
    }
    QByteArray Dateien() const { return Dateiinhalt(Dir + "anlage.pln") + Dateiinhalt(Dir + "anlage.fst"); }
    // What the file holds and what the routes are.
    std::pair<std::vector<C_Position>, FahrTabelle> Stand() const
    {
        std::vector<C_Position> zellen;
        for (int i = 1; i <= Dok.Zellen.PosAnzahl; ++i)
            zellen.push_back(Dok.Zellen.Positionen[i]);
        return {zellen, Dok.FahrstrassenTabelle};
    }
};

// Each kind of step and the cells whose picture it changes.
const std::vector<std::tuple<const char *, std::function<void(Probe &)>, QList<QPoint>>> Schritte = {
    {"setzen", [](Probe &p) { p.Setzen({90, 5}, {90, 5}); }, {{81, 0}}},
    {"ziehen", [](Probe &p) { p.Setzen({90, 5}, {120, 30}); }, {{108, 27}}},
    {"auf besetzte Zelle setzen", [](Probe &p) { p.Setzen({30, 5}, {30, 5}); }, {{27, 0}}},
    {"löschen",
     [](Probe &p) { p.Schritt({1}, {}, [&] { EntwurfDruecken(p.Modi, p.Dok.Zellen, Qt::RightButton, {30, 5}, Ganz); }); },
     {{27, 0}}},
    {"Dekoder speichern", [](Probe &p) { p.Dekoder("9"); }, {}},
    {"Dekoder speichern bis zum Fehler", [](Probe &p) { p.Dekoder("x"); }, {}},
    {"Fahrstrasseneintrag hinzufügen", [](Probe &p) { p.Route(Qt::LeftButton, {54, 0}); }, {{54, 0}}},
    {"Fahrstrasseneintrag weiterschalten", [](Probe &p) { p.Route(Qt::LeftButton, {27, 0}); }, {{27, 0}}},
    {"Fahrstrasseneintrag entfernen", [](Probe &p) { p.Route(Qt::RightButton, {27, 0}); }, {{27, 0}}},
    {"Fahrstrassentaste verbinden",
     [](Probe &p) { p.Schritt({3}, {}, [&] { FahrstrassentasteVerbinden(p.Dok.Zellen, 1, {0, 27}); }); }, {}},
    {"Fahrstrasse löschen", [](Probe &p) { p.Schritt({}, {1}, [&] { p.Fahr.Loeschen(1); }); }, {{27, 0}}},
};

} // namespace

class TestDokument : public QObject
{
    Q_OBJECT
private slots:
    // A step, undone: the plan and its files are as before, byte for byte,
    // and the document is as its file; redone: the plan is as after the
    // step. Both name the cells whose picture changes.
    void rueckgaengigUndWieder_data()
    {
        QTest::addColumn<int>("fall");
        for (int i = 0; i < int(Schritte.size()); ++i)
            QTest::newRow(std::get<0>(Schritte[i])) << i;
    }
    void rueckgaengigUndWieder()
    {
        QFETCH(int, fall);
        const auto &[name, schritt, zellen] = Schritte[fall];
        Probe p;
        const QByteArray dateien = p.Dateien();
        const auto vorher = p.Stand();
        schritt(p);
        const auto nachher = p.Stand();
        QVERIFY(nachher != vorher);
        QCOMPARE(p.Dok.Stapel().count(), 1);
        QVERIFY(p.Dok.Geaendert());

        QCOMPARE(p.Dok.Rueckgaengig(), zellen);
        QVERIFY(p.Stand() == vorher);
        QVERIFY(!p.Dok.Geaendert());
        p.Dok.Speichern("anlage.pln", p.Dir);
        QCOMPARE(p.Dateien(), dateien);

        QCOMPARE(p.Dok.Wiederherstellen(), zellen);
        QVERIFY(p.Stand() == nachher);
        QVERIFY(p.Dok.Geaendert());
    }

    // Undoing a decoder save after the turnout was switched in operating
    // mode gives back the decoder rows and keeps the position, in the
    // plan's first record and in its last.
    void schaltenBleibt_data()
    {
        QTest::addColumn<bool>("zuletzt");
        QTest::newRow("erste Zelle") << false;
        QTest::newRow("letzte Zelle") << true;
    }
    void schaltenBleibt()
    {
        QFETCH(bool, zuletzt);
        Probe p;
        const int slot = zuletzt ? p.Weiche(81, 0) : 1;
        p.Dekoder("9", slot);
        p.Dok.Zellen.Positionen[slot].Zustand = 2;
        p.Dok.OhneSchrittGeaendert();
        p.Dok.Rueckgaengig();
        const C_Position &weiche = p.Dok.Zellen.Positionen[slot];
        QCOMPARE((std::tuple {weiche.Dekoder1, weiche.Dekoder2, weiche.Adresse1, weiche.Protokoll, weiche.Zustand}),
                 (std::tuple {4, 4, 0, QByteArray("N"), 2}));
        QVERIFY(p.Dok.Geaendert());
    }

    // Whether the document differs from its file (and "Änderungen
    // speichern?" is asked) after each sequence: s a step, u undo, r redo,
    // S save, b a position switched in operating mode, N a new plan, k
    // "Speichern" into the slot after the last cell, which no file holds.
    void geaendert_data()
    {
        QTest::addColumn<QString>("folge");
        QTest::addColumn<bool>("geaendert");
        QTest::newRow("nichts") << "" << false;
        QTest::newRow("Schritt") << "s" << true;
        QTest::newRow("zurück zum Gespeicherten") << "ssuu" << false;
        QTest::newRow("über das Speichern zurück") << "sSu" << true;
        QTest::newRow("wieder beim Gespeicherten") << "sSur" << false;
        QTest::newRow("neuer Schritt nach dem Zurück") << "sSusu" << true;
        QTest::newRow("gespeichert") << "ssuS" << false;
        QTest::newRow("geschaltet, dann zurück") << "sbu" << true;
        QTest::newRow("geschaltet und gespeichert") << "sbS" << false;
        QTest::newRow("neues Gleisbild") << "sbN" << false;
        QTest::newRow("hinter der letzten Zelle") << "k" << false;
    }
    void geaendert()
    {
        QFETCH(QString, folge);
        Probe p;
        int x = 0;
        for (const QChar c : folge) {
            switch (c.toLatin1()) {
            case 's': p.Setzen({x, 100}, {x, 100}), x += 27; break;
            case 'u': p.Dok.Rueckgaengig(); break;
            case 'r': p.Dok.Wiederherstellen(); break;
            case 'S': p.Dok.Speichern("anlage.pln", p.Dir); break;
            case 'b': p.Dok.OhneSchrittGeaendert(); break;
            case 'N': p.Dok.Neu(p.Dir, "neu.pln"); break;
            case 'k': p.Schritt({4}, {}, [&] { DekoderSpeichern(p.Dok.Zellen.Positionen[4], {{"1"}, {}, ""}); }); break;
            }
        }
        QTEST(p.Dok.Geaendert(), "geaendert");
    }
};

QTEST_GUILESS_MAIN(TestDokument)
#include "test_dokument.moc"
