#pragma once

// Plain POSIX loopback sockets for the tests of the TCP client and the reader
// threads: the server side is driven byte by byte from the test itself.
#include "sockets/TcpClient.h"

#include <QByteArray>
#include <QtGlobal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

// A socket on 127.0.0.1 with a port the system chose; listening unless asked not to.
struct Hoerer
{
    explicit Hoerer(bool hoeren = true)
    {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t laenge = sizeof a;
        if (::bind(Fd, reinterpret_cast<sockaddr *>(&a), laenge) != 0
            || (hoeren && ::listen(Fd, 8) != 0)
            || ::getsockname(Fd, reinterpret_cast<sockaddr *>(&a), &laenge) != 0)
            qFatal("no test socket");
        Port = ntohs(a.sin_port);
    }
    ~Hoerer() { ::close(Fd); }
    const int Fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int Port = 0;
};

// The server's end of one accepted connection; reads and sends give up after 5 s.
struct Gegenstelle
{
    explicit Gegenstelle(const Hoerer &h)
        : Fd(::accept(h.Fd, nullptr, nullptr))
    {
        const timeval frist{5, 0};
        const int ein = 1;
        ::setsockopt(Fd, SOL_SOCKET, SO_RCVTIMEO, &frist, sizeof frist);
        ::setsockopt(Fd, SOL_SOCKET, SO_SNDTIMEO, &frist, sizeof frist);
        ::setsockopt(Fd, IPPROTO_TCP, TCP_NODELAY, &ein, sizeof ein);
    }
    ~Gegenstelle() { schliessen(); }
    // False when the bytes could not all be sent.
    bool senden(const QByteArray &b) const { return ::send(Fd, b.constData(), b.size(), MSG_NOSIGNAL) == b.size(); }
    // Everything until the client closes.
    QByteArray allesLesen() const
    {
        QByteArray alles;
        char puffer[65536];
        ssize_t n;
        while ((n = ::recv(Fd, puffer, sizeof puffer, 0)) > 0)
            alles.append(puffer, n);
        return alles;
    }
    void schliessen()
    {
        if (Fd >= 0)
            ::close(Fd);
        Fd = -1;
    }
    int Fd;
};

inline void verbinde(TcpClient &c, const Hoerer &h, const QByteArray &host = "127.0.0.1")
{
    c.setHost(host);
    c.setPort(h.Port);
    c.connect();
}
