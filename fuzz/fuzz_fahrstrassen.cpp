// A route file from arbitrary bytes. A table that loads is saved and loaded
// again, which must give the same routes.
#include "fuzzhilfe.h"

#include "fahrunit/FahrstrassenDatei.h"
#include "hilfen/fehler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FahrTabelle gelesen;
    try {
        gelesen = LiesFahrstrassenDatei(FuzzDatei(data, size));
    } catch (const VelmoFehler &) {
        return 0;
    }
    // A saved table that cannot be loaded again ends the run by its uncaught
    // error.
    const QString kopie = FuzzPfad("routen.fst");
    SchreibeFahrstrassenDatei(kopie, gelesen);
    Pruefe(LiesFahrstrassenDatei(kopie) == gelesen, "routes changed by saving and loading them again");
    return 0;
}
