#pragma once

#include "bahncalc/antworten.h"

#include <QByteArray>
#include <deque>
#include <functional>

// The command lines sent on an SRCP 0.8 command session that still await
// their reply. The server answers every line in order, so a reply belongs to
// the oldest line still waiting.
class OffeneBefehle
{
public:
    // Acts on the reply to one command (given without line end). Returns
    // whether the reply line is still to be shown as it came; false when
    // the evaluation has shown what the user needs itself, or nothing is to
    // be shown.
    using Auswertung = std::function<bool(const QByteArray &befehl, const Antwort &antwort)>;
    // A server that leaves this many lines unanswered does not answer at
    // all; the oldest lines are then forgotten.
    static constexpr qsizetype Hoechstzahl = 4096;

    // Records every line of `daten` (each ended by LF), each with the
    // evaluation.
    void Gesendet(const QByteArray &daten, Auswertung auswertung = {});
    // Hands the reply to the command it answers and returns what that
    // command's evaluation returns; true when no evaluation or no command
    // was waiting.
    bool Beantwortet(const Antwort &antwort);
    void Leeren();
    qsizetype Anzahl() const;

private:
    struct Eintrag
    {
        QByteArray Befehl;
        Auswertung Auswerten;
    };
    std::deque<Eintrag> Warteschlange;
};
