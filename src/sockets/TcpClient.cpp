#include "sockets/TcpClient.h"

#include "hilfen/fehler.h"
#include "sockets/schreibwarten.h"

#include <QEventLoop>
#include <QScopeGuard>

#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

void TcpClient::setHost(const QByteArray &host)
{
    Host = host;
}

QByteArray TcpClient::host() const
{
    return Host;
}

void TcpClient::setPort(int port)
{
    Port = port;
}

int TcpClient::port() const
{
    return Port;
}

void TcpClient::connect()
{
    if (connected() || Wartet)
        throw VelmoFehler(QStringLiteral("Bereits verbunden."));
    disconnect();
    Abgebrochen = false;
    if (Port < 0 || Port > 65535)
        throw VelmoFehler(QString::fromLocal8Bit(gai_strerror(EAI_SERVICE)));

    addrinfo hinweis{};
    hinweis.ai_family = AF_UNSPEC;
    hinweis.ai_socktype = SOCK_STREAM;
    hinweis.ai_flags = AI_NUMERICSERV;
    addrinfo *liste = nullptr;
    const int rc = getaddrinfo(Host.constData(), QByteArray::number(Port).constData(), &hinweis, &liste);
    if (rc != 0)
        throw VelmoFehler(rc == EAI_SYSTEM ? qt_error_string(errno)
                                           : QString::fromLocal8Bit(gai_strerror(rc)));
    const auto freigeben = qScopeGuard([liste] { freeaddrinfo(liste); });

    // Every address of the host is tried in turn; the error of the last one is reported.
    int fehler = 0;
    for (const addrinfo *a = liste; a; a = a->ai_next) {
        const int fd = verbinde(*a);
        if (fd >= 0) {
            Verbindung = std::make_shared<TcpVerbindung>(fd);
            return;
        }
        fehler = -fd;
    }
    throw VelmoFehler(qt_error_string(fehler));
}

// Connects to one address. Returns the connected, blocking socket with
// TCP_NODELAY set, or the negated error number.
int TcpClient::verbinde(const addrinfo &adresse)
{
    const int fd = ::socket(adresse.ai_family, adresse.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            adresse.ai_protocol);
    if (fd < 0)
        return -errno;
    auto schliessen = qScopeGuard([fd] { ::close(fd); });

    if (::connect(fd, adresse.ai_addr, adresse.ai_addrlen) < 0 && errno != EINPROGRESS)
        return -errno;
    // The wait runs even when the connect completed at once, so the event
    // loop is served the same way every time.
    QEventLoop schleife;
    Wartet = &schleife;
    {
        const auto fertig = qScopeGuard([this] { Wartet = nullptr; });
        if (!warteBisSchreibbar(fd, schleife))
            Abgebrochen = true;
    }
    if (Abgebrochen)
        throw VelmoFehler(qt_error_string(ECANCELED));

    int fehler = 0;
    socklen_t laenge = sizeof fehler;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &fehler, &laenge) < 0)
        return -errno;
    if (fehler != 0)
        return -fehler;
    const int ein = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &ein, sizeof ein);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    schliessen.dismiss();
    return fd;
}

bool TcpClient::connected() const
{
    return Verbindung && Verbindung->connected();
}

std::shared_ptr<TcpVerbindung> TcpClient::offeneVerbindung() const
{
    if (!Verbindung)
        throw VelmoFehler(QStringLiteral("Nicht verbunden."));
    return Verbindung;
}

// The connection is held by a local copy, so that a disconnect() from an
// event handler served during the write cannot destroy it underneath.
void TcpClient::write(const QByteArray &bytes)
{
    offeneVerbindung()->write(bytes);
}

void TcpClient::writeLine(const QByteArray &line)
{
    write(line + "\r\n");
}

QByteArray TcpClient::readLine()
{
    return offeneVerbindung()->readLine();
}

void TcpClient::disconnect()
{
    if (Wartet) {
        Abgebrochen = true;
        Wartet->quit();
    }
    if (Verbindung) {
        Verbindung->shutdown();
        Verbindung.reset();
    }
}

bool TcpClient::abgebrochen() const
{
    return Abgebrochen;
}

std::shared_ptr<TcpVerbindung> TcpClient::verbindung() const
{
    return Verbindung;
}
