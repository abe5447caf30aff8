// Feedback lines from the server to the main thread, under SRCP 0.73 and 0.8.
//
// A loopback server in this program (under SRCP 0.8 after the opening
// exchange of an info session) sends LINES feedback lines as fast as it can,
// then 200 more 1 ms apart, noting when it began sending each. Contact k of
// module 1 (k = 1 to 16 in turn) is reported occupied and free in turn, so
// every line changes the picture of its cell.
//
// Velmo: the main window, offscreen, with a plan of the 16 contacts, starts
// the feedback query ("Abfrage starten"); its poll reader hands each line to
// the feedback display, which draws the contact on the plan; a line counts
// when its picture is drawn, and the picture and cell are checked.
// Baseline in the same run, after Velmo's: a plain std::thread reads the
// same lines with blocking recv from a TCP socket and hands every line to the
// main thread with a queued QMetaObject::invokeMethod; a line counts when
// the main thread has it, and its contact and value are checked.
//
// Printed for each protocol P (073, 08) and receiver R (velmo, basis):
//   R<P>_zeilen_s <lines/s>   the LINES from the first byte sent to the last line counted
//   R<P>_us <us>              one line of each of the 200 paced ones: sent to counted
//
//   QT_QPA_PLATFORM=offscreen build/bin/bench_rueckmeldung [LINES]
#include "Velmo/TForm1.h"
#include "benchhilfe.h"
#include "rueckplan.h"
#include "scripteddialoge.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr int Kontakte = 16;
constexpr int Getaktet = 200;

int Kontakt(int i)
{
    return i % Kontakte + 1;
}
int Wert(int i)
{
    return 1 - (i / Kontakte) % 2;
}

// What the server says of contact k: its number and value at the end of the line.
QByteArray Ende(int i)
{
    return ' ' + QByteArray::number(Kontakt(i)) + ' ' + QByteArray::number(Wert(i));
}

// The time an SRCP 0.8 server puts before every line it sends.
QByteArray Zeitstempel()
{
    return QByteArray::number(QDateTime::currentMSecsSinceEpoch() / 1000.0, 'f', 3);
}

QByteArray Meldung(bool srcp08, int i)
{
    if (!srcp08)
        return "INFO FB S88" + Ende(i) + '\n';
    return Zeitstempel() + " 100 INFO 1 FB" + Ende(i) + '\n';
}

// A one-client loopback server of feedback lines. Under SRCP 0.8 it greets
// and answers an info session's opening exchange first. Once Los is set it
// sends `schwall` lines at once, once Weiter is set `Getaktet` lines 1 ms
// apart, and notes when it began sending each line.
class Melder
{
public:
    Melder(bool srcp08, int schwall)
        : Netz([this, srcp08, schwall](int client) { bedienen(client, srcp08, schwall); })
    {
    }
    // Waits until the client has closed; only then may Gesendet be read.
    void Ende() { Netz.Ende(); }
    int Port() const { return Netz.Port; }

    std::atomic<bool> Los {false}, Weiter {false};
    std::vector<qint64> Gesendet;

private:
    static void abwarten(const std::atomic<bool> &zeichen)
    {
        while (!zeichen)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }

    void bedienen(int client, bool srcp08, int schwall)
    {
        ohneVerzoegerung(client);
        if (srcp08) {
            allesSenden(client, "bench_rueckmeldung; SRCP 0.8.4; SRCPOTHER 0.8.3\n");
            if (zeileLesen(client) != "SET CONNECTIONMODE SRCP INFO")
                return ausklingen(client);
            allesSenden(client, Zeitstempel() + " 202 OK CONNECTIONMODE\n");
            if (zeileLesen(client) != "GO")
                return ausklingen(client);
            allesSenden(client, Zeitstempel() + " 200 OK GO 7\n");
        }
        QByteArray alle;
        for (int i = 0; i < schwall; ++i)
            alle += Meldung(srcp08, i);
        abwarten(Los);
        Gesendet.assign(schwall, jetztNs());
        allesSenden(client, alle);
        abwarten(Weiter);
        for (int i = schwall; i < schwall + Getaktet; ++i) {
            const QByteArray zeile = Meldung(srcp08, i);
            Gesendet.push_back(jetztNs());
            allesSenden(client, zeile);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ausklingen(client);
    }

    // Declared last: its thread starts once the rest exists, and it is
    // joined before the rest goes.
    Einzelserver Netz;
};

// Runs the event loop until `anzahl` lines have counted, at most 20 s. The
// loop sleeps until an event comes, as a program's main thread does.
bool warten(const std::vector<qint64> &gezaehlt, std::size_t anzahl)
{
    QEventLoop schleife;
    QTimer frist;
    frist.setSingleShot(true);
    frist.start(20000);
    while (gezaehlt.size() < anzahl && frist.isActive())
        schleife.processEvents(QEventLoop::WaitForMoreEvents);
    return gezaehlt.size() >= anzahl;
}

// A reader of the lines: Beginnen connects it to the server's port and
// has it note in `gezaehlt` when each line counted (false when that failed),
// Beenden closes it; `falsch` counts the lines that were not the ones sent.
struct Leser
{
    std::function<bool(int port, std::vector<qint64> &gezaehlt, int &falsch)> Beginnen;
    std::function<void()> Beenden;
};

Leser Velmo(TForm1 &form, bool srcp08)
{
    return {[&form, srcp08](int port, std::vector<qint64> &gezaehlt, int &falsch) {
                form.Rueck = std::make_unique<Crueck>(
                    form.Dokument.Zellen,
                    [&form, &gezaehlt, &falsch](const QString &name, int x, int y) {
                        form.IconZeichnen(name, x, y);
                        const int i = int(gezaehlt.size());
                        gezaehlt.push_back(jetztNs());
                        falsch += x != 27 * (Kontakt(i) - 1) || name != QStringLiteral("Icon650%1.bmp").arg(Wert(i) + 1);
                    },
                    [&falsch] { ++falsch; });
                form.ServerHost = "127.0.0.1";
                form.SrcpVersion = srcp08 ? SrcpVersion080 : SrcpVersion073;
                // Under SRCP 0.73 the poll connection is on the port after the base port.
                form.ServerPort = srcp08 ? port : port - 1;
                form.VerbindungenEinstellen();
                form.Abfragestarten1Click();
                return form.PollConnected && (!srcp08 || form.PollSitzung.SessionId == 7);
            },
            [&form] { form.Abfragebeenden1Click(); }};
}

Leser Basis(bool srcp08, QObject &hauptfaden)
{
    struct Zustand
    {
        int Fd = -1;
        std::thread Faden;
    };
    auto zustand = std::make_shared<Zustand>();
    return {[zustand, srcp08, &hauptfaden](int port, std::vector<qint64> &gezaehlt, int &falsch) {
                const int fd = zustand->Fd = nackterClient(port);
                if (fd < 0)
                    return false;
                if (srcp08) {
                    zeileLesen(fd);
                    allesSenden(fd, "SET CONNECTIONMODE SRCP INFO\n");
                    zeileLesen(fd);
                    allesSenden(fd, "GO\n");
                    if (!zeileLesen(fd).contains(" 200 OK GO"))
                        return false;
                }
                zustand->Faden = std::thread([fd, &hauptfaden, &gezaehlt, &falsch] {
                    char puffer[4096];
                    QByteArray zeile;
                    ssize_t n;
                    while ((n = ::recv(fd, puffer, sizeof puffer, 0)) > 0)
                        for (ssize_t k = 0; k < n; ++k) {
                            if (puffer[k] != '\n') {
                                zeile += puffer[k];
                                continue;
                            }
                            QMetaObject::invokeMethod(
                                &hauptfaden,
                                [&gezaehlt, &falsch, zeile] {
                                    falsch += !zeile.endsWith(Ende(int(gezaehlt.size())));
                                    gezaehlt.push_back(jetztNs());
                                },
                                Qt::QueuedConnection);
                            zeile.clear();
                        }
                });
                return true;
            },
            [zustand, &hauptfaden] {
                if (zustand->Fd < 0)
                    return;
                ::shutdown(zustand->Fd, SHUT_RDWR);
                if (zustand->Faden.joinable())
                    zustand->Faden.join();
                ::close(zustand->Fd);
                // Hand-overs still queued after a failed run point at what goes now.
                QCoreApplication::removePostedEvents(&hauptfaden);
            }};
}

// One receiver against a fresh server: the burst, then the paced lines.
bool messen(const QByteArray &name, bool srcp08, int schwall, const Leser &leser)
{
    Melder server(srcp08, schwall);
    std::vector<qint64> gezaehlt;
    gezaehlt.reserve(schwall + Getaktet);
    int falsch = 0;
    // Whatever fails, the server runs to its end and the receiver closes,
    // so that the server's thread ends.
    const bool verbunden = leser.Beginnen(server.Port(), gezaehlt, falsch);
    server.Los = true;
    const bool schwallDa = verbunden && warten(gezaehlt, schwall);
    server.Weiter = true;
    const bool alleDa = schwallDa && warten(gezaehlt, schwall + Getaktet);
    leser.Beenden();
    server.Ende();
    if (!verbunden) {
        std::fprintf(stderr, "%s: no connection to the server\n", name.constData());
        return false;
    }
    if (!alleDa || falsch) {
        std::fprintf(stderr, "%s: %zu of %d lines counted, %d not as sent\n", name.constData(), gezaehlt.size(),
                     schwall + Getaktet, falsch);
        return false;
    }
    std::printf("%s_zeilen_s %.0f\n", name.constData(), schwall / ((gezaehlt[schwall - 1] - server.Gesendet[0]) / 1e9));
    for (int i = schwall; i < schwall + Getaktet; ++i)
        std::printf("%s_us %.1f\n", name.constData(), (gezaehlt[i] - server.Gesendet[i]) / 1e3);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int zeilen = AnzahlArgument(argc, argv, 20000, "bench_rueckmeldung", "LINES");
    if (zeilen == 0)
        return 2;

    QTemporaryDir work;
    DatenVerlinken(work.path());
    TestFenster form(work.path() + '/');
    form.Dialogs->Meldungen.clear(); // the missing settings file
    form->show();
    form->LadePlan(work.path() + '/', QFileInfo(RueckmeldePlan(work.path(), Kontakte)).fileName());

    QObject hauptfaden;
    bool gut = true;
    for (const bool srcp08 : {false, true}) {
        const QByteArray p = srcp08 ? "08" : "073";
        gut = gut && messen("velmo" + p, srcp08, zeilen, Velmo(*form.Form, srcp08))
              && messen("basis" + p, srcp08, zeilen, Basis(srcp08, hauptfaden));
    }
    for (const ScriptedDialoge::Shown &meldung : form.Dialogs->Meldungen)
        std::fprintf(stderr, "message: %s\n", qPrintable(meldung.Text));
    return gut && form.Dialogs->Meldungen.isEmpty() ? 0 : 1;
}
