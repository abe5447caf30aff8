#pragma once

#include "sockets/TcpVerbindung.h"

#include <QByteArray>

#include <memory>

class QEventLoop;
struct addrinfo;

// The client side of one of the program's TCP connections to the SRCP
// server: host and port are set beforehand, connect() opens a connection,
// disconnect() closes it. Used from the GUI thread only; a reader thread
// works on the connection itself (verbindung()).
class TcpClient
{
public:
    TcpClient() = default;
    TcpClient(const TcpClient &) = delete;
    TcpClient &operator=(const TcpClient &) = delete;

    void setHost(const QByteArray &host);
    QByteArray host() const;
    void setPort(int port);
    int port() const;

    // Opens host:port without a time-out of its own, serving the events of
    // the GUI thread while the connection is being made. Throws VelmoFehler
    // with the system's error text on failure, and "Bereits verbunden." while
    // a connection is open or being opened. A connection that has ended is
    // replaced. disconnect() during the wait cancels it with an error.
    void connect();
    bool connected() const;
    void write(const QByteArray &bytes);
    // Sends line followed by CR LF.
    void writeLine(const QByteArray &line);
    QByteArray readLine();
    // Closes the connection and wakes its reader; harmless when not connected.
    void disconnect();
    // The last connect() was cancelled by disconnect().
    bool abgebrochen() const;
    // The current connection, or nullptr.
    std::shared_ptr<TcpVerbindung> verbindung() const;

private:
    int verbinde(const addrinfo &adresse);
    std::shared_ptr<TcpVerbindung> offeneVerbindung() const;

    QByteArray Host;
    int Port = 0;
    std::shared_ptr<TcpVerbindung> Verbindung;
    // While connect() waits: its event loop, and whether disconnect() asked to cancel.
    QEventLoop *Wartet = nullptr;
    bool Abgebrochen = false;
};
