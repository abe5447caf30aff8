#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// The real SRCP 0.8 server srcpd, from the path in the environment variable
// VELMO_SRCPD, run in the foreground ("srcpd -n -f <config>") with a
// configuration of its own in a temporary directory: a free port, the pid
// file beside it, the user and group of this process, the server on bus 0
// and two loopback buses 1 and 2 (16 feedback contacts, 256 accessories,
// 80 locomotives each, power off at start). Port is set once the server
// accepts connections and has sent its greeting. srcpd listens on every
// address (it reads a <listen-ip> setting but does not use it); only
// loopback is used here.
// Its standard output and error collect in Log (with a valid configuration
// it prints nothing there: it logs to syslog). It is killed in the
// destructor, and by the system should this process die first.
struct SrcpdProzess
{
    SrcpdProzess();
    ~SrcpdProzess();

    // Whether VELMO_SRCPD names an executable; Grund says why not.
    bool Verfuegbar() const { return !Programm.isEmpty(); }

    // The configuration srcpd gets; user and group are left out when empty.
    static QByteArray Konfiguration(int port, const QString &pidDatei, const QByteArray &benutzer,
                                    const QByteArray &gruppe);

    QString Programm;  // empty when not available
    QString Grund;     // why it is not available or did not start
    QTemporaryDir Verzeichnis;
    QProcess Prozess;
    QByteArray Log;
    QByteArray Gruss;  // the greeting line, "srcpd V2.1.3; SRCP 0.8.4; ..."
    int Port = 0;      // 0 when it did not start

private:
    bool starten(int port, int fristMs);
};
