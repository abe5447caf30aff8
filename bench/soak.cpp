// A long run of the real main window (offscreen, scripted dialogs) against
// the simulator, whose demo train runs round feedback contacts 1 to 8. With
// the command, info and poll connections open and a plan showing the eight
// contacts above eight turnouts, one menu entry after the other is pressed
// every few seconds; in between, every 200 ms, a random turnout or empty
// cell is pressed (in operation only) or one of three throttles, two of
// them with a locomotive, is dragged step by step to a random position.
// Every second the resident memory and the thread count are sampled and
// the event loop is checked for gaps; the summary tells whether it ever
// went unserved for a second or more outside a menu entry, and how fast
// the memory grew over the second half of the run.
//
//   build/bin/soak [seconds=600] [demo interval ms=100] [step ms=2000] [seed=1]
//
// The feedback display is wrapped to count the pictures it draws; the
// simulator runs as `srcpsim --port 0 --demo 8 --interval <ms>`, port 0
// picking free ports. The exit status is 1 after a hang or a dialog.
#include "Velmo/TForm1.h"
#include "position/PlanDatei.h"
#include "regler/TReglerPanel.h"
#include "gangmesser.h"
#include "prozesswerte.h"
#include "scripteddialoge.h"
#include "testwork.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr qint64 Haenger = 1000;

// First, last and largest of a series of samples.
struct Reihe
{
    long Start = -1, Ende = 0, Max = 0;
    void nimm(long wert)
    {
        if (Start < 0)
            Start = wert;
        Ende = wert;
        Max = std::max(Max, wert);
    }
};

// A menu entry of the cycle: how often it was pressed while enabled and
// the longest gap of the event loop while it ran.
struct Eintrag
{
    const char *Name;
    QAction *Aktion;
    int Gedrueckt = 0;
    qint64 LaengsteLuecke = 0;
};

int zahl(int argc, char *argv[], int i, int vorgabe)
{
    return argc > i ? std::max(1, atoi(argv[i])) : vorgabe;
}

// Eight feedback contacts (module 1, contacts 1 to 8) in the top row and
// eight turnouts below them, decoder 1 outputs 1 to 8, protocol N.
QString Soakplan(const QString &dir)
{
    CPlanZellen plan;
    for (int k = 1; k <= 8; ++k) {
        plan.NeuePosition(27 * (k - 1), 0, 65);
        plan.Positionen[plan.PosAnzahl].Dekoder1 = 1;
        plan.Positionen[plan.PosAnzahl].Adresse1 = k;
        plan.NeuePosition(27 * (k - 1), 27, 6);
        C_Position &weiche = plan.Positionen[plan.PosAnzahl];
        weiche.Dekoder1 = weiche.Dekoder2 = 1;
        weiche.Adresse1 = k;
        weiche.Adresse2 = k + 1;
        weiche.Protokoll = "N";
    }
    const QString pfad = QDir(dir).filePath(QStringLiteral("soak.pln"));
    SchreibePlanDatei(pfad, plan);
    return pfad;
}

// The slope in kB/s of a least-squares line through (seconds, kB).
double Steigung(const std::vector<std::pair<double, long>> &punkte)
{
    const double n = double(punkte.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const auto &[x, y] : punkte) {
        sx += x;
        sy += double(y);
        sxx += x * x;
        sxy += x * double(y);
    }
    const double nenner = n * sxx - sx * sx;
    return nenner > 0 ? (n * sxy - sx * sy) / nenner : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int sekunden = zahl(argc, argv, 1, 600);
    const int intervall = zahl(argc, argv, 2, 100);
    const int schritt = zahl(argc, argv, 3, 2000);
    const int saat = zahl(argc, argv, 4, 1);
    const QString bin = builtBinDir().isEmpty() ? QCoreApplication::applicationDirPath() : builtBinDir();
    if (builtDataDir().isEmpty())
        qputenv("VELMO_DATA_DIR", QFile::encodeName(bin + "/Data"));

    QProcess sim;
    sim.setStandardErrorFile(QProcess::nullDevice());
    sim.start(bin + "/srcpsim", {"--port", "0", "--demo", "8", "--interval", QString::number(intervall), "--exit-on-eof"});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000))
        qFatal("srcpsim did not start");
    const int port = sim.readLine().trimmed().toInt();

    TestWorkDir work;
    TestFenster f(work.path());
    f.Dialogs->Meldungen.clear(); // the missing settings file
    f->ServerHost = "127.0.0.1";
    f->ServerPort = port;
    f->VerbindungenEinstellen();
    f->InfoMode = 1;
    // Throttles 1 and 2 drive a locomotive each, throttle 3 none; all three
    // have 100 steps.
    f->Lokomotiven[0].Protokoll = "N1";
    f->Lokomotiven[0].Adresse = 3;
    f->Lokomotiven[1].Protokoll = "M2";
    f->Lokomotiven[1].Adresse = 5;
    for (int i = 0; i < 3; ++i)
        f->Lokomotiven[i].Vmax = 100;
    long belegt = 0, frei = 0, zeichenfehler = 0;
    f->Rueck = std::make_unique<Crueck>(
        f->Dokument.Zellen,
        [&](const QString &name, int x, int y) {
            ++(name.endsWith("02.bmp") ? belegt : frei);
            f->IconZeichnen(name, x, y);
        },
        [&] { ++zeichenfehler; });
    f->show();
    f.Dialogs->FileAnswers = {Soakplan(work.path())};
    f->Oeffnen1->trigger();
    f->Hostverbinden1->trigger();
    f->Abfragestarten1->trigger();
    if (!f->CommandConnected || !f->InfoConnected || !f->PollConnected)
        qFatal("no connection to srcpsim on port %d", port);

    // "Reset" only works while the poll connection is stopped.
    std::vector<Eintrag> eintraege {
        {"Power on", f->Poweron1}, {"Power off", f->Poweroff1}, {"Abfrage beenden", f->Abfragebeenden1},
        {"Reset", f->reset1}, {"Abfrage starten", f->Abfragestarten1}, {"Host trennen", f->Hosttrennen1},
        {"Host verbinden", f->Hostverbinden1}, {"640x480", f->N640mal480}, {"800x600", f->N800mal600},
        {"1024x768", f->N1024mal768}, {"automatisch", f->automatisch1}, {"Gleisbild entwerfen", f->Gleisbildentwerfen1},
        {"Lokregler", f->Softregler1}, {"Betrieb", f->Betrieb1}};
    Reihe rss, threads;
    std::vector<std::pair<double, long>> rssVerlauf;
    Gangmesser gang;
    qint64 ruheLuecke = 0;
    int haenger = 0, resets = 0, schritte = 0, proben = 0;
    bool inEintrag = false;
    QElapsedTimer uhr;
    uhr.start();

    auto stichprobe = [&] {
        rss.nimm(Prozesswert("VmRSS"));
        rssVerlauf.emplace_back(uhr.elapsed() / 1000.0, rss.Ende);
        threads.nimm(Prozesswert("Threads"));
        if (inEintrag)
            return;
        const qint64 luecke = gang.laengsteLuecke();
        gang.neu();
        ruheLuecke = std::max(ruheLuecke, luecke);
        if (luecke >= Haenger)
            ++haenger;
    };
    stichprobe();
    QTimer takt;
    QObject::connect(&takt, &QTimer::timeout, [&] {
        stichprobe();
        if (++proben % 60 == 0)
            std::printf("%4lld s  RSS %ld kB  threads %ld  feedback pictures %ld\n", uhr.elapsed() / 1000, rss.Ende,
                        threads.Ende, belegt + frei);
        std::fflush(stdout);
    });
    takt.start(1000);

    std::function<void()> naechster = [&] {
        if (uhr.elapsed() >= sekunden * 1000LL) {
            QCoreApplication::exit(0);
            return;
        }
        Eintrag &e = eintraege[schritte++ % eintraege.size()];
        stichprobe();
        inEintrag = true;
        if (e.Aktion->isEnabled()) {
            ++e.Gedrueckt;
            resets += e.Aktion == f->reset1;
        }
        e.Aktion->trigger();
        e.LaengsteLuecke = std::max(e.LaengsteLuecke, gang.laengsteLuecke());
        gang.neu();
        inEintrag = false;
        QTimer::singleShot(schritt, naechster);
    };
    QTimer::singleShot(schritt, naechster);

    // The operator's own hands: a turnout or an empty cell pressed, or a
    // throttle dragged step by step to a random position.
    QRandomGenerator zufall(saat);
    int druecke = 0, zuege = 0;
    QScrollBar *regler = nullptr;
    int ziel = 0;
    QTimer hand, zug;
    QObject::connect(&hand, &QTimer::timeout, [&] {
        if (zufall.bounded(2) == 0) {
            if (!f->Betrieb1->isChecked())
                return;
            ++druecke;
            f->VelmoMouseDown(Qt::LeftButton, {}, 27 * zufall.bounded(10) + 13, 27 * zufall.bounded(1, 3) + 13);
            return;
        }
        if (zug.isActive())
            return;
        regler = f->Regler_panel->ScrollBar(zufall.bounded(3));
        ziel = zufall.bounded(regler->minimum(), regler->maximum() + 1);
        ++zuege;
        zug.start(5);
    });
    // A drag moves one step every 5 ms, the window drawing in between, as
    // under a real mouse.
    QObject::connect(&zug, &QTimer::timeout, [&] {
        if (regler->value() == ziel) {
            zug.stop();
            return;
        }
        regler->triggerAction(regler->value() < ziel ? QAbstractSlider::SliderSingleStepAdd
                                                     : QAbstractSlider::SliderSingleStepSub);
    });
    hand.start(200);
    app.exec();
    stichprobe();
    const qint64 dauer = uhr.elapsed();

    f->Abfragebeenden1->trigger();
    f->Hosttrennen1->trigger();
    // The pressed turnouts changed the plan: its question is answered "Nein".
    f.Dialogs->FrageAntworten = {Dialoge::Antwort::Nein};
    const bool geschlossen = f->close();
    sim.closeWriteChannel();
    if (!sim.waitForFinished(3000))
        sim.kill();

    std::printf("\nsoak: %.1f s against srcpsim --port 0 (base port %d) --demo 8 --interval %d, a menu entry every %d ms\n",
                dauer / 1000.0, port, intervall, schritt);
    std::printf("resident memory (kB): start %ld, end %ld, max %ld\n", rss.Start, rss.Ende, rss.Max);
    const auto zweiteHaelfte = std::find_if(rssVerlauf.begin(), rssVerlauf.end(),
                                            [&](const auto &p) { return p.first >= dauer / 2000.0; });
    std::printf("resident memory slope over the second half: %.2f kB/s\n",
                Steigung({zweiteHaelfte, rssVerlauf.end()}));
    std::printf("threads:              start %ld, end %ld, max %ld\n", threads.Start, threads.Ende, threads.Max);
    const auto laengster = std::max_element(eintraege.begin(), eintraege.end(), [](const Eintrag &a, const Eintrag &b) {
        return a.LaengsteLuecke < b.LaengsteLuecke;
    });
    std::printf("event loop: longest gap %lld ms (during \"%s\"); outside menu entries %lld ms; gaps of %lld ms or "
                "more outside menu entries: %d\n",
                std::max(ruheLuecke, laengster->LaengsteLuecke), laengster->Name, ruheLuecke, Haenger, haenger);
    int gedrueckt = 0;
    for (const Eintrag &e : eintraege)
        gedrueckt += e.Gedrueckt;
    std::printf("menu entries: %d steps, %d pressed while enabled; by hand (seed %d): %d cells pressed, %d throttle "
                "drags\n",
                schritte, gedrueckt, saat, druecke, zuege);
    for (const Eintrag &e : eintraege)
        std::printf("  %-20s %4d pressed, longest gap %lld ms\n", e.Name, e.Gedrueckt, e.LaengsteLuecke);
    std::printf("feedback lines drawn: %ld (occupied %ld, free %ld, minus 8 per reset: %d resets); draw errors %ld\n",
                belegt + frei - 8L * resets, belegt, frei, resets, zeichenfehler);
    std::printf("dialogs shown: %lld\n", qlonglong(f.Dialogs->Meldungen.size()));
    for (const auto &m : f.Dialogs->Meldungen)
        std::printf("  %s\n", qPrintable(m.Text));
    std::printf("window closed after disconnecting: %s\n", geschlossen ? "yes" : "no");
    return haenger > 0 || !f.Dialogs->Meldungen.isEmpty() || !geschlossen ? 1 : 0;
}
