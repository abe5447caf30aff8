#include "startlauf.h"

#include <QCoreApplication>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

double ms(const timeval &t)
{
    return t.tv_sec * 1e3 + t.tv_usec / 1e3;
}

rusage Verbrauch()
{
    rusage jetzt {};
    getrusage(RUSAGE_SELF, &jetzt);
    return jetzt;
}

} // namespace

Startlauf::Startlauf(int ruheSekunden, std::function<bool()> vorDerRuhe)
    : RuheSekunden(ruheSekunden)
    , VorDerRuhe(std::move(vorDerRuhe))
{
}

void Startlauf::Gemalt()
{
    if (!Erstes)
        return;
    Erstes = false;
    const auto jetzt = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("erstes_bild_ns %lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(jetzt).count()));
    std::fflush(stdout);
    if (RuheSekunden == 0)
        QCoreApplication::exit(0);
    else
        // Out of the paint event: connecting runs event loops of its own.
        QTimer::singleShot(0, [this] { ruhen(); });
}

void Startlauf::ruhen()
{
    if (VorDerRuhe && !VorDerRuhe()) {
        QCoreApplication::exit(1);
        return;
    }
    const rusage anfang = Verbrauch();
    QTimer::singleShot(RuheSekunden * 1000, [anfang] {
        const rusage ende = Verbrauch();
        std::printf("ruhe_cpu_ms %.1f\n", ms(ende.ru_utime) + ms(ende.ru_stime) - ms(anfang.ru_utime) - ms(anfang.ru_stime));
        std::printf("ruhe_nvcsw %ld\nruhe_nivcsw %ld\n", ende.ru_nvcsw - anfang.ru_nvcsw, ende.ru_nivcsw - anfang.ru_nivcsw);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}

int Ruhesekunden(int argc, char *argv[], int index)
{
    if (argc <= index)
        return 0;
    const int sekunden = std::atoi(argv[index]);
    return sekunden >= 1 ? sekunden : -1;
}
