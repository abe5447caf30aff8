// The lines the server sends, from arbitrary bytes: they pass through a
// socket pair into a TcpVerbindung and are read line by line as the reader
// threads of the three connections read them. Each line is handled as the
// command connection (reply parse, session id), the info connection (shown
// as text) and the poll connection (feedback display on a small plan)
// handle theirs; a reply also as the description of a bus.
#include "fuzzhilfe.h"

#include "bahncalc/antworten.h"
#include "bahncalc/busse.h"
#include "hilfen/fehler.h"
#include "hilfen/texte.h"
#include "rueckunit/Crueck.h"
#include "sockets/TcpVerbindung.h"

#include <cerrno>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// Feedback contacts bound to contacts at the start and end of a module, to
// a later module and to the last module a 32-bit contact number reaches;
// a turnout whose decoder row looks like contact 2 (never drawn), and a
// deleted contact.
const CPlanZellen &Plan()
{
    static const CPlanZellen plan = [] {
        CPlanZellen p;
        const auto setze = [&p](int element, int spalte, int modul, int kontakt) {
            p.NeuePosition(spalte * RasterGroesse, RasterGroesse, element);
            p.Positionen[p.PosAnzahl].Dekoder1 = modul;
            p.Positionen[p.PosAnzahl].Adresse1 = kontakt;
        };
        setze(65, 0, 1, 1);
        setze(87, 1, 1, 16);
        setze(65, 2, 2, 3);
        setze(87, 3, 134217728, 15);
        setze(6, 4, 1, 2);
        setze(65, 5, 1, 2);
        p.LoeschePosition(p.PosAnzahl);
        return p;
    }();
    return plan;
}

// The feedback display draws only on the plan's feedback cells, and only
// their free or occupied picture; any other value asks for a picture that
// does not exist, which fails as a missing file does.
void Zeichnen(const QString &name, int x, int y)
{
    const CPlanZellen &plan = Plan();
    const int element = plan.FindeElement(x, y);
    Pruefe(IstRueckmeldekontakt(element), "a picture drawn outside the feedback cells");
    const QString stamm = QStringLiteral("Icon%1").arg(element);
    if (name == stamm)
        throw VelmoFehler(QStringLiteral("no picture for this value"));
    Pruefe(name == stamm + QStringLiteral("01.bmp") || name == stamm + QStringLiteral("02.bmp"),
           "picture name of a feedback cell");
}

void Kommandozeile(const QByteArray &line)
{
    const Antwort antwort = ZerlegeAntwort(line);
    Pruefe(!antwort.Gueltig || (!antwort.Wort.isEmpty() && !antwort.Wort.contains(' ')), "reply word");
    Pruefe(!antwort.IstGo || (antwort.Gueltig && antwort.Wort == "OK"), "GO outside an OK reply");
    Pruefe(antwort.IstGo || antwort.SessionIdText.isEmpty(), "session id outside a GO reply");
    Pruefe(!antwort.Gueltig || (antwort.Code >= 0 && antwort.Code <= 999 && antwort.Felder.value(0) == antwort.Wort),
           "reply code and fields");
    // A reply taken as the description of a bus leaves every command on one
    // of the buses 1 to 3.
    ServerBusse busse;
    for (int bus = 1; bus <= ServerBusse::HoechsterBus; ++bus)
        busse.Beschreibung(bus, antwort);
    for (const char *gruppe : {"GA", "GL"})
        for (int bus = 1; bus <= ServerBusse::HoechsterBus; ++bus) {
            const int ziel = busse.Ziel(bus, gruppe);
            Pruefe(ziel >= 1 && ziel <= ServerBusse::HoechsterBus, "bus of a command");
        }
    if (!antwort.IstGo)
        return;
    try {
        StrToInt(TrimSteuerzeichen(QString::fromUtf8(antwort.SessionIdText)));
    } catch (const VelmoFehler &) {
    }
}

void Infozeile(const QByteArray &line)
{
    // Every byte gives at most one UTF-16 unit: a replacement character for
    // a byte that is no UTF-8, two units for a four-byte sequence.
    Pruefe(QString::fromUtf8(line).size() <= line.size(), "info text longer than its line");
}

// The line the reader must return for `gesendet`, the bytes between two
// LFs: cut to MaxZeile bytes, or without a CR at its end when shorter.
QByteArray Erwartet(QByteArray gesendet)
{
    if (gesendet.size() > TcpVerbindung::MaxZeile)
        gesendet.truncate(TcpVerbindung::MaxZeile);
    else if (gesendet.endsWith('\r'))
        gesendet.chop(1);
    return gesendet;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int paar[2];
    Pruefe(::socketpair(AF_UNIX, SOCK_STREAM, 0, paar) == 0, "no socket pair");
    // The server side sends from its own thread, so an input larger than
    // the socket buffers cannot block the reader; closing it ends the
    // connection after the last byte.
    std::thread server([fd = paar[1], data, size] {
        size_t gesendet = 0;
        while (gesendet < size) {
            const ssize_t n = ::send(fd, data + gesendet, size - gesendet, MSG_NOSIGNAL);
            if (n > 0)
                gesendet += n;
            else if (errno != EINTR)
                break;
        }
        ::close(fd);
    });

    TcpVerbindung verbindung(paar[0]);
    Crueck rueck(Plan(), Zeichnen, [] {});
    const QByteArray eingabe(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    qsizetype anfang = 0;
    for (;;) {
        QByteArray line;
        try {
            line = verbindung.readLine();
        } catch (const VelmoFehler &) {
            break;
        }
        const qsizetype lf = eingabe.indexOf('\n', anfang);
        Pruefe(lf >= 0, "a line read that was never ended");
        Pruefe(line == Erwartet(eingabe.mid(anfang, lf - anfang)), "line not as sent");
        anfang = lf + 1;
        Kommandozeile(line);
        Infozeile(line);
        rueck.ZeileVerarbeiten(line);
    }
    Pruefe(eingabe.indexOf('\n', anfang) < 0, "a sent line was not read");
    // Should reading have stopped early, the sender must not wait for room.
    verbindung.shutdown();
    server.join();
    return 0;
}
