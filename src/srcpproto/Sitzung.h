#pragma once

#include "bahncalc/antworten.h"

#include <QByteArray>
#include <QString>
#include <functional>

// One SRCP 0.8 connection as its opening exchange sees it: how a line goes
// out, and where its reader keeps the last reply word and the session id
// text of "OK GO".
struct Sitzungskanal
{
    // Sends one line; the line end is added by the sender.
    std::function<void(const QByteArray &line)> Senden;
    QByteArray &Reply;
    QByteArray &SessionIdText;
    int &SessionId;
};

using Meldung = std::function<void(const QString &)>;

// The opening exchange of an SRCP 0.8 session in `modus` ("COMMAND" or
// "INFO"; `modusName` "Command" or "Info" names it in the messages): waits
// 1000 ms for the greeting, sends "SET CONNECTIONMODE SRCP <modus>", after
// 500 ms expects "OK", sends "GO", after 1000 ms expects "OK" and takes the
// session id. A refusal is logged and reported; the session id is then 0.
// Returns whether the session has begun.
bool SitzungEroeffnen(const Sitzungskanal &kanal, const QByteArray &modus, const QString &modusName,
                      const Meldung &protokollieren, const Meldung &melden);

// The reader's part: keeps the word of the first reply since the exchange
// last forgot the replies and, for "OK GO", the session id text. An info
// session reports the server's state right after "OK GO"; those reports
// must not pass for the reply to GO.
void AntwortMerken(const Antwort &antwort, QByteArray &reply, QByteArray &sessionIdText);
