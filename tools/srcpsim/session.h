#pragma once

#include "layout.h"

#include <QByteArray>
#include <QList>

// The answer to one line received from a client.
struct SessionOutput
{
    QList<QByteArray> replies; // for this client, without line end
    QList<QByteArray> reports; // for every info client, without line end
    QByteArray rejected;       // why the line was refused, for the log
};

// One connection that speaks SRCP commands.
//
// In SRCP 0.7.3 mode (LayoutState::srcp08Server() false) it starts as an
// SRCP 0.7.3 command connection, where accepted commands get no reply, as
// with an old server; "SET CONNECTIONMODE SRCP COMMAND" and "GO" switch it
// to an SRCP 0.8 command session.
//
// In SRCP 0.8 mode it starts with the handshake, which chooses a command
// session or an info session. An info session takes no commands; the server
// feeds it the layout's reports.
//
// In a command session every line gets exactly one reply.
class SrcpSession
{
public:
    enum class Mode { Srcp073, Handshake, Command08, Info08 };

    explicit SrcpSession(LayoutState &layout);

    SessionOutput handleLine(const QByteArray &line);

    Mode mode() const { return CurrentMode; }
    int sessionId() const { return SessionId; }

private:
    bool handleOpening(const QList<QByteArray> &words, SessionOutput &out);
    SessionOutput handle073(const QList<QByteArray> &words);
    SessionOutput handle08(const QList<QByteArray> &words);
    SessionOutput description08(const QByteArray &command, int bus, const QList<QByteArray> &args);
    SessionOutput accessory08(const QByteArray &command, int bus, const QList<QByteArray> &args);
    SessionOutput loco08(const QByteArray &command, int bus, const QList<QByteArray> &args);
    SessionOutput feedback08(const QByteArray &command, int bus, const QList<QByteArray> &args);
    SessionOutput power08(const QByteArray &command, int bus, const QList<QByteArray> &args);
    // An INIT report goes to info sessions only; the info port of SRCP 0.7.3
    // mode hears of SETs alone.
    void reportInit(SessionOutput &out, const QByteArray &report) const;

    LayoutState &Layout;
    Mode CurrentMode;
    Mode ChosenMode = Mode::Handshake; // by SET CONNECTIONMODE; Handshake = none yet
    int SessionId = 0;
};
