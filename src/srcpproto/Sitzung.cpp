#include "srcpproto/Sitzung.h"

#include "hilfen/fehler.h"
#include "hilfen/pause.h"
#include "hilfen/texte.h"

namespace {

// Each step judges only the replies that arrive after its own line, never an
// "OK" left over from an earlier line or session.
void AntwortVergessen(const Sitzungskanal &kanal)
{
    kanal.Reply.clear();
    kanal.SessionIdText.clear();
}

bool ErwarteOk(const Sitzungskanal &kanal, const QString &fehlertext, const Meldung &protokollieren,
               const Meldung &melden)
{
    if (kanal.Reply == "OK")
        return true;
    protokollieren(fehlertext);
    melden(fehlertext);
    return false;
}

} // namespace

bool SitzungEroeffnen(const Sitzungskanal &kanal, const QByteArray &modus, const QString &modusName,
                      const Meldung &protokollieren, const Meldung &melden)
{
    kanal.SessionId = 0;
    Pause(1000);
    AntwortVergessen(kanal);
    kanal.Senden("SET CONNECTIONMODE SRCP " + modus);
    Pause(500);
    if (!ErwarteOk(kanal, QStringLiteral("Der %1 Modus konnte niht gestartet werden!").arg(modusName), protokollieren,
                   melden))
        return false;
    AntwortVergessen(kanal);
    kanal.Senden("GO");
    Pause(1000);
    const bool begonnen =
        ErwarteOk(kanal, QStringLiteral("Die Session konnte nicht begonnen werden!"), protokollieren, melden);
    if (begonnen)
        kanal.SessionId = StrToInt(TrimSteuerzeichen(QString::fromUtf8(kanal.SessionIdText)));
    protokollieren(QStringLiteral("SessionID :%1").arg(kanal.SessionId));
    return begonnen;
}

void AntwortMerken(const Antwort &antwort, QByteArray &reply, QByteArray &sessionIdText)
{
    if (!antwort.Gueltig || !reply.isEmpty())
        return;
    reply = antwort.Wort;
    if (antwort.IstGo)
        sessionIdText = antwort.SessionIdText;
}
