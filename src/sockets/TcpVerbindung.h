#pragma once

#include <QByteArray>

#include <atomic>

// One open TCP connection. The client that opened it and the reader thread
// of the connection share it through a shared_ptr; the descriptor is closed
// only when the last holder lets go, so a reader still inside recv() never
// reads from a descriptor the system has handed out again.
//
// One thread reads (readLine) while another one writes (write, the GUI
// thread); shutdown() and connected() may be called from any thread.
class TcpVerbindung
{
public:
    // Takes over a connected, blocking stream socket.
    explicit TcpVerbindung(int fd);
    ~TcpVerbindung();
    TcpVerbindung(const TcpVerbindung &) = delete;
    TcpVerbindung &operator=(const TcpVerbindung &) = delete;

    // Longer lines are cut to their first MaxZeile bytes.
    static constexpr qsizetype MaxZeile = 65536;

    // Blocks without time limit until a line ended by LF has arrived and
    // returns it without the LF and without a CR before it. Throws
    // VelmoFehler when the connection ends or fails first; a partial line is
    // then lost.
    QByteArray readLine();
    // False once a read or a write has met the end of the connection or an
    // error, and after shutdown().
    bool connected() const;
    // Sends the bytes unchanged. While the send buffer is full the events of
    // the calling thread are served. Throws VelmoFehler when not connected or
    // when sending fails; never raises SIGPIPE.
    void write(const QByteArray &bytes);
    // Ends both directions; a reader blocked in readLine wakes up and throws.
    void shutdown();

private:
    void empfangen();
    void senden();

    const int Fd;
    std::atomic<bool> Offen{true};
    // Reader side: received bytes, of which the first Gelesen are used up.
    QByteArray Eingang;
    qsizetype Gelesen = 0;
    // Writer side: bytes still to be sent, and whether a write is sending them.
    QByteArray Ausgang;
    bool Sendet = false;
};
