// Operating mode: the throttle sliders to their drive lines on the wire.
//
// The main window, offscreen, in operating mode with three locomotives on
// throttles 1 to 3 (Motorola "M3", addresses 3, 4 and 5, forward, four
// functions, all off), connected under SRCP 0.73 to a loopback server in
// this program. The server reads with its own thread and stamps the arrival
// of the first byte of every line with the steady clock the changes are
// stamped with.
//
// 1. Slider change to drive line: CHANGES setValue calls on the slider of
//    throttle 1 (Vmax 100), one step at a time from the bottom (speed 0) to
//    the top and back, over and over; setValue emits valueChanged as a drag
//    does. Measured is the time from just before setValue to the first byte
//    of the drive line at the server. Each change waits for its line.
//    Baseline in the same run: the same lines written with send(2) on a bare
//    connected socket with TCP_NODELAY, as Velmo's command connection has, to
//    a second server of the same kind; changes and baseline writes take
//    turns, which goes first alternating.
//        velmo_us <us>   basis_us <us>   for every change and baseline write
// 2. Mouse drag over the whole range: a left press on the handle of
//    throttle 2 (Vmax 100), then of throttle 3 (Vmax 1000), moves of one
//    pixel, each from a tick of a 1 ms timer in the event loop as a real
//    mouse's come, from the bottom to the top, and the release there (QTest
//    mouse events). Measured is the longest the event loop went unserved
//    during the drag (a Gangmesser; it ticks every 5 ms, so 5 ms is the
//    least it shows). Baseline after each: the same drag on a bare vertical
//    QScrollBar of the same size and range, whose every value change sends
//    its drive line with send(2) on a bare socket.
//        velmo_luecke_ms <ms>   basis_luecke_ms <ms>   for every drag
//
// Every drive line is checked against the slider position it came from
// (speed = Vmax - position), one line per value change.
//
//   QT_QPA_PLATFORM=offscreen build/bin/bench_regler [CHANGES]
#include "Velmo/TForm1.h"
#include "benchhilfe.h"
#include "gangmesser.h"
#include "regler/TReglerPanel.h"
#include "scripteddialoge.h"

#include <QApplication>
#include <QEventLoop>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

// The Vmax of locomotives 0 to 2: the changes, the drag at a modeller's
// Vmax and the drag at a fine one.
constexpr int Vmax[] = {100, 100, 1000};

void schlafen()
{
    std::this_thread::sleep_for(std::chrono::microseconds(50));
}

// The drive line of `lok` at `geschwindigkeit`; the bench's locomotives
// have all their functions off.
QByteArray Fahrzeile(const cLocoInfo &lok, int geschwindigkeit)
{
    QByteArray zeile = "SET GL " + lok.Protokoll;
    for (int wort : {lok.Adresse, lok.Richtung, geschwindigkeit, lok.Vmax, lok.Funktion0, lok.Funktionsanzahl})
        zeile += ' ' + QByteArray::number(wort);
    for (int f = 0; f < lok.Funktionsanzahl; ++f)
        zeile += " 0";
    return zeile;
}

// The server's lines from `erste` on must be `erwartet`, in turn.
bool pruefen(const char *name, const std::vector<Empfangen> &zeilen, std::size_t erste,
             const std::vector<QByteArray> &erwartet)
{
    if (zeilen.size() != erste + erwartet.size()) {
        std::fprintf(stderr, "%s: %zu lines at the server, expected %zu\n", name, zeilen.size() - erste,
                     erwartet.size());
        return false;
    }
    for (std::size_t i = 0; i < erwartet.size(); ++i)
        if (zeilen[erste + i].Text != erwartet[i]) {
            std::fprintf(stderr, "%s: line %zu is \"%s\", expected \"%s\"\n", name, i + 1,
                         zeilen[erste + i].Text.constData(), erwartet[i].constData());
            return false;
        }
    return true;
}

// Position i of the changes: from Vmax (speed 0) one step at a time to 0
// (full speed) and back, over and over.
int Stellung(int i, int vmax)
{
    const int t = (i + 1) % (2 * vmax);
    return vmax - (t <= vmax ? t : 2 * vmax - t);
}

// Velmo's changes and the baseline's writes take turns, so that both meet
// the same load of the machine. Between two steps the window's pending
// events are served.
bool aendern(const cLocoInfo &lok, QScrollBar &regler, const Empfaenger &server, int anzahl)
{
    Empfaenger basisServer;
    const int fd = nackterClient(basisServer.Port());
    if (fd < 0) {
        std::fprintf(stderr, "baseline: no connection\n");
        return false;
    }
    const std::size_t erste = server.Anzahl();
    std::vector<QByteArray> erwartet;
    std::vector<qint64> starts, basisStarts;
    const auto setzen = [&](int stellung) {
        const qint64 start = jetztNs();
        regler.setValue(stellung);
        starts.push_back(start);
        return server.warten(erste + starts.size(), schlafen);
    };
    const auto basis = [&](const QByteArray &zeile) {
        const qint64 start = jetztNs();
        const bool gesendet = allesSenden(fd, zeile + '\n');
        basisStarts.push_back(start);
        return gesendet && basisServer.warten(basisStarts.size(), schlafen);
    };
    bool gut = true;
    for (int i = 0; i < anzahl && gut; ++i) {
        const int stellung = Stellung(i, lok.Vmax);
        erwartet.push_back(Fahrzeile(lok, lok.Vmax - stellung));
        gut = i % 2 == 0 ? setzen(stellung) && basis(erwartet.back()) : basis(erwartet.back()) && setzen(stellung);
        QCoreApplication::processEvents();
    }
    ::shutdown(fd, SHUT_WR);
    close(fd);
    if (!gut) {
        std::fprintf(stderr, "a line did not reach its server within 5 s\n");
        return false;
    }
    const std::vector<Empfangen> zeilen = server.Kopie(), basisZeilen = basisServer.Kopie();
    if (!pruefen("velmo", zeilen, erste, erwartet) || !pruefen("baseline", basisZeilen, 0, erwartet))
        return false;
    std::vector<double> latenz, grund;
    for (std::size_t i = 0; i < erwartet.size(); ++i) {
        latenz.push_back((zeilen[erste + i].Ankunft - starts[i]) / 1e3);
        grund.push_back((basisZeilen[i].Ankunft - basisStarts[i]) / 1e3);
    }
    Ausgeben("velmo_us", latenz);
    Ausgeben("basis_us", grund);
    return true;
}

// Drags the handle of the vertical slider `regler` with the mouse from
// where it is at the bottom to the top and prints the longest gap of the
// event loop under `schluessel`.
bool ziehen(const char *schluessel, const cLocoInfo &lok, QScrollBar &regler, const Empfaenger &server)
{
    // The handle and the groove as the slider itself lays them out.
    QStyleOptionSlider lage;
    lage.initFrom(&regler);
    lage.subControls = QStyle::SC_All;
    lage.orientation = regler.orientation();
    lage.minimum = regler.minimum();
    lage.maximum = regler.maximum();
    lage.sliderPosition = regler.sliderPosition();
    lage.sliderValue = regler.value();
    lage.singleStep = regler.singleStep();
    lage.pageStep = regler.pageStep();
    lage.upsideDown = regler.invertedAppearance();
    const auto teil = [&](QStyle::SubControl welches) {
        return regler.style()->subControlRect(QStyle::CC_ScrollBar, &lage, welches, &regler);
    };
    const QRect griff = teil(QStyle::SC_ScrollBarSlider), rinne = teil(QStyle::SC_ScrollBarGroove);
    const int x = griff.center().x(), unten = griff.center().y(), oben = unten - (griff.top() - rinne.top());

    std::vector<QByteArray> erwartet;
    const QMetaObject::Connection zaehler = QObject::connect(&regler, &QScrollBar::valueChanged, [&](int stellung) {
        erwartet.push_back(Fahrzeile(lok, lok.Vmax - stellung));
    });
    const std::size_t erste = server.Anzahl();
    QEventLoop schleife;
    QTimer takt;
    takt.setTimerType(Qt::PreciseTimer);
    int y = unten;
    QObject::connect(&takt, &QTimer::timeout, [&] {
        if (y > oben) {
            QTest::mouseMove(&regler, QPoint(x, --y));
        } else {
            QTest::mouseRelease(&regler, Qt::LeftButton, {}, QPoint(x, y));
            takt.stop();
            schleife.quit();
        }
    });
    Gangmesser luecken;
    QTest::mousePress(&regler, Qt::LeftButton, {}, QPoint(x, y));
    takt.start(1);
    schleife.exec();
    const qint64 luecke = luecken.laengsteLuecke();
    QObject::disconnect(zaehler);

    // Each line is written before the handling of its move returns; a line
    // too many would follow within microseconds, well inside the pause.
    const bool angekommen = server.warten(erste + erwartet.size(), schlafen);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::vector<Empfangen> zeilen = server.Kopie();
    std::printf("%s %lld\n", schluessel, luecke);
    if (regler.value() != regler.minimum()) {
        std::fprintf(stderr, "the drag ended at position %d, not at the top\n", regler.value());
        return false;
    }
    if (!angekommen) {
        std::fprintf(stderr, "a drive line did not reach the server within 5 s\n");
        return false;
    }
    return pruefen("drag", zeilen, erste, erwartet);
}

// The baseline of a drag on `vorbild`: a bare slider of its size, range and
// steps, shown at the bottom, whose value changes send their drive lines on
// a bare socket.
bool nacktZiehen(const cLocoInfo &lok, const QScrollBar &vorbild)
{
    Empfaenger server;
    const int fd = nackterClient(server.Port());
    if (fd < 0) {
        std::fprintf(stderr, "baseline: no connection\n");
        return false;
    }
    QScrollBar regler(Qt::Vertical);
    regler.setRange(vorbild.minimum(), vorbild.maximum());
    regler.setSingleStep(vorbild.singleStep());
    regler.setPageStep(vorbild.pageStep());
    regler.setValue(vorbild.maximum());
    regler.resize(vorbild.size());
    QObject::connect(&regler, &QScrollBar::valueChanged,
                     [&](int stellung) { allesSenden(fd, Fahrzeile(lok, lok.Vmax - stellung) + '\n'); });
    regler.show();
    const bool gut = ziehen("basis_luecke_ms", lok, regler, server);
    ::shutdown(fd, SHUT_WR);
    close(fd);
    return gut;
}

// Connects the window to a server, runs the changes on throttle 1 and the
// drags on throttles 2 and 3, each followed by its baseline, and
// disconnects.
bool messen(TForm1 &form, QScrollBar *const (&regler)[3], int anzahl)
{
    Empfaenger server;
    form.ServerHost = "127.0.0.1";
    form.ServerPort = server.Port();
    form.SrcpVersion = SrcpVersion073;
    form.InfoMode = 0;
    form.VerbindungenEinstellen();
    form.Hostverbinden1Click();
    if (!form.CommandConnected || !server.warten(1, schlafen) || server.Kopie()[0].Text != "SET POWER ON") {
        std::fprintf(stderr, "Velmo did not connect to the server with \"SET POWER ON\"\n");
        return false;
    }
    bool gut = aendern(form.Lokomotiven[0], *regler[0], server, anzahl);
    for (int i = 1; i < 3 && gut; ++i)
        gut = ziehen("velmo_luecke_ms", form.Lokomotiven[i], *regler[i], server)
              && nacktZiehen(form.Lokomotiven[i], *regler[i]);
    form.Hosttrennen1Click();
    return gut;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int anzahl = AnzahlArgument(argc, argv, 500, "bench_regler", "CHANGES");
    if (anzahl == 0)
        return 2;

    QTemporaryDir work;
    DatenVerlinken(work.path());
    TestFenster form(work.path() + '/');
    form.Dialogs->Meldungen.clear(); // the missing settings file
    form->show();
    // Entering operating mode saves the plan, here an empty one in the work directory.
    form->Dokument.PlanDir = work.path() + '/';
    form->Dokument.PlanName = "regler.pln";
    for (int i = 0; i < 3; ++i) {
        cLocoInfo &lok = form->Lokomotiven[i];
        lok.Protokoll = "M3";
        lok.Adresse = 3 + i;
        lok.Richtung = 1;
        lok.Geschwindigkeit = 0;
        lok.Vmax = Vmax[i];
        lok.Funktionsanzahl = 4;
    }
    form->Betrieb1Click();
    QScrollBar *regler[3];
    for (int i = 0; i < 3; ++i) {
        regler[i] = form->Regler_panel->findChild<QScrollBar *>("ScrollBar" + QString::number(i + 1));
        if (!regler[i] || regler[i]->orientation() != Qt::Vertical || regler[i]->maximum() != Vmax[i]
            || regler[i]->value() != Vmax[i]) {
            std::fprintf(stderr, "throttle %d: no vertical slider with maximum %d at speed 0\n", i + 1, Vmax[i]);
            return 1;
        }
    }

    const bool gut = messen(*form.Form, regler, anzahl);
    for (const ScriptedDialoge::Shown &meldung : form.Dialogs->Meldungen)
        std::fprintf(stderr, "message: %s\n", qPrintable(meldung.Text));
    return gut ? 0 : 1;
}
