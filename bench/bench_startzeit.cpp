// Starts Velmo exactly as the program does (VelmoMain, without a plan
// argument) and reports the first paint of the plan view (bench/startlauf.h).
// With SECONDS and PORT it then connects to an SRCP 0.7.3 server on
// 127.0.0.1:PORT (srcpsim), with the info connection on and the feedback
// query started, and stays idle connected for SECONDS.
//
//   messlauf bench_startzeit [SECONDS PORT]
#include "startlauf.h"

#include "Velmo/TBildFlaeche.h"
#include "Velmo/TForm1.h"
#include "Velmo/VelmoStart.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char *argv[])
{
    const char *aufruf = "bench_startzeit [SECONDS PORT]";
    const int sekunden = Ruhesekunden(argc, argv, 1);
    const int port = argc == 3 ? std::atoi(argv[2]) : 0;
    if (sekunden < 0 || argc == 2 || argc > 3 || (argc == 3 && port < 1)) {
        std::fprintf(stderr, "usage: %s\n", aufruf);
        return 2;
    }
    // Velmo takes its first argument for a plan to open.
    int velmoArgc = 1;
    return VelmoMain(velmoArgc, argv, [&](TForm1 &form) {
        auto lauf = std::make_shared<Startlauf>(sekunden, [&form, port] {
            form.ServerHost = "127.0.0.1";
            form.ServerPort = port;
            form.SrcpVersion = SrcpVersion073;
            form.InfoMode = 1;
            form.VerbindungenEinstellen();
            form.Hostverbinden1Click();
            form.Abfragestarten1Click();
            if (form.CommandConnected && form.InfoConnected && form.PollConnected)
                return true;
            std::fprintf(stderr, "bench_startzeit: no connection to the server on port %d\n", port);
            return false;
        });
        QObject::connect(form.Velmo, &TBildFlaeche::ErstesMalGezeigt, &form, [lauf] { lauf->Gemalt(); });
    });
}
