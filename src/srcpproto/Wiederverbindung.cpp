#include "srcpproto/Wiederverbindung.h"

#include <algorithm>

Wiederverbindung::Wiederverbindung(std::function<bool(int, qint64)> versuchen, std::function<void(int, int)> warten)
    : Versuch(std::move(versuchen))
    , Warten(std::move(warten))
{
    Wecker.setSingleShot(true);
    Wecker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&Wecker, &QTimer::timeout, [this] { Versuchen(); });
}

int Wiederverbindung::Wartezeit(int versuch) const
{
    constexpr int Hoechstens = 30;
    const int schritte = versuch > 5 ? Hoechstens : std::min(Hoechstens, 1 << std::max(0, versuch - 1));
    return schritte * Einheit;
}

void Wiederverbindung::Starten()
{
    if (ImVersuch) {
        Gestoert = true;
        return;
    }
    if (Laeuft)
        return;
    Laeuft = true;
    Naechster = 1;
    Seit.start();
    Planen();
}

void Wiederverbindung::Abbrechen()
{
    Wecker.stop();
    Laeuft = false;
    Gestoert = ImVersuch;
}

void Wiederverbindung::Planen()
{
    const int ms = Wartezeit(Naechster);
    if (Warten)
        Warten(Naechster, ms);
    Wecker.start(ms);
}

void Wiederverbindung::Versuchen()
{
    ImVersuch = true;
    Gestoert = false;
    const bool geschafft = Versuch(Naechster, Seit.elapsed());
    ImVersuch = false;
    if (!Laeuft)
        return;
    if (geschafft && !Gestoert) {
        Laeuft = false;
        return;
    }
    ++Naechster;
    Planen();
}
