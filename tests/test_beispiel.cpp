// The sample layout examples/bahnhof: the tool writes exactly the committed
// files; they load; every switchable cell has its decoders and every route
// entry a cell with that position; the track pictures join up; a train run
// round the plan meets the feedback contacts in the demo train's order and,
// with a route set, takes the track the route is for.
#include "../tools/makedata/elementtable.h"
#include "bahncalc/zubehoer.h"
#include "elemente/Elementrollen.h"
#include "fahrunit/FahrstrassenDatei.h"
#include "hilfen/fehler.h"
#include "position/PlanDatei.h"
#include "testwork.h"

#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>
#include <set>
#include <tuple>

namespace {

const QString Beispiele = QStringLiteral(VELMO_TESTDATA "/../../examples/");

const Element &Art(int element)
{
    return elementTable().at(element - 1);
}

// A connection point of the element's picture, turned as the element is.
Point Gedreht(const Element &e, Point p)
{
    return p == Point::Centre ? p : e.turn.to[int(p)];
}

// Whether a track of the element ends at point p.
bool Endet(const Element &e, Point p)
{
    for (const Track &t : e.shape->tracks)
        if (Gedreht(e, t.from) == p || Gedreht(e, t.to) == p)
            return true;
    return false;
}

Point Gegenueber(Point p)
{
    return Point((int(p) + 4) % 8);
}

// The cell (in raster units) on the other side of connection point p.
QPoint Nachbar(QPoint zelle, Point p)
{
    static const QPoint schritt[] = {{-1, 0}, {-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}};
    return zelle + schritt[int(p)];
}

// The positions a cell is switched to by its decoder rows: each state of a
// turnout or signal, the one press of an uncoupler; 0 for the rest.
int Stellungen(int element)
{
    if (IstMomentan(element))
        return 1;
    if (IstRueckmeldekontakt(element) || IstFahrstrassentaste(element))
        return 0;
    const int n = Art(element).shape->states();
    return n >= 2 ? n : 0;
}

QStringList Rollen(const C_Position &p)
{
    const QByteArray name = Art(p.Element).shape->name;
    QStringList rollen;
    if (name == "Weiche" || name == "Dreiwegweiche")
        rollen << "Weiche";
    if (name == "Dreiwegweiche" || name == "Signal")
        rollen << name;
    if (IstMomentan(p.Element))
        rollen << "Entkuppler";
    if (IstFahrstrassentaste(p.Element))
        rollen << "Fahrstrassentaste";
    if (IstRueckmeldekontakt(p.Element))
        rollen << QStringLiteral("Modul %1").arg(p.Dekoder1);
    return rollen;
}

// The cell (in raster units) of a route entry.
QPoint Zelle(const FahrEintrag &f)
{
    return QPoint(f.X, f.Y) / RasterGroesse;
}

using Gleisbild = QHash<QPoint, C_Position>;

struct Fahrweg
{
    QStringList Stationen;
    bool Geschlossen = false;
};

// Runs a train from the start cell, entered at the root of its track (the
// first point of its first track), along the tracks as they are set until
// it is back at that point or the track ends. It notes the turnouts and
// signals it passes by the name of their position and the feedback
// contacts as "module/contact".
Fahrweg Fahren(const Gleisbild &bild, QPoint start, const QHash<QPoint, int> &stellung)
{
    Fahrweg weg;
    const Element &erste = Art(bild.value(start).Element);
    const Point anfang = Gedreht(erste, erste.shape->tracks.value(0).from);
    QPoint zelle = start;
    Point hinein = anfang;
    for (int schritt = 0; schritt < 1000 && bild.contains(zelle); ++schritt) {
        const C_Position &p = bild[zelle];
        const Element &e = Art(p.Element);
        const int s = stellung.value(zelle, LadeZustand(p));
        const unsigned aktiv = e.shape->activeTracks.value(s - 1);
        std::optional<Point> hinaus;
        for (int t = 0; t < e.shape->tracks.size(); ++t) {
            const Point a = Gedreht(e, e.shape->tracks[t].from), b = Gedreht(e, e.shape->tracks[t].to);
            if (aktiv & (1u << t) && (a == hinein || b == hinein))
                hinaus = a == hinein ? b : a;
        }
        if (!hinaus) {
            weg.Stationen << "entgleist";
            return weg;
        }
        if (IstRueckmeldekontakt(p.Element))
            weg.Stationen << QStringLiteral("%1/%2").arg(p.Dekoder1).arg(p.Adresse1);
        else if (Stellungen(p.Element) >= 2)
            weg.Stationen << e.shape->stateNames.at(s - 1);
        if (*hinaus == Point::Centre)
            return weg;
        zelle = Nachbar(zelle, *hinaus);
        hinein = Gegenueber(*hinaus);
        if (zelle == start) {
            weg.Geschlossen = hinein == anfang;
            return weg;
        }
    }
    return weg;
}

} // namespace

class TestBeispiel : public QObject
{
    Q_OBJECT
    QTemporaryDir Ausgabe;
    CPlanZellen Plan;
    FahrTabelle Routen {};
    Gleisbild Bild;

private slots:
    void initTestCase()
    {
        QCOMPARE(QProcess::execute(builtBinDir() + "/beispielplan", {Ausgabe.path()}), 0);
        try {
            Plan = LiesPlanDatei(Beispiele + "bahnhof.pln");
            Routen = LiesFahrstrassenDatei(Beispiele + "bahnhof.fst");
        } catch (const VelmoFehler &fehler) {
            QFAIL(qPrintable(fehler.Text));
        }
        for (int i = 1; i <= Plan.PosAnzahl; ++i) {
            const C_Position &p = Plan.Positionen[i];
            QVERIFY2(p.Element >= 1 && p.Element <= 88 && p.X % RasterGroesse == 0 && p.Y % RasterGroesse == 0,
                     qPrintable(QStringLiteral("Zelle %1").arg(i)));
            const QPoint zelle(p.X / RasterGroesse, p.Y / RasterGroesse);
            QVERIFY2(!Bild.contains(zelle), "two cells on one point");
            Bild.insert(zelle, p);
        }
    }

    void werkzeug_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::newRow("Plan") << "bahnhof.pln";
        QTest::newRow("Fahrstrassen") << "bahnhof.fst";
    }
    void werkzeug()
    {
        QFETCH(QString, datei);
        QVERIFY(QFile::exists(Beispiele + datei));
        QCOMPARE(Dateiinhalt(Ausgabe.filePath(datei)), Dateiinhalt(Beispiele + datei));
    }

    void bestand_data()
    {
        QTest::addColumn<QString>("rolle");
        QTest::addColumn<int>("mindestens");
        QTest::addColumn<int>("hoechstens");
        QTest::newRow("Weichen") << "Weiche" << 4 << 99;
        QTest::newRow("Dreiwegweichen") << "Dreiwegweiche" << 1 << 99;
        QTest::newRow("Signale") << "Signal" << 2 << 2;
        QTest::newRow("Entkuppler") << "Entkuppler" << 1 << 1;
        QTest::newRow("Tasten") << "Fahrstrassentaste" << 2 << 2;
        QTest::newRow("Modul 1") << "Modul 1" << 8 << 8;
        QTest::newRow("Modul 2") << "Modul 2" << 1 << 2;
    }
    void bestand()
    {
        QFETCH(QString, rolle);
        QFETCH(int, mindestens);
        QFETCH(int, hoechstens);
        int n = 0;
        for (const C_Position &p : std::as_const(Bild))
            n += Rollen(p).count(rolle);
        QVERIFY2(n >= mindestens && n <= hoechstens, qPrintable(QString::number(n)));
    }

    // The plan lies in the top left 20 x 12 cells, which an 800 x 600
    // window shows whole.
    void ausdehnung()
    {
        for (const QPoint &zelle : Bild.keys())
            QVERIFY(zelle.x() >= 0 && zelle.x() < 20 && zelle.y() >= 0 && zelle.y() < 12);
    }

    // Rows 1 to n of a switchable cell with n positions name a decoder and
    // an output, the others nothing; no two rows reach the same output.
    void dekoder()
    {
        std::set<std::tuple<int, int, int>> ziele;
        int dcc = 0, motorola = 0;
        for (const C_Position &p : std::as_const(Bild)) {
            if (IstRueckmeldekontakt(p.Element))
                continue;
            const QByteArray wo = QStringLiteral("Element %1 bei %2,%3").arg(p.Element).arg(p.X).arg(p.Y).toUtf8();
            const int n = Stellungen(p.Element);
            for (int r = 1; r <= 3; ++r) {
                const DekoderZeile z = DekoderZeileVon(p, r);
                QVERIFY2(r <= n ? z.Dekoder > 0 && z.Adresse > 0 : z == DekoderZeile {}, wo.constData());
                if (r <= n) {
                    const ZubehoerAdresse ziel = ZubehoerZiel(z.Dekoder, z.Adresse);
                    QVERIFY2(ziele.insert({ZubehoerBus(p.Protokoll), ziel.Adresse, ziel.Port}).second, wo.constData());
                }
            }
            if (n > 0) {
                QVERIFY2(p.Protokoll == "M" || p.Protokoll == "N", wo.constData());
                (p.Protokoll == "N" ? dcc : motorola)++;
            }
        }
        QVERIFY(dcc >= 1 && motorola > dcc);
    }

    void fahrstrassen_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<bool>("belegt");
        for (int r = 0; r < FahrstrassenZahl; ++r)
            QTest::addRow("Fahrstrasse %d", r) << r << (r == 1 || r == 2);
    }
    // A used route sets cells that have the positions it names and has its
    // button; every other route is empty and has none.
    void fahrstrassen()
    {
        QFETCH(int, route);
        QFETCH(bool, belegt);
        const Fahrstrasse &f = Routen[route];
        QCOMPARE(f[0].X > 0, belegt);
        for (int k = 1; k <= f[0].X; ++k) {
            const C_Position p = Bild.value(Zelle(f[k]));
            QVERIFY2(f[k].X % RasterGroesse == 0 && f[k].Y % RasterGroesse == 0 && p.Element > 0
                         && f[k].Code - 10 <= Stellungen(p.Element),
                     qPrintable(QStringLiteral("Eintrag %1").arg(k)));
        }
        int tasten = 0;
        for (const C_Position &p : std::as_const(Bild))
            tasten += IstFahrstrassentaste(p.Element) && p.Fahrstrasse == route;
        QCOMPARE(tasten, belegt ? 1 : 0);
    }

    // Every track end meets a neighbour whose track ends at the same point.
    void gleisverbindungen()
    {
        for (auto it = Bild.cbegin(); it != Bild.cend(); ++it) {
            const Element &e = Art(it->Element);
            for (const Track &t : e.shape->tracks)
                for (const Point ende : {Gedreht(e, t.from), Gedreht(e, t.to)}) {
                    if (ende == Point::Centre)
                        continue;
                    const QPoint n = Nachbar(it.key(), ende);
                    const QString wo = QStringLiteral("Zelle %1,%2 Ende %3").arg(it.key().x()).arg(it.key().y());
                    QVERIFY2(Bild.contains(n) && Endet(Art(Bild[n].Element), Gegenueber(ende)),
                             qPrintable(wo.arg(int(ende))));
                }
        }
    }

    void fahrwege_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<QString>("stationen");
        QTest::newRow("gespeicherte Stellungen (Demozug)")
            << 0 << "gerade 1/1 1/2 Halt gerade 1/3 1/4 1/5 gerade 1/6 1/7 1/8";
        QTest::newRow("Fahrstrasse 1: Durchfahrt")
            << 1 << "gerade 1/1 1/2 Fahrt gerade 1/3 1/4 1/5 gerade 1/6 1/7 1/8";
        QTest::newRow("Fahrstrasse 2: Überholgleis")
            << 2 << "links 2/1 Halt abzweigend 1/3 1/4 1/5 gerade 1/6 1/7 1/8";
    }
    // A train that enters the station at the first cell of route 1 and runs
    // once round the oval, with the cells as stored or as a route sets them.
    void fahrwege()
    {
        QFETCH(int, route);
        QFETCH(QString, stationen);
        QHash<QPoint, int> stellung;
        for (int k = 1; k <= Routen[route][0].X; ++k)
            stellung.insert(Zelle(Routen[route][k]), Routen[route][k].Code - 10);
        const Fahrweg weg = Fahren(Bild, Zelle(Routen[1][1]), stellung);
        QCOMPARE(weg.Stationen.join(' '), stationen);
        QVERIFY(weg.Geschlossen);
    }
};

QTEST_GUILESS_MAIN(TestBeispiel)
#include "test_beispiel.moc"
