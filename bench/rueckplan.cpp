// Writes the plan of the feedback demo: a row of N feedback contacts
// (module 1, contacts 1 to N) from the top left cell on, as <dir>/rueck.pln,
// and prints its path. scripts/rueckmeldung08_xvfb.sh opens it in the window.
//
//   build/bin/rueckplan DIR [N]
#include "rueckplan.h"

#include "hilfen/fehler.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    const int n = argc > 2 ? std::atoi(argv[2]) : 8;
    if (argc < 2 || n < 1) {
        std::fprintf(stderr, "usage: rueckplan DIR [N]\n");
        return 2;
    }
    try {
        std::printf("%s\n", qPrintable(RueckmeldePlan(QString::fromLocal8Bit(argv[1]), n)));
    } catch (const VelmoFehler &fehler) {
        std::fprintf(stderr, "%s\n", qPrintable(fehler.Text));
        return 1;
    }
    return 0;
}
