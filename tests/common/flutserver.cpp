#include "flutserver.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <limits>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr qsizetype Vorrat = 65536;

} // namespace

FlutServer::FlutServer()
    : Hoerer(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
{
    sockaddr_in a {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t laenge = sizeof a;
    if (::bind(Hoerer, reinterpret_cast<sockaddr *>(&a), laenge) != 0 || ::listen(Hoerer, 1) != 0
        || ::getsockname(Hoerer, reinterpret_cast<sockaddr *>(&a), &laenge) != 0)
        qFatal("no flood server socket");
    Port = ntohs(a.sin_port);
    Faden = std::thread([this] { laufen(); });
}

FlutServer::~FlutServer()
{
    Ende = true;
    Faden.join();
    ::close(Hoerer);
}

void FlutServer::senden(Quelle quelle, qint64 anzahl, int proSekunde, Schluss schluss)
{
    const std::lock_guard sperre(Sperre);
    Naechster = {std::move(quelle), anzahl, proSekunde, schluss};
    Neu = true;
    Fertig = false;
}

void FlutServer::laufen()
{
    for (int fd; (fd = annehmen()) >= 0;) {
        Getrennt = false;
        ++Verbindungen;
        if (!bedienen(fd)) {
            const linger sofort {1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &sofort, sizeof sofort);
        }
        ::close(fd);
        Getrennt = true;
    }
}

int FlutServer::annehmen()
{
    while (!Ende) {
        pollfd p {Hoerer, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0)
            return ::accept4(Hoerer, nullptr, nullptr, SOCK_CLOEXEC);
    }
    return -1;
}

// Sends what is due, reads and drops what the client sends, until the
// client goes or the server is destroyed. Each connection starts idle.
bool FlutServer::bedienen(int fd)
{
    Auftrag auftrag;
    qint64 n = 0;
    bool geschlossen = false;
    QElapsedTimer uhr;
    QByteArray puffer;
    while (!Ende) {
        {
            const std::lock_guard sperre(Sperre);
            if (Neu) {
                auftrag = std::move(Naechster);
                Neu = false;
                n = 0;
                uhr.start();
            }
        }
        const qint64 faellig = auftrag.ProSekunde > 0 ? uhr.elapsed() * auftrag.ProSekunde / 1000
                                                      : std::numeric_limits<qint64>::max();
        while (auftrag.Stuecke && puffer.size() < Vorrat && (auftrag.Anzahl < 0 || n < auftrag.Anzahl) && n < faellig)
            puffer += auftrag.Stuecke(n++);
        if (puffer.isEmpty() && n == auftrag.Anzahl) {
            {
                const std::lock_guard sperre(Sperre);
                Fertig = !Neu;
            }
            if (auftrag.Danach == Schluss::Abbrechen)
                return false;
            if (auftrag.Danach == Schluss::Schliessen && !geschlossen) {
                ::shutdown(fd, SHUT_WR);
                geschlossen = true;
            }
        }

        pollfd p {fd, short(POLLIN | (puffer.isEmpty() ? 0 : POLLOUT)), 0};
        if (::poll(&p, 1, 5) <= 0)
            continue;
        if (p.revents & (POLLIN | POLLHUP | POLLERR)) {
            char weg[65536];
            const ssize_t r = ::recv(fd, weg, sizeof weg, MSG_DONTWAIT);
            if (r == 0 || (r < 0 && errno != EAGAIN && errno != EINTR))
                return true;
        }
        if (p.revents & POLLOUT) {
            const ssize_t s = ::send(fd, puffer.constData(), puffer.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
            if (s > 0)
                puffer.remove(0, s);
            else if (s < 0 && errno != EAGAIN && errno != EINTR)
                return true;
        }
    }
    return true;
}
