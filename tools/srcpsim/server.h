#pragma once

#include "feedbackinput.h"
#include "linesplitter.h"
#include "options.h"
#include "session.h"

#include <QHostAddress>
#include <QObject>

#include <map>
#include <memory>

class QTcpServer;
class QTcpSocket;

// The listening ports of the simulated SRCP server and their clients.
// SRCP 0.7.3 mode: commands on port P, feedback (poll) on P + 1, info on
// P + 2. SRCP 0.8 mode: port P only, where each connection becomes a command
// or an info session by the handshake.
class SrcpServer : public QObject
{
    Q_OBJECT
public:
    // A client whose unsent output grows beyond this is dropped: it does not
    // read, and keeping everything for it would exhaust memory.
    static constexpr qint64 MaxPendingOutput = 4 * 1024 * 1024;

    SrcpServer(SrcpVersion version, const QList<int> &buses, QObject *parent = nullptr);
    ~SrcpServer() override;

    // Binds the port(s); port 0 picks a free P, in SRCP 0.7.3 mode one with
    // P + 1 and P + 2 free as well.
    bool listen(const QHostAddress &host, int port, QString *error);
    quint16 port() const;

    // Feedback from standard input or the demo train, for contacts of the
    // lowest bus. SRCP 0.7.3 mode sends the feedback port's line; SRCP 0.8
    // mode reports each contact whose value changed to the info sessions.
    void feedback(const FeedbackInput &input);
    void setContact(int contact, int value);

private:
    enum class Channel { Command, Feedback, Info };
    struct Client
    {
        Channel channel;
        QByteArray name; // "cmd#1", "fb#2", "info#1", "conn#3" in the log
        LineSplitter lines;
        std::unique_ptr<SrcpSession> session; // clients that take commands
    };

    void accept(Channel channel);
    void readFrom(QTcpSocket *socket);
    void handleCommandLine(QTcpSocket *socket, Client &client, const QByteArray &line);
    // SRCP 0.8 mode: the handshake of this client has just ended with GO.
    void startSession(QTcpSocket *socket);
    void broadcast(Channel channel, const QByteArray &line);
    // Writes one line; false if the client had to be dropped. Lines to all
    // clients of a kind are logged once by broadcast(), so not here.
    bool send(QTcpSocket *socket, const QByteArray &line, bool logged = true);
    void drop(QTcpSocket *socket, const QByteArray &why);
    void closeAll();

    const SrcpVersion Version;
    const QByteArray Greeting;
    QTcpServer *Servers[3]; // SRCP 0.8 mode listens with the first only
    int Counters[3] = {};
    std::map<QTcpSocket *, Client> Clients;
    LayoutState Layout;
};
