#include "sockets/TcpVerbindung.h"

#include "hilfen/fehler.h"
#include "sockets/schreibwarten.h"

#include <QEventLoop>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr qsizetype EmpfangsBlock = 16384;

VelmoFehler nichtVerbunden()
{
    return VelmoFehler(QStringLiteral("Nicht verbunden."));
}

} // namespace

TcpVerbindung::TcpVerbindung(int fd)
    : Fd(fd)
{
}

TcpVerbindung::~TcpVerbindung()
{
    ::close(Fd);
}

bool TcpVerbindung::connected() const
{
    return Offen;
}

void TcpVerbindung::shutdown()
{
    Offen = false;
    ::shutdown(Fd, SHUT_RDWR);
}

QByteArray TcpVerbindung::readLine()
{
    if (!connected())
        throw nichtVerbunden();
    QByteArray zeile;
    for (;;) {
        const qsizetype lf = Eingang.indexOf('\n', Gelesen);
        const qsizetype ende = lf < 0 ? Eingang.size() : lf;
        // One byte beyond the limit is kept, so that a CR is removed only
        // when it stands right before the LF, not when the cut falls after it.
        const qsizetype platz = MaxZeile + 1 - zeile.size();
        zeile.append(Eingang.constData() + Gelesen, std::min(ende - Gelesen, platz));
        if (lf >= 0) {
            Gelesen = lf + 1;
            if (zeile.endsWith('\r'))
                zeile.chop(1);
            zeile.truncate(MaxZeile);
            return zeile;
        }
        empfangen();
    }
}

// Replaces the used-up input by the next bytes from the kernel.
void TcpVerbindung::empfangen()
{
    Eingang.resize(EmpfangsBlock);
    Gelesen = 0;
    for (;;) {
        const ssize_t n = ::recv(Fd, Eingang.data(), Eingang.size(), 0);
        if (n > 0) {
            Eingang.truncate(n);
            return;
        }
        if (n < 0 && errno == EINTR)
            continue;
        const QString text = n == 0 ? QStringLiteral("Die Verbindung wurde geschlossen.")
                                    : qt_error_string(errno);
        Offen = false;
        Eingang.clear();
        throw VelmoFehler(text);
    }
}

void TcpVerbindung::write(const QByteArray &bytes)
{
    if (!connected())
        throw nichtVerbunden();
    Ausgang += bytes;
    // A write from an event handler served while an outer write waits for
    // room only queues its bytes; the outer write sends them after its own,
    // so that two command lines never interleave.
    if (Sendet)
        return;
    Sendet = true;
    const auto fertig = qScopeGuard([this] {
        Sendet = false;
        Ausgang.clear();
    });
    senden();
}

// Sends Ausgang without blocking the thread: the socket stays blocking for
// the reader, each send is made non-blocking on its own.
void TcpVerbindung::senden()
{
    qsizetype gesendet = 0;
    while (gesendet < Ausgang.size()) {
        const ssize_t n = ::send(Fd, Ausgang.constData() + gesendet, Ausgang.size() - gesendet,
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0) {
            gesendet += n;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            QEventLoop schleife;
            if (!warteBisSchreibbar(Fd, schleife))
                throw VelmoFehler(qt_error_string(ECANCELED));
        } else if (errno != EINTR) {
            const QString text = qt_error_string(errno);
            Offen = false;
            throw VelmoFehler(text);
        }
    }
}
