// A plan file from arbitrary bytes. A plan that loads is saved and loaded
// again, which must give the same cells.
#include "fuzzhilfe.h"

#include "hilfen/fehler.h"
#include "position/PlanDatei.h"

#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Each table holds all 10000 slots; the optional spares building an
    // empty one only to overwrite it.
    std::optional<CPlanZellen> gelesen;
    try {
        gelesen = LiesPlanDatei(FuzzDatei(data, size));
    } catch (const VelmoFehler &) {
        return 0;
    }
    // A saved plan that cannot be loaded again ends the run by its uncaught
    // error.
    const QString kopie = FuzzPfad("plan.pln");
    SchreibePlanDatei(kopie, *gelesen);
    const CPlanZellen wieder = LiesPlanDatei(kopie);
    Pruefe(wieder.PosAnzahl == gelesen->PosAnzahl && wieder.Positionen == gelesen->Positionen,
           "cells changed by saving and loading the plan again");
    return 0;
}
