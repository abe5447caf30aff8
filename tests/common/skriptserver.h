#pragma once

#include <QByteArray>
#include <QHash>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <functional>

class QTcpServer;
class QTcpSocket;

// A scripted server on 127.0.0.1 with a port chosen by the system, living in
// the test's thread: it records every byte and line it receives, with the
// time of arrival, and answers lines by a rule of the test.
class SkriptServer : public QObject
{
    Q_OBJECT
public:
    SkriptServer();
    ~SkriptServer() override;

    int port() const;
    // Answer for a received line (without CR LF); an empty answer sends nothing.
    std::function<QByteArray(const QByteArray &line)> Antwort;

    // Sent to every new connection first, as a server's greeting; empty: none.
    QByteArray Gruss;

    QByteArray Empfangen;          // every byte received, in order
    QList<QByteArray> Je;          // the bytes received per connection, in the order they were accepted
    QList<QByteArray> Zeilen;      // received lines without CR LF
    QList<qint64> Ankunft;         // ms since Uhr started, per line
    QElapsedTimer Uhr;
    int Verbindungen = 0;

    // Sends to every connected client.
    void senden(const QByteArray &bytes);
    // Sends to the connection with that number (counted from 0 in the order accepted).
    void sendenAn(int verbindung, const QByteArray &bytes);
    // Closes every client connection.
    void trennen();
    bool hatClient() const;
    // Stops listening: later connects are refused.
    void schliessen();
    // Listens again on the port it had, as a server that returns.
    bool wiederOeffnen();

private:
    void neueVerbindung();
    void lesen(QTcpSocket *client);

    QTcpServer *Server;
    int Port = 0;
    QList<QTcpSocket *> Clients;
    QHash<QTcpSocket *, int> Nummer;
    QHash<QTcpSocket *, QByteArray> Rest;
};

// A loopback port on which nothing listens.
int freierPort();
