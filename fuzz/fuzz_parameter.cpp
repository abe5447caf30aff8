// The settings file (parmc.dat) from arbitrary bytes. A file that is read
// completely is written and read again, which must give the same values.
#include "fuzzhilfe.h"

#include "hilfen/fehler.h"
#include "srcpproto/BahnZustand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    BahnZustand gelesen;
    try {
        LiesParameterDatei(FuzzDatei(data, size), gelesen);
    } catch (const VelmoFehler &) {
        return 0;
    }
    // A written file that cannot be read again ends the run by its
    // uncaught error.
    const QString kopie = FuzzPfad("parmc.dat");
    SchreibeParameterDatei(kopie, gelesen);
    BahnZustand wieder;
    LiesParameterDatei(kopie, wieder);
    Pruefe(wieder.ServerPort == gelesen.ServerPort && wieder.ServerHost == gelesen.ServerHost
               && wieder.SrcpVersion == gelesen.SrcpVersion && wieder.InfoMode == gelesen.InfoMode
               && wieder.Lokomotiven == gelesen.Lokomotiven,
           "settings changed by writing and reading them again");
    return 0;
}
