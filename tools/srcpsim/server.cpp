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

SrcpServer::SrcpServer(SrcpVersion version, const QList<int> &buses, QObject *parent)
    : QObject(parent)
    , Version(version)
    , Greeting(version == SrcpVersion::Srcp08 ? "srcpsim 1.0; SRCP 0.8.4; SRCPOTHER 0.8.3"
                                              : "srcpsim 1.0; SRCP 0.8.4; SRCPOTHER 0.7.3")
    , Layout(buses, version == SrcpVersion::Srcp08)
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

bool SrcpServer::listen(const QHostAddress &host, int port, QString *error)
{
    const int count = Version == SrcpVersion::Srcp08 ? 1 : 3;
    if (port != 0 || count == 1) {
        for (int i = 0; i < count; ++i) {
            if (!Servers[i]->listen(host, quint16(port + i))) {
                *error = QStringLiteral("cannot listen on %1 port %2: %3")
                             .arg(host.toString())
                             .arg(port + i)
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

quint16 SrcpServer::port() const
{
    return Servers[0]->serverPort();
}

void SrcpServer::accept(Channel channel)
{
    const int index = int(channel);
    while (QTcpSocket *socket = Servers[index]->nextPendingConnection()) {
        Client client;
        client.channel = channel;
        // In SRCP 0.8 mode a connection is named by its session once GO chose it.
        const QByteArray kind = Version == SrcpVersion::Srcp08 ? "conn" : channelName(index);
        client.name = kind + '#' + QByteArray::number(++Counters[index]);
        if (channel == Channel::Command)
            client.session = std::make_unique<SrcpSession>(Layout);
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
        if (client.session)
            handleCommandLine(socket, client, line.text);
        else
            SimLog::note(client.name, "ignored: this port does not take commands");
    }
}

void SrcpServer::handleCommandLine(QTcpSocket *socket, Client &client, const QByteArray &line)
{
    const SrcpSession::Mode before = client.session->mode();
    const SessionOutput out = client.session->handleLine(line);
    const SrcpSession::Mode after = client.session->mode();
    if (!out.rejected.isEmpty())
        SimLog::note(client.name, (before == SrcpSession::Mode::Srcp073 ? "rejected (SRCP 0.7.3, no reply): "
                                                                        : "ignored: ")
                                      + out.rejected);
    // The command took effect even when its client is gone by now.
    for (const QByteArray &reply : out.replies)
        if (!send(socket, reply))
            break;
    for (const QByteArray &report : out.reports)
        broadcast(Channel::Info, report);
    if (Version == SrcpVersion::Srcp08 && before != after)
        if (after == SrcpSession::Mode::Command08 || after == SrcpSession::Mode::Info08)
            startSession(socket);
}

void SrcpServer::startSession(QTcpSocket *socket)
{
    const auto it = Clients.find(socket);
    if (it == Clients.end())
        return;
    Client &client = it->second;
    const bool info = client.session->mode() == SrcpSession::Mode::Info08;
    const QByteArray id = QByteArray::number(client.session->sessionId());
    const QByteArray name = (info ? "info#" : "cmd#") + id;
    SimLog::note(client.name, "session " + id + (info ? " (info)" : " (command)") + ", named " + name + " from now on");
    client.name = name;
    // The other info sessions learn of it before this one becomes one.
    broadcast(Channel::Info, stamped(101, "INFO 0 SESSION " + id + (info ? " INFO" : " COMMAND")));
    if (!info)
        return;
    client.channel = Channel::Info;
    // The current state first; every later change follows by broadcast().
    for (const QByteArray &line : Layout.stateReport())
        if (!send(socket, line))
            return;
}

void SrcpServer::setContact(int contact, int value)
{
    FeedbackInput input;
    input.contacts.append({contact, value});
    feedback(input);
}

void SrcpServer::feedback(const FeedbackInput &input)
{
    const Channel receivers = Version == SrcpVersion::Srcp08 ? Channel::Info : Channel::Feedback;
    if (!input.asTyped.isEmpty()) {
        broadcast(receivers, input.asTyped);
        return;
    }
    // The layout learns of every contact in both modes, so that a command
    // session reads it with GET.
    const int bus = Layout.lowestBus();
    for (const auto &[contact, value] : input.contacts) {
        const auto report = Layout.setContact(bus, contact, value);
        if (report && Version == SrcpVersion::Srcp08)
            broadcast(receivers, *report);
    }
    if (Version == SrcpVersion::Srcp073)
        broadcast(receivers, s88Line(input));
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
        send(socket, line, false);
}

bool SrcpServer::send(QTcpSocket *socket, const QByteArray &line, bool logged)
{
    const auto it = Clients.find(socket);
    if (it == Clients.end())
        return false;
    if (socket->bytesToWrite() > MaxPendingOutput) {
        drop(socket, "dropped: it does not read what is sent to it");
        return false;
    }
    if (logged)
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
