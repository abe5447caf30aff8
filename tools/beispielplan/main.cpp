// Writes the sample layout "bahnhof": a station on an oval, as a plan file
// and its route file.
//   beispielplan <dir>      writes <dir>/bahnhof.pln and <dir>/bahnhof.fst
//
// The oval runs round the cells of columns 1 to 18 and rows 1 to 9. Trains
// run through the station on the bottom row eastwards (the way the signals
// face), so round the oval anticlockwise on the screen. The station:
//   - the main track on row 9, entered from the west through a three-way
//     turnout, left through a turnout at its east end, exit signal on it;
//   - a passing loop on row 8 (left branch of the three-way turnout) with
//     its own exit signal;
//   - a stub siding on row 10 (right branch) with an uncoupler and a buffer
//     stop;
//   - a goods yard of two stub tracks below the top row, reached from the
//     top row through two turnouts on a DCC decoder.
// Feedback module 1 contacts 1 to 8 lie round the oval in running order, so
// the simulator's demo train ("srcpsim --demo 8") goes round it; module 2
// watches the passing loop (contact 1) and the stub siding (contact 2).
#include "fahrunit/CFahr.h"
#include "fahrunit/FahrstrassenDatei.h"
#include "hilfen/fehler.h"
#include "position/PlanDatei.h"

#include <QDir>

#include <array>
#include <cstdio>
#include <map>
#include <utility>

namespace {

// The catalogue elements used, named by the connection points they join
// (N, O(st), S, W and the corners NO, SO, SW, NW).
enum Element : int {
    Gerade = 1,            // W-O
    Bogen_W_SO = 3,
    Bogen_O_SW = 5,
    Weiche_O_W_NW = 8,     // root O; straight W, branch NW
    Weiche_O_W_SW = 9,     // root O; straight W, branch SW
    Dreiweg_W = 10,        // root W; straight O, left NO, right SO
    Signal_Ost = 15,       // W-O, for eastbound trains
    Prellbock_W = 18,      // track from W ends
    Prellbock_O = 19,      // track from O ends
    Entkuppler = 20,       // W-O
    Senkrecht = 23,        // N-S
    Bogen_N_SO = 24,
    Bogen_N_SW = 25,
    Bogen_SW_O = 47,
    Bogen_NO_W = 48,
    Bogen_NO_S = 49,
    Kontakt_W_O = 65,
    Taste_eckig = 66,
    Bogen_NW_O = 68,
    Bogen_NW_S = 69,
    Kontakt_N_S = 87,
    Taste_rund = 88,
};

// A cell of the raster: column and row, 27 pixels each.
struct Ort
{
    int Spalte;
    int Zeile;
};

struct Zelle
{
    int Element = 0;
    std::array<int, 3> Dekoder {};
    std::array<int, 3> Adresse {};
    QByteArray Protokoll;
    int Fahrstrasse = 0;
};

class Gleisbild
{
public:
    // Places an element on an empty cell.
    Zelle &Setze(Ort o, int element)
    {
        const auto [it, neu] = Zellen.try_emplace({o.Zeile, o.Spalte});
        if (!neu)
            throw VelmoFehler(QStringLiteral("Zelle %1,%2 doppelt belegt").arg(o.Spalte).arg(o.Zeile));
        it->second.Element = element;
        return it->second;
    }
    // Straight track from one cell to another in a row or a column.
    void Strecke(Ort von, Ort bis)
    {
        if (von.Zeile == bis.Zeile)
            for (int s = von.Spalte; s <= bis.Spalte; ++s)
                Setze({s, von.Zeile}, Gerade);
        else
            for (int z = von.Zeile; z <= bis.Zeile; ++z)
                Setze({von.Spalte, z}, Senkrecht);
    }
    // Replaces a straight by an element on the same line: a turnout, a
    // signal, an uncoupler, a feedback contact.
    Zelle &Einsetzen(Ort o, int element)
    {
        const auto it = Zellen.find({o.Zeile, o.Spalte});
        if (it == Zellen.end() || (it->second.Element != Gerade && it->second.Element != Senkrecht))
            throw VelmoFehler(QStringLiteral("Zelle %1,%2 ist kein Gleis").arg(o.Spalte).arg(o.Zeile));
        it->second.Element = element;
        return it->second;
    }
    // An accessory decoder: output ausgaenge[k] of it sets position k + 1.
    void Dekoder(Ort o, const char *protokoll, int dekoder, std::initializer_list<int> ausgaenge)
    {
        Zelle &z = Zellen.at({o.Zeile, o.Spalte});
        z.Protokoll = protokoll;
        int k = 0;
        for (int ausgang : ausgaenge) {
            z.Dekoder.at(k) = dekoder;
            z.Adresse.at(k++) = ausgang;
        }
    }
    // A feedback contact on a straight, turned the way the straight runs.
    void Kontakt(Ort o, int modul, int kontakt)
    {
        const auto it = Zellen.find({o.Zeile, o.Spalte});
        const bool senkrecht = it != Zellen.end() && it->second.Element == Senkrecht;
        Zelle &z = Einsetzen(o, senkrecht ? Kontakt_N_S : Kontakt_W_O);
        z.Dekoder[0] = modul;
        z.Adresse[0] = kontakt;
    }

    // The cells row by row, each row from the left.
    CPlanZellen Plan() const
    {
        CPlanZellen plan;
        for (const auto &[ort, z] : Zellen) {
            plan.NeuePosition(ort.second * RasterGroesse, ort.first * RasterGroesse, z.Element);
            C_Position &p = plan.Positionen[plan.PosAnzahl];
            p.Dekoder1 = z.Dekoder[0];
            p.Dekoder2 = z.Dekoder[1];
            p.Dekoder3 = z.Dekoder[2];
            p.Adresse1 = z.Adresse[0];
            p.Adresse2 = z.Adresse[1];
            p.Adresse3 = z.Adresse[2];
            p.Protokoll = z.Protokoll;
            p.Fahrstrasse = z.Fahrstrasse;
        }
        return plan;
    }

private:
    std::map<std::pair<int, int>, Zelle> Zellen; // by (row, column)
};

// The cells that routes and decoders refer to.
constexpr Ort Einfahrweiche {4, 9};   // three-way turnout, west end of the station
constexpr Ort Ausfahrweiche {15, 9};  // east end: passing loop joins the main track
constexpr Ort Signal_Gleis1 {13, 9};  // exit signal of the main track
constexpr Ort Signal_Gleis2 {13, 8};  // exit signal of the passing loop
constexpr Ort Entkupplung {7, 10};    // uncoupler in the stub siding
constexpr Ort Gueterweiche1 {13, 1};  // top row into the goods yard
constexpr Ort Gueterweiche2 {10, 2};  // goods yard: track 1 or track 2

// Module 1 contacts 1 to 8, in running order from the station round the oval.
constexpr std::array<Ort, 8> Umlaufkontakte {{{7, 9}, {11, 9}, {18, 6}, {18, 4}, {15, 1}, {8, 1}, {1, 4}, {1, 6}}};

Gleisbild Bahnhof()
{
    Gleisbild g;
    // The oval: straights on rows 1 and 9 and columns 1 and 18, each corner
    // two 45-degree bends.
    g.Strecke({3, 1}, {16, 1});
    g.Strecke({3, 9}, {16, 9});
    g.Strecke({1, 3}, {1, 7});
    g.Strecke({18, 3}, {18, 7});
    g.Setze({2, 1}, Bogen_O_SW);
    g.Setze({1, 2}, Bogen_NO_S);
    g.Setze({17, 1}, Bogen_W_SO);
    g.Setze({18, 2}, Bogen_NW_S);
    g.Setze({1, 8}, Bogen_N_SO);
    g.Setze({2, 9}, Bogen_NW_O);
    g.Setze({18, 8}, Bogen_N_SW);
    g.Setze({17, 9}, Bogen_NO_W);

    // The station.
    g.Einsetzen(Einfahrweiche, Dreiweg_W);
    g.Einsetzen(Ausfahrweiche, Weiche_O_W_NW);
    g.Einsetzen(Signal_Gleis1, Signal_Ost);
    g.Setze({5, 8}, Bogen_SW_O);
    g.Strecke({6, 8}, {13, 8});
    g.Setze({14, 8}, Bogen_W_SO);
    g.Einsetzen(Signal_Gleis2, Signal_Ost);
    g.Setze({5, 10}, Bogen_NW_O);
    g.Strecke({6, 10}, {8, 10});
    g.Setze({9, 10}, Prellbock_W);
    g.Einsetzen(Entkupplung, Entkuppler);

    // The goods yard.
    g.Einsetzen(Gueterweiche1, Weiche_O_W_SW);
    g.Setze({12, 2}, Bogen_NO_W);
    g.Strecke({6, 2}, {11, 2});
    g.Setze({5, 2}, Prellbock_O);
    g.Einsetzen(Gueterweiche2, Weiche_O_W_SW);
    g.Setze({9, 3}, Bogen_NO_W);
    g.Strecke({7, 3}, {8, 3});
    g.Setze({6, 3}, Prellbock_O);

    // Decoders: Motorola decoders 1 and 2, DCC decoder 3.
    g.Dekoder(Einfahrweiche, "M", 1, {1, 2, 3});
    g.Dekoder(Ausfahrweiche, "M", 1, {5, 6});
    g.Dekoder(Signal_Gleis1, "M", 2, {1, 2});
    g.Dekoder(Signal_Gleis2, "M", 2, {3, 4});
    g.Dekoder(Entkupplung, "M", 2, {5});
    g.Dekoder(Gueterweiche1, "N", 3, {1, 2});
    g.Dekoder(Gueterweiche2, "N", 3, {3, 4});

    for (int k = 1; k <= int(Umlaufkontakte.size()); ++k)
        g.Kontakt(Umlaufkontakte[k - 1], 1, k);
    g.Kontakt({8, 8}, 2, 1);
    g.Kontakt({8, 10}, 2, 2);

    // The route buttons: route 1 below the main track, route 2 above the
    // passing loop.
    g.Setze({11, 10}, Taste_eckig).Fahrstrasse = 1;
    g.Setze({11, 7}, Taste_rund).Fahrstrasse = 2;
    return g;
}

void Eintragen(Fahrstrasse &route, Ort o, int stellung)
{
    const int n = ++route[0].X;
    route.at(n) = {o.Spalte * RasterGroesse, o.Zeile * RasterGroesse, 10 + stellung};
}

FahrTabelle Fahrstrassen()
{
    FahrTabelle tabelle {};
    // Route 1: through the station on the main track.
    Fahrstrasse &durch = tabelle[1];
    Eintragen(durch, Einfahrweiche, 1);
    Eintragen(durch, Signal_Gleis1, 2);
    Eintragen(durch, Ausfahrweiche, 1);
    Eintragen(durch, Signal_Gleis2, 1);
    // Route 2: into the passing loop, to stop at its signal; the exit
    // turnout already lies for leaving the loop.
    Fahrstrasse &ueberholen = tabelle[2];
    Eintragen(ueberholen, Einfahrweiche, 2);
    Eintragen(ueberholen, Signal_Gleis2, 1);
    Eintragen(ueberholen, Ausfahrweiche, 2);
    Eintragen(ueberholen, Signal_Gleis1, 1);
    return tabelle;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: beispielplan <dir>\n"
                             "writes the sample layout <dir>/bahnhof.pln and <dir>/bahnhof.fst\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    try {
        if (!QDir().mkpath(dir))
            throw VelmoFehler(QStringLiteral("Verzeichnis %1 kann nicht angelegt werden").arg(dir));
        const QString plan = QDir(dir).filePath(QStringLiteral("bahnhof.pln"));
        SchreibePlanDatei(plan, Bahnhof().Plan());
        SchreibeFahrstrassenDatei(FahrstrassenPfad(plan), Fahrstrassen());
    } catch (const VelmoFehler &fehler) {
        std::fprintf(stderr, "beispielplan: %s\n", qPrintable(fehler.Text));
        return 1;
    }
    return 0;
}
