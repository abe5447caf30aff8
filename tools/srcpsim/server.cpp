#include "server.h"

#include "simlog.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace {

constexpr int PortSearchAttempts = 200;
constexpr qint64 ReadBufferSize = 256 * 1024;

const char *channelName(int index)
{
    static const char *names[] = {"cmd", "fb", "info"};
    return names[index];
}

} // namespace

const QByteArray SrcpServer::Greeting = "srcpsim 1.0; SRCP 0.8.4; SRCPOTHER 0.7.3";

SrcpServer::SrcpServer(QObject *parent)
    : QObject(parent)
{
    for (int i = 0; i < 3; ++i) {
        Servers[i] = new QTcpServer(this);
        const auto channel = Channel(i);
        connect(Servers[i], &QTcpServer::newConnection, this, [this, channel] { accept(channel); });
    }
}

SrcpServer::~SrcpServer()
{
    // Sockets are children of this object; forget them before they go.
    for (auto &[socket, client] : Clients)
        socket->disconnect(this);
}

void SrcpServer::closeAll()
{
    for (QTcpServer *server : Servers)
        server->close();
}

bool SrcpServer::listen(const QHostAddress &host, int basePort, QString *error)
{
    if (basePort != 0) {
        for (int i = 0; i < 3; ++i) {
            if (!Servers[i]->listen(host, quint16(basePort + i))) {
                *error = QStringLiteral("cannot listen on %1 port %2: %3")
                             .arg(host.toString())
                             .arg(basePort + i)
                             .arg(Servers[i]->errorString());
                closeAll();
                return false;
            }
        }
        return true;
    }
    // The system picks P; keep it when P + 1 and P + 2 can be had too.
    for (int attempt = 0; attempt < PortSearchAttempts; ++attempt) {
        if (!Servers[0]->listen(host, 0)) {
            *error = QStringLiteral("cannot listen on %1: %2").arg(host.toString(), Servers[0]->errorString());
            return false;
        }
        const int p = Servers[0]->serverPort();
        if (p <= 65533 && Servers[1]->listen(host, quint16(p + 1)) && Servers[2]->listen(host, quint16(p + 2)))
            return true;
        closeAll();
    }
    *error = QStringLiteral("found no three free consecutive ports on %1").arg(host.toString());
    return false;
}

quint16 SrcpServer::basePort() const
{
    return Servers[0]->serverPort();
}

void SrcpServer::accept(Channel channel)
{
    const int index = int(channel);
    while (QTcpSocket *socket = Servers[index]->nextPendingConnection()) {
        Client client;
        client.channel = channel;
        client.name = channelName(index) + QByteArray("#") + QByteArray::number(++Counters[index]);
        if (channel == Channel::Command)
            client.session = std::make_unique<CommandSession>(Layout);
        SimLog::note(client.name, "connected from " + socket->peerAddress().toString().toLatin1() + ':'
                                      + QByteArray::number(socket->peerPort()));
        Clients.emplace(socket, std::move(client));
        // Bounded input buffer: a flooding client is read no faster than
        // its lines are handled.
        socket->setReadBufferSize(ReadBufferSize);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { drop(socket, "disconnected"); });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError e) {
            if (e != QAbstractSocket::RemoteHostClosedError)
                drop(socket, "connection error: " + socket->errorString().toLatin1());
        });
        send(socket, Greeting);
    }
}

void SrcpServer::readFrom(QTcpSocket *socket)
{
    auto it = Clients.find(socket);
    if (it == Clients.end())
        return;
    const QByteArray data = socket->readAll();
    const auto lines = it->second.lines.feed(data);
    for (const auto &line : lines) {
        // Sending may have dropped this client; its remaining lines go with it.
        it = Clients.find(socket);
        if (it == Clients.end())
            return;
        Client &client = it->second;
        SimLog::received(client.name, line.text);
        if (line.truncated)
            SimLog::note(client.name, "line longer than 64 KiB: the rest of it was discarded");
        if (client.channel == Channel::Command)
            handleCommandLine(socket, client, line.text);
        else
            SimLog::note(client.name, "ignored: this port does not take commands");
    }
}

void SrcpServer::handleCommandLine(QTcpSocket *socket, Client &client, const QByteArray &line)
{
    const SessionOutput out = client.session->handleLine(line);
    if (!out.rejected.isEmpty())
        SimLog::note(client.name, "rejected (SRCP 0.7.3, no reply): " + out.rejected);
    for (const QByteArray &reply : out.replies)
        if (!send(socket, reply))
            break;
    for (const QByteArray &report : out.reports)
        broadcast(Channel::Info, report);
}

void SrcpServer::sendFeedback(const QByteArray &line)
{
    broadcast(Channel::Feedback, line);
}

void SrcpServer::broadcast(Channel channel, const QByteArray &line)
{
    SimLog::sent(channelName(int(channel)) + QByteArray("*"), line);
    QList<QTcpSocket *> receivers;
    for (const auto &[socket, client] : Clients)
        if (client.channel == channel)
            receivers.append(socket);
    // send() may drop a client, so the map is not walked while sending.
    for (QTcpSocket *socket : receivers)
        send(socket, line);
}

bool SrcpServer::send(QTcpSocket *socket, const QByteArray &line)
{
    const auto it = Clients.find(socket);
    if (it == Clients.end())
        return false;
    if (socket->bytesToWrite() > MaxPendingOutput) {
        drop(socket, "dropped: it does not read what is sent to it");
        return false;
    }
    // Lines to all clients of a port are logged once by broadcast().
    if (it->second.channel == Channel::Command || line == Greeting)
        SimLog::sent(it->second.name, line);
    socket->write(line + '\n');
    return true;
}

void SrcpServer::drop(QTcpSocket *socket, const QByteArray &why)
{
    const auto it = Clients.find(socket);
    if (it == Clients.end())
        return;
    SimLog::note(it->second.name, why);
    Clients.erase(it);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}
