#pragma once

#include "bahncalc/zubehoer.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QObject;

#include <functional>
#include <map>
#include <memory>

// One step of a switching sequence: outputs pulsed together (every "on",
// one pulse time, every "off") and what follows once their pulse is over.
struct Impulsschritt
{
    QList<Zubehoerausgang> Ausgaenge;
    std::function<void()> Danach;
};

// The switching sequences in progress. Each sequence pulses its steps one
// after the other; each pulse keeps its own time on a timer of its own, so
// an output goes off its pulse time after its own "on" whatever else is
// pressed, set or loaded meanwhile and whichever dialog is open. Nothing
// waits in a nested event loop.
class Impulsfolgen
{
public:
    struct Kanal
    {
        // Switches the outputs on and returns their "off" lines; nothing
        // when nothing was sent (no connection, no output that can be switched).
        std::function<QList<QByteArray>(const QList<Zubehoerausgang> &)> Einschalten;
        // Whether an "off" line can still be sent.
        std::function<bool()> Verbunden;
        // Sends one "off" line; may raise VelmoFehler.
        std::function<void(const QByteArray &)> Ausschalten;
        // Reports an error raised by a step's continuation.
        std::function<void(const QString &)> Fehler;
    };

    explicit Impulsfolgen(Kanal kanal);
    ~Impulsfolgen();
    Impulsfolgen(const Impulsfolgen &) = delete;
    Impulsfolgen &operator=(const Impulsfolgen &) = delete;

    // Starts a sequence with pulses of `dauer` ms. Steps that send nothing
    // go straight on to their continuation, so a sequence that sends nothing
    // has run to its end when this returns. Returns its number while it
    // runs, 0 once it has ended.
    int Starten(QList<Impulsschritt> schritte, int dauer);
    // Ends the sequence now: the "off" lines of its running pulse go out,
    // its continuation runs, and its remaining steps run without sending.
    void Beenden(int folge);
    void AlleBeenden();
    bool Laeuft(int folge) const;
    // The outputs whose "off" could not be sent since the last call,
    // because the connection had gone; the count starts again at 0.
    int MoeglichEingeschaltet();

private:
    struct Folge;
    void Fortsetzen(int folge);
    void AusSenden(const QList<QByteArray> &aus);
    void Abschliessen(int folge);

    Kanal K;
    // The context of the pulse timers: a timer still pending when the
    // sequences go is dropped with it.
    std::unique_ptr<QObject> Wecker;
    std::map<int, std::unique_ptr<Folge>> Folgen;
    int Naechste = 1;
    int NichtAusgeschaltet = 0;
};
