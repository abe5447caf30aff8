// Operating mode: a press on a turnout to its "on" line on the wire.
//
// The main window, offscreen, opens a plan of one turnout (element 8 in cell
// (1, 1), positions 1 and 2 on decoder 1, outputs 1 and 2, Motorola) and
// connects under SRCP 0.73 to a loopback server in this program. The server
// reads with its own thread (TCP_NODELAY on its side too) and stamps the
// arrival of the first byte of every line with the steady clock the presses
// are stamped with. Measured is the time from a left press on the turnout's
// cell (VelmoMouseDown at the cell's view point) to the first byte of its
// "on" line at the server. The pulse is 1 ms, and a press counts as done
// when VelmoMouseDown has returned and its "off" line has arrived; only then
// comes the next one. Every line the server received is checked against the
// turnout's alternating positions. Baseline in the same run: the same lines
// written with send(2) on a bare connected socket with TCP_NODELAY, as
// Velmo's command connection has, to a second server of the same kind, "on",
// 1 ms, "off"; presses and baseline writes take turns, which goes first
// alternating. Printed for every press and baseline write:
//
//   velmo_us <us>   basis_us <us>
//
//   QT_QPA_PLATFORM=offscreen build/bin/bench_schalten [PRESSES]
#include "benchhilfe.h"
#include "position/PlanDatei.h"
#include "scripteddialoge.h"

#include <QApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr int Spalte = 1, Reihe = 1;

// The lines of press i: from position 1 to 2 (output 2: address 5, port 1)
// on even i, back to 1 (output 1: address 5, port 0) on odd i.
QByteArray Zeile(int i, int wert)
{
    return QByteArray("SET GA M 5 ") + (i % 2 == 0 ? "1 " : "0 ") + QByteArray::number(wert) + " -1";
}

// The server's lines from `erste` on must be the "on" and "off" lines of
// the presses in turn; returns the arrival of each "on" line less its press.
bool auswerten(const char *name, const std::vector<Empfangen> &zeilen, std::size_t erste,
               const std::vector<qint64> &druecke, std::vector<double> &us)
{
    if (zeilen.size() != erste + 2 * druecke.size()) {
        std::fprintf(stderr, "%s: %zu lines at the server, expected %zu\n", name, zeilen.size(),
                     erste + 2 * druecke.size());
        return false;
    }
    for (std::size_t i = 0; i < druecke.size(); ++i) {
        const Empfangen &ein = zeilen[erste + 2 * i], &aus = zeilen[erste + 2 * i + 1];
        if (ein.Text != Zeile(int(i), 1) || aus.Text != Zeile(int(i), 0)) {
            std::fprintf(stderr, "%s: press %zu sent \"%s\" / \"%s\", expected \"%s\" / \"%s\"\n", name, i + 1,
                         ein.Text.constData(), aus.Text.constData(), Zeile(int(i), 1).constData(),
                         Zeile(int(i), 0).constData());
            return false;
        }
        us.push_back((ein.Ankunft - druecke[i]) / 1e3);
    }
    return true;
}

// Velmo's presses and the baseline's writes take turns, so that both meet
// the same load of the machine; which goes first alternates. Between two
// steps the window's pending events (the new picture) are served.
bool messen(TForm1 &form, int anzahl, std::vector<double> &latenz, std::vector<double> &grund)
{
    Empfaenger server, basisServer;
    form.ServerHost = "127.0.0.1";
    form.ServerPort = server.Port();
    form.SrcpVersion = SrcpVersion073;
    form.InfoMode = 0;
    form.VerbindungenEinstellen();
    form.Hostverbinden1Click();
    // While waiting for a server the window's timers run: the pulse's "off"
    // comes from one.
    const auto schlafen = [] {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    };
    if (!form.CommandConnected || !server.warten(1, schlafen)) {
        std::fprintf(stderr, "Velmo did not connect to the server\n");
        return false;
    }
    const int fd = nackterClient(basisServer.Port());
    if (fd < 0) {
        std::fprintf(stderr, "baseline: no connection\n");
        return false;
    }
    form.Bahn->Schaltimpuls = 1;
    const int x = 27 * Spalte + 13, y = 27 * Reihe + 13;
    std::vector<qint64> druecke, basisDruecke;
    const auto druecken = [&] {
        const qint64 start = jetztNs();
        form.VelmoMouseDown(Qt::LeftButton, Qt::NoModifier, x, y);
        form.VelmoMouseUp(Qt::LeftButton, Qt::NoModifier, x, y);
        druecke.push_back(start);
        return server.warten(1 + 2 * druecke.size(), schlafen);
    };
    const auto basis = [&](int i) {
        const qint64 start = jetztNs();
        bool gut = allesSenden(fd, Zeile(i, 1) + '\n');
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        gut = gut && allesSenden(fd, Zeile(i, 0) + '\n');
        basisDruecke.push_back(start);
        return gut && basisServer.warten(2 * basisDruecke.size(), schlafen);
    };
    bool gut = true;
    for (int i = 0; i < anzahl && gut; ++i) {
        gut = i % 2 == 0 ? druecken() && basis(i) : basis(i) && druecken();
        QCoreApplication::processEvents();
    }
    form.Hosttrennen1Click();
    ::shutdown(fd, SHUT_WR);
    close(fd);
    if (!gut) {
        std::fprintf(stderr, "a line did not reach its server within 5 s\n");
        return false;
    }
    const std::vector<Empfangen> zeilen = server.Kopie();
    if (zeilen.empty() || zeilen[0].Text != "SET POWER ON") {
        std::fprintf(stderr, "Velmo: the first line at the server is not \"SET POWER ON\"\n");
        return false;
    }
    return auswerten("Velmo", zeilen, 1, druecke, latenz)
           && auswerten("baseline", basisServer.Kopie(), 0, basisDruecke, grund);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int anzahl = AnzahlArgument(argc, argv, 200, "bench_schalten", "PRESSES");
    if (anzahl == 0)
        return 2;

    QTemporaryDir work;
    DatenVerlinken(work.path());

    CPlanZellen plan;
    plan.NeuePosition(27 * Spalte, 27 * Reihe, 8);
    C_Position &weiche = plan.Positionen[1];
    weiche.Dekoder1 = weiche.Dekoder2 = 1;
    weiche.Adresse1 = 1;
    weiche.Adresse2 = 2;
    weiche.Protokoll = "M";
    const QString pfad = work.path() + "/weiche.pln";
    SchreibePlanDatei(pfad, plan);

    TestFenster form(work.path() + '/');
    form.Dialogs->Meldungen.clear(); // the missing settings file
    form->show();
    form->PlanOeffnen(pfad);
    if (form->Dokument.Zellen.FindeElement(27 * Spalte, 27 * Reihe) != 8 || !form->BetriebModus) {
        std::fprintf(stderr, "the plan did not open in operating mode\n");
        return 1;
    }

    std::vector<double> latenz, grund;
    const bool gut = messen(*form.Form, anzahl, latenz, grund);
    for (const ScriptedDialoge::Shown &meldung : form.Dialogs->Meldungen)
        std::fprintf(stderr, "message: %s\n", qPrintable(meldung.Text));
    if (!gut)
        return 1;
    Ausgeben("velmo_us", latenz);
    Ausgeben("basis_us", grund);
    return 0;
}
