// Starts Velmo exactly as the program does and prints the wall-clock time
// (nanoseconds since the epoch) at which the plan view was painted on the
// screen for the first time; bench/startzeit.sh subtracts the time at
// which it started the process.
#include "Velmo/TBildFlaeche.h"
#include "Velmo/TForm1.h"
#include "Velmo/VelmoStart.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>

int main(int argc, char *argv[])
{
    return VelmoMain(argc, argv, [](TForm1 &form) {
        QObject::connect(form.Velmo, &TBildFlaeche::ErstesMalGezeigt, &form, [] {
            const auto jetzt = std::chrono::system_clock::now().time_since_epoch();
            std::printf("%lld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(jetzt).count()));
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    });
}
