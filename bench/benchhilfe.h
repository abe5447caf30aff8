#pragma once

// Helpers the benchmarks share: the steady clock in nanoseconds, a work
// directory of the generated data, one-client loopback servers with
// their socket helpers, the printing of figures and the count argument.
#include "loopback.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The steady clock in nanoseconds; the clock every bench stamps with.
qint64 jetztNs();

// Makes Data/ in the directory `work` with links to the generated catalogue
// and pictures beside the binary (*.dat, *.bmp), without the settings file
// a user of the build may have left there.
void DatenVerlinken(const QString &work);

// Sends all of `daten` on the socket; false when the connection failed first.
bool allesSenden(int fd, const QByteArray &daten);

// One line from the socket without its line end, trimmed; empty once the
// connection has ended.
QByteArray zeileLesen(int fd);

// Closes the sending direction and reads until the client has closed, so
// that all that was sent reaches it before the connection ends.
void ausklingen(int fd);

// TCP_NODELAY on the socket: each write leaves at once.
void ohneVerzoegerung(int fd);

// A loopback server for one client: a thread of its own accepts it, runs
// `bedienen` with the connected socket and closes that socket afterwards.
// A client connects to Port, e.g. with verbinde(client, server.Lauscher).
class Einzelserver
{
public:
    explicit Einzelserver(std::function<void(int fd)> bedienen);
    ~Einzelserver();
    Einzelserver(const Einzelserver &) = delete;
    Einzelserver &operator=(const Einzelserver &) = delete;

    // Waits until the client has been served; an accept() that no client
    // came for is woken and the thread ends without serving.
    void Ende();

    Hoerer Lauscher;
    const int Port = Lauscher.Port;

private:
    std::thread Faden;
};

// A line a server received: when its first byte was read, and its text
// without the line end, trimmed.
struct Empfangen
{
    qint64 Ankunft;
    QByteArray Text;
};

// A one-client loopback server that only reads. Its thread reads with
// TCP_NODELAY on its side too and stamps the arrival of the first byte of
// every line with jetztNs().
class Empfaenger
{
public:
    Empfaenger();
    std::size_t Anzahl() const;
    std::vector<Empfangen> Kopie() const;
    int Port() const { return Netz.Port; }
    // Waits until the server holds `anzahl` lines, at most 5 s; `bedienen`
    // runs in between.
    bool warten(std::size_t anzahl, const std::function<void()> &bedienen) const;

private:
    void lesen(int client);

    mutable std::mutex Sperre;
    std::vector<Empfangen> Zeilen;
    // Declared last: its thread starts once Sperre and Zeilen exist, and it
    // is joined before they go.
    Einzelserver Netz;
};

// A bare client socket with TCP_NODELAY, connected to 127.0.0.1 at `port`;
// -1 on failure.
int nackterClient(int port);

// One line "<schluessel> <wert>" for each value, as bench/run collects them.
void Ausgeben(const char *schluessel, const std::vector<double> &werte);

// The one optional count argument of a benchmark, vorgabe when it is
// missing; 0 after printing "usage: <name> [<was>]" when there are more
// arguments or the count is below 1.
int AnzahlArgument(int argc, char *argv[], int vorgabe, const char *name, const char *was);
