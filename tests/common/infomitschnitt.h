#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QTcpSocket>
#include <functional>

// One line from an SRCP 0.8 server.
struct SrcpZeile
{
    QByteArray Text;         // the whole line without its line end
    QByteArray Rest;         // the text after the time stamp; the whole line when it has none
    qint64 Serverzeit = -1;  // the leading "<seconds>.<milliseconds>" in ms since 1970; -1 without one
    qint64 Ankunft = 0;      // local time of arrival, ms since 1970
};

// Splits a line (without its line end) into time stamp and rest.
SrcpZeile SrcpZeileLesen(const QByteArray &text, qint64 ankunft = 0);

// Runs the event loop until `fertig` holds, at most `fristMs`; whether it held.
// Sockets keep being served meanwhile, so arrival times stay exact.
bool WarteBis(const std::function<bool()> &fertig, int fristMs);

// An SRCP 0.8 session on 127.0.0.1:port: reads the greeting, sends
// "SET CONNECTIONMODE SRCP <modus>" (expects 202) and "GO" (expects
// "200 OK GO <id>"). Every line after that collects in Zeilen as it arrives.
class SrcpSitzung
{
public:
    SrcpSitzung(int port, const QByteArray &modus, int fristMs = 5000);
    SrcpSitzung(const SrcpSitzung &) = delete;
    SrcpSitzung &operator=(const SrcpSitzung &) = delete;

    bool Bereit = false;  // the handshake went through
    QByteArray Fehler;    // what went wrong, when not Bereit
    QByteArray Gruss;     // the server's first line
    int Sitzung = -1;     // the id from "200 OK GO <id>"
    QList<SrcpZeile> Zeilen;

    // The index of the first line from index `ab` on that satisfies `passt`,
    // waiting for it at most `fristMs`; -1 when none came.
    int warteAuf(const std::function<bool(const SrcpZeile &)> &passt, int fristMs = 3000, int ab = 0);
    // The same for a line whose text after the time stamp is `rest`.
    int warteAuf(const QByteArray &rest, int fristMs = 3000, int ab = 0);
    // Sends the line with CR LF.
    void senden(const QByteArray &zeile);

protected:
    QTcpSocket Socket;

private:
    void lesen();
    bool handshake(int port, const QByteArray &modus, int fristMs);
};

// Records what the server reports on an info session. srcpd stamps the
// state it reports right after GO with the times that state arose (its
// start for the buses), not with the time of sending, and ends a power
// report with a blank ("100 INFO 1 POWER ON ").
class InfoMitschnitt : public SrcpSitzung
{
public:
    explicit InfoMitschnitt(int port, int fristMs = 5000) : SrcpSitzung(port, "INFO", fristMs) {}
};

// A command session: each command waits for its one reply.
class BefehlSitzung : public SrcpSitzung
{
public:
    explicit BefehlSitzung(int port, int fristMs = 5000) : SrcpSitzung(port, "COMMAND", fristMs) {}
    // Sends the line and returns its reply; a reply with the Text
    // "<no reply>" when none came within `fristMs`, or "<no session: ...>"
    // when the handshake failed.
    SrcpZeile befehl(const QByteArray &zeile, int fristMs = 3000);
};

// Opens a command session, sends the lines one after the other, each after
// the reply to the one before, and closes it again: the replies' texts after
// their time stamps, one per line (see BefehlSitzung::befehl for failures).
QByteArrayList Befehl(int port, const QByteArrayList &zeilen, int fristMs = 3000);
