// Opening and saving a plan of 10000 records, disconnected, in a shown main
// window (offscreen). Baseline in the same run: decoding 10000 icon files
// with QImage, the cost an open would have if it read every picture afresh.
//
//   QT_QPA_PLATFORM=offscreen build/bin/bench_plan [runs]
#include "Velmo/TForm1.h"
#include "elemente/BildSpeicher.h"
#include "elemente/Bilder.h"
#include "position/PlanDatei.h"
#include "scripteddialoge.h"
#include "testwork.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Median(std::vector<double> werte)
{
    std::sort(werte.begin(), werte.end());
    return werte[werte.size() / 2];
}

template<class F>
double Millisekunden(F &&f)
{
    QElapsedTimer uhr;
    uhr.start();
    f();
    return uhr.nsecsElapsed() / 1e6;
}

// 10000 cells at random places, elements and positions 1 to 3, wired to
// decoders; disconnected, nothing is sent while loading.
CPlanZellen Grossplan()
{
    QRandomGenerator zufall(1);
    CPlanZellen plan;
    for (int i = 0; i < MaxPositionen; ++i) {
        plan.NeuePosition(27 * zufall.bounded(36), 27 * zufall.bounded(25), zufall.bounded(1, 89));
        C_Position &p = plan.Positionen[plan.PosAnzahl];
        p.Zustand = zufall.bounded(1, 4);
        p.Dekoder1 = p.Dekoder2 = p.Dekoder3 = zufall.bounded(1, 100);
        p.Adresse1 = 1, p.Adresse2 = 2, p.Adresse3 = 3;
        p.Protokoll = "M";
    }
    return plan;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int laeufe = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    if (builtDataDir().isEmpty())
        qputenv("VELMO_DATA_DIR", QFile::encodeName(QCoreApplication::applicationDirPath() + "/Data"));

    // The pictures are copied, not linked, as in an installed Data/.
    TestWorkDir work(false);
    const QDir daten(builtDataDir());
    for (const QString &name : daten.entryList(QDir::Files))
        QFile::copy(daten.filePath(name), work.dataPath(name));
    TestFenster f(work.path());
    f.Dialogs->Meldungen.clear(); // the missing settings file
    f->show();
    QApplication::processEvents();
    const QString pfad = work.path() + "gross.pln";
    SchreibePlanDatei(pfad, Grossplan());

    // Baseline: 10000 decodes of the icon files, cycling through all of them.
    const QStringList icons = QDir(work.path() + "Data").entryList({"Icon*.bmp"});
    std::vector<double> dekodieren;
    for (int lauf = 0; lauf < laeufe; ++lauf)
        dekodieren.push_back(Millisekunden([&] {
            for (int i = 0; i < MaxPositionen; ++i) {
                const QImage bild(work.path() + "Data/" + icons[i % icons.size()]);
                if (bild.isNull())
                    qFatal("cannot decode %s", qPrintable(icons[i % icons.size()]));
            }
        }));

    auto oeffnen = [&] {
        f.Dialogs->FileAnswers << pfad;
        f->Oeffnen1Click();
        if (f->PosAnzahl != MaxPositionen || !f.Dialogs->Meldungen.isEmpty())
            qFatal("the plan did not open: %s", qPrintable(f.Dialogs->Meldungen.value(0).Text));
    };
    const int vorher = Bildspeicher().Dekodierungen();
    const double erstesOeffnen = Millisekunden(oeffnen);
    const int dekodiert = Bildspeicher().Dekodierungen() - vorher;
    std::vector<double> oeffnenZeiten, ladenZeiten, speichernZeiten;
    for (int lauf = 0; lauf < laeufe; ++lauf) {
        oeffnenZeiten.push_back(Millisekunden(oeffnen));
        ladenZeiten.push_back(Millisekunden([&] { f->LadePlan(work.path(), "gross.pln"); }));
        speichernZeiten.push_back(Millisekunden([&] { f->SpeicherePlan("gross.pln", work.path()); }));
    }

    const double basis = Median(dekodieren);
    std::printf("plan of %d records, median of %d runs\n", MaxPositionen, laeufe);
    std::printf("decode %d icon files with QImage (baseline): %8.1f ms\n", MaxPositionen, basis);
    std::printf("first open (picture store empty, %3d decodes): %8.1f ms  = %.3f of baseline\n", dekodiert,
                erstesOeffnen, erstesOeffnen / basis);
    std::printf("open (\"Oeffnen\" whole, ends with a save):     %8.1f ms  = %.3f of baseline\n",
                Median(oeffnenZeiten), Median(oeffnenZeiten) / basis);
    std::printf("load alone (read, check, draw):                %8.1f ms  = %.3f of baseline\n",
                Median(ladenZeiten), Median(ladenZeiten) / basis);
    std::printf("save:                                          %8.1f ms\n", Median(speichernZeiten));
    return 0;
}
