#include "gangmesser.h"

#include <algorithm>

Gangmesser::Gangmesser()
{
    Uhr.start();
    Takt.setTimerType(Qt::PreciseTimer);
    QObject::connect(&Takt, &QTimer::timeout, [this] {
        const qint64 jetzt = Uhr.elapsed();
        Laengste = std::max(Laengste, jetzt - Letzter);
        Letzter = jetzt;
    });
    Takt.start(5);
}

qint64 Gangmesser::laengsteLuecke() const
{
    return std::max(Laengste, Uhr.elapsed() - Letzter);
}

void Gangmesser::neu()
{
    Laengste = 0;
    Letzter = Uhr.elapsed();
}
