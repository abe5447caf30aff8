#pragma once

#include "linesplitter.h"
#include "session.h"

#include <QHostAddress>
#include <QObject>

#include <map>
#include <memory>

class QTcpServer;
class QTcpSocket;

// The three listening ports of the simulated SRCP server and their clients:
// commands on the base port P, feedback (poll) on P + 1, info on P + 2.
class SrcpServer : public QObject
{
    Q_OBJECT
public:
    static const QByteArray Greeting;
    // A client whose unsent output grows beyond this is dropped: it does not
    // read, and keeping everything for it would exhaust memory.
    static constexpr qint64 MaxPendingOutput = 4 * 1024 * 1024;

    explicit SrcpServer(QObject *parent = nullptr);
    ~SrcpServer() override;

    // Binds the three ports; basePort 0 picks a free P with P + 1 and P + 2
    // free as well.
    bool listen(const QHostAddress &host, int basePort, QString *error);
    quint16 basePort() const;

    // Sends one line to every feedback client.
    void sendFeedback(const QByteArray &line);

private:
    enum class Channel { Command, Feedback, Info };
    struct Client
    {
        Channel channel;
        QByteArray name; // "cmd#1", "fb#2", "info#1" in the log
        LineSplitter lines;
        std::unique_ptr<CommandSession> session; // command clients only
    };

    void accept(Channel channel);
    void readFrom(QTcpSocket *socket);
    void handleCommandLine(QTcpSocket *socket, Client &client, const QByteArray &line);
    void broadcast(Channel channel, const QByteArray &line);
    // Writes one line; false if the client had to be dropped.
    bool send(QTcpSocket *socket, const QByteArray &line);
    void drop(QTcpSocket *socket, const QByteArray &why);
    void closeAll();

    QTcpServer *Servers[3];
    int Counters[3] = {};
    std::map<QTcpSocket *, Client> Clients;
    LayoutState Layout;
};
