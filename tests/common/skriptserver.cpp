#include "skriptserver.h"

#include <QTcpServer>
#include <QTcpSocket>

SkriptServer::SkriptServer()
    : Server(new QTcpServer(this))
{
    Server->listen(QHostAddress::LocalHost, 0);
    Port = Server->serverPort();
    connect(Server, &QTcpServer::newConnection, this, &SkriptServer::neueVerbindung);
    Uhr.start();
}

SkriptServer::~SkriptServer() = default;

int SkriptServer::port() const
{
    return Port;
}

void SkriptServer::neueVerbindung()
{
    while (QTcpSocket *client = Server->nextPendingConnection()) {
        Nummer.insert(client, Verbindungen++);
        Je.append(QByteArray());
        Clients.append(client);
        if (!Gruss.isEmpty())
            client->write(Gruss);
        connect(client, &QTcpSocket::readyRead, this, [this, client] { lesen(client); });
        connect(client, &QTcpSocket::disconnected, this, [this, client] {
            Clients.removeAll(client);
            Rest.remove(client);
            Nummer.remove(client);
            client->deleteLater();
        });
    }
}

void SkriptServer::lesen(QTcpSocket *client)
{
    const QByteArray neu = client->readAll();
    Empfangen += neu;
    Je[Nummer.value(client)] += neu;
    QByteArray &rest = Rest[client];
    rest += neu;
    qsizetype ende;
    while ((ende = rest.indexOf('\n')) >= 0) {
        QByteArray line = rest.left(ende);
        rest.remove(0, ende + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        Zeilen.append(line);
        Ankunft.append(Uhr.elapsed());
        if (Antwort) {
            const QByteArray antwort = Antwort(line);
            if (!antwort.isEmpty())
                client->write(antwort);
        }
    }
}

void SkriptServer::senden(const QByteArray &bytes)
{
    for (QTcpSocket *client : Clients)
        client->write(bytes);
}

void SkriptServer::sendenAn(int verbindung, const QByteArray &bytes)
{
    for (QTcpSocket *client : Clients)
        if (Nummer.value(client) == verbindung)
            client->write(bytes);
}

void SkriptServer::trennen()
{
    for (QTcpSocket *client : Clients)
        client->disconnectFromHost();
}

bool SkriptServer::hatClient() const
{
    return !Clients.isEmpty();
}

void SkriptServer::schliessen()
{
    Server->close();
}

bool SkriptServer::wiederOeffnen()
{
    return Server->listen(QHostAddress::LocalHost, Port);
}

int freierPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
