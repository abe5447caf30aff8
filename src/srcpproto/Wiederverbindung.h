#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

// Connecting again after the server dropped the command connection: try 1
// follows the loss after 1 s, each failed try waits twice as long as the
// one before, at most 30 s, until a try succeeds or the user cancels. The
// waits run on a timer, so the interface goes on; a try itself may serve
// events while it connects, and a cancel meanwhile ends the sequence.
class Wiederverbindung
{
public:
    // versuchen: makes try `versuch` (from 1) after the loss of `ausfallMs`
    // milliseconds and returns whether the connection stands again.
    // warten: the next try comes in `ms` milliseconds.
    Wiederverbindung(std::function<bool(int versuch, qint64 ausfallMs)> versuchen,
                     std::function<void(int versuch, int ms)> warten = {});

    // The loss was noticed; during a try it makes that try count as failed.
    void Starten();
    // "Host trennen", "Host verbinden" or the end of the program.
    void Abbrechen();
    bool Aktiv() const { return Laeuft; }

    // The wait before try `versuch`: 1, 2, 4, … at most 30 steps of `Einheit`.
    int Wartezeit(int versuch) const;
    // The length of one step, 1000 ms; tests make it shorter.
    int Einheit = 1000;

private:
    void Versuchen();
    void Planen();

    std::function<bool(int, qint64)> Versuch;
    std::function<void(int, int)> Warten;
    QTimer Wecker;
    QElapsedTimer Seit;
    bool Laeuft = false;
    bool ImVersuch = false;
    // Set by a loss or a cancel during a try, which then does not end the sequence by its success.
    bool Gestoert = false;
    int Naechster = 1;
};
