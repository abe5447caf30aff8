#pragma once

#include <QByteArray>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// A server on 127.0.0.1 for one client at a time that sends from a thread
// of its own, so it keeps its pace while the test thread is busy with the
// window. It sends pieces made on demand, a given number a second or as
// fast as the client takes them, and holds no more than 64 KiB of them at a
// time, so a flood of any length costs the test process no memory. It
// notices when the client closes the connection.
class FlutServer
{
public:
    // Makes piece n (0, 1, 2, ...); runs in the server's thread.
    using Quelle = std::function<QByteArray(qint64 n)>;
    // How the server ends the connection after the last piece: not at all,
    // by closing its direction as a server that closes does, or by a reset.
    enum class Schluss { Keiner, Schliessen, Abbrechen };

    FlutServer();
    ~FlutServer();
    FlutServer(const FlutServer &) = delete;
    FlutServer &operator=(const FlutServer &) = delete;

    int port() const { return Port; }
    // Sends `anzahl` pieces of `quelle` (-1: without end), `proSekunde`
    // pieces a second (0: as fast as the client reads), in place of what
    // was being sent, and then ends the connection as `schluss` says.
    void senden(Quelle quelle, qint64 anzahl, int proSekunde = 0, Schluss schluss = Schluss::Keiner);

    // Connections accepted so far.
    int verbindungen() const { return Verbindungen; }
    // Every piece asked for has gone out.
    bool fertig() const { return Fertig; }
    // The latest connection has ended: closed or reset by the client, or
    // reset by the server.
    bool getrennt() const { return Getrennt; }

private:
    struct Auftrag
    {
        Quelle Stuecke;
        qint64 Anzahl = 0;
        int ProSekunde = 0;
        Schluss Danach = Schluss::Keiner;
    };
    void laufen();
    int annehmen();
    // Serves one connection; false when the server is to reset it.
    bool bedienen(int fd);

    int Hoerer = -1;
    int Port = 0;
    std::mutex Sperre;
    Auftrag Naechster;
    bool Neu = false;
    std::atomic<bool> Ende {false};
    std::atomic<int> Verbindungen {0};
    std::atomic<bool> Fertig {true};
    std::atomic<bool> Getrennt {false};
    std::thread Faden;
};
