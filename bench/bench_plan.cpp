// Opening a plan in a shown main window (offscreen), disconnected, through
// "Datei > Öffnen": the file is read and checked, every cell drawn, and the
// window ends in operating mode, which saves the plan. The baseline is
// bench_planleser on the same file.
//
//   bench_plan --anlegen N FILE   writes a plan of N records at random cells
//   bench_plan FILE               opens a copy of FILE twice and prints
//
//   zellen <records>
//   erstes_oeffnen_ms <ms>   the first open, the picture store empty
//   dekodiert <n>            the pictures decoded in the first open
//   oeffnen_ms <ms>          the second open, every picture known (Messteil)
#include "messteil.h"

#include "Velmo/TForm1.h"
#include "elemente/BildSpeicher.h"
#include "position/PlanDatei.h"
#include "scripteddialoge.h"
#include "testwork.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>
#include <cstdlib>

namespace {

// n cells at random places, elements and positions 1 to 3, wired to
// decoders; disconnected, nothing is sent while loading.
CPlanZellen Zufallsplan(int n)
{
    QRandomGenerator zufall(1);
    CPlanZellen plan;
    for (int i = 0; i < n; ++i) {
        plan.NeuePosition(27 * zufall.bounded(36), 27 * zufall.bounded(25), zufall.bounded(1, 89));
        C_Position &p = plan.Positionen[plan.PosAnzahl];
        p.Zustand = zufall.bounded(1, 4);
        p.Dekoder1 = p.Dekoder2 = p.Dekoder3 = zufall.bounded(1, 100);
        p.Adresse1 = 1, p.Adresse2 = 2, p.Adresse3 = 3;
        p.Protokoll = "M";
    }
    return plan;
}

int oeffnen(const QString &datei)
{
    if (builtDataDir().isEmpty())
        qputenv("VELMO_DATA_DIR", QFile::encodeName(QCoreApplication::applicationDirPath() + "/Data"));
    // The pictures are copied, not linked, as in an installed Data/.
    TestWorkDir work(false);
    const QDir daten(builtDataDir());
    for (const QString &name : daten.entryList(QDir::Files))
        QFile::copy(daten.filePath(name), work.dataPath(name));
    // Opening saves the plan: a copy keeps the file the baseline reads.
    const QString pfad = work.path() + "plan.pln";
    if (!QFile::copy(datei, pfad)) {
        std::fprintf(stderr, "bench_plan: cannot read %s\n", qPrintable(datei));
        return 1;
    }
    const int zellen = LiesPlanDatei(pfad).PosAnzahl;

    TestFenster f(work.path());
    f.Dialogs->Meldungen.clear(); // the missing settings file
    f->show();
    QApplication::processEvents();
    bool geoeffnet = true;
    auto oeffnen = [&] {
        f.Dialogs->FileAnswers << pfad;
        f->Oeffnen1Click();
        geoeffnet = geoeffnet && f->Dokument.Zellen.PosAnzahl == zellen && f->BetriebModus && f.Dialogs->Meldungen.isEmpty();
    };
    // Only the second open counts under callgrind.
    const int vorher = Bildspeicher().Dekodierungen();
    QElapsedTimer uhr;
    uhr.start();
    oeffnen();
    const double erstes = uhr.nsecsElapsed() / 1e6;
    const int dekodiert = Bildspeicher().Dekodierungen() - vorher;
    const double zweites = Messteil(oeffnen);
    if (!geoeffnet) {
        std::fprintf(stderr, "bench_plan: the plan did not open: %s\n", qPrintable(f.Dialogs->Meldungen.value(0).Text));
        return 1;
    }
    std::printf("zellen %d\nerstes_oeffnen_ms %.2f\ndekodiert %d\noeffnen_ms %.2f\n", zellen, erstes, dekodiert,
                zweites);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int anzahl = argc == 4 && QByteArray(argv[1]) == "--anlegen" ? std::atoi(argv[2]) : 0;
    if (anzahl >= 1 && anzahl <= MaxPositionen) {
        SchreibePlanDatei(QString::fromLocal8Bit(argv[3]), Zufallsplan(anzahl));
        return 0;
    }
    if (argc == 2 && argv[1][0] != '-')
        return oeffnen(QString::fromLocal8Bit(argv[1]));
    std::fprintf(stderr, "usage: bench_plan --anlegen N FILE | bench_plan FILE\n");
    return 2;
}
