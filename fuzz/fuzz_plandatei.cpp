// A plan file from arbitrary bytes. A plan that loads is saved and loaded
// again, which must give the same cells; then every cell is pressed as the
// window presses it, through the same rules.
#include "fuzzhilfe.h"

#include "bedienung/DekoderDaten.h"
#include "bedienung/Fahrstrassenbau.h"
#include "bedienung/Platzierung.h"
#include "bedienung/Schalten.h"
#include "hilfen/fehler.h"
#include "position/PlanDatei.h"

#include <optional>

namespace {

// The slot a rule acts on for a press at p must be a cell of the plan at p.
void PruefeSlot(const CPlanZellen &plan, int slot, QPoint p)
{
    Pruefe(slot >= 1 && slot <= plan.PosAnzahl && plan.Positionen[slot].X == p.x() && plan.Positionen[slot].Y == p.y(),
           "a press acts on a slot that is no cell at the point pressed");
}

// Operating mode, route editing and decoder mode on the cell at p, each
// carried out on the plan as the window does.
void Druecken(CPlanZellen &plan, CFahr &fahr, const ElementTabelle &katalog, QPoint p)
{
    const std::optional<Betriebsdruck> druck = BetriebDruecken(plan, katalog, p);
    if (druck && !druck->Fahrstrassentaste) {
        PruefeSlot(plan, druck->Schalten.Slot, p);
        plan.Positionen[druck->Schalten.Slot].Zustand = druck->Schalten.Endzustand;
    } else if (druck && FahrstrasseGibtEs(*druck->Fahrstrassentaste)) {
        FahrstrasseStellen(fahr, plan, *druck->Fahrstrassentaste);
    }
    FahrstrasseLinks(fahr, plan, katalog, ErsteFahrstrasse, p);
    FahrstrassenBilder(fahr, plan, ErsteFahrstrasse, true);
    FahrstrasseRechts(fahr, plan, ErsteFahrstrasse, p);
    FahrstrassentasteVerbinden(plan, ErsteFahrstrasse, p);
    const int slot = plan.FindeSlot(p.x(), p.y());
    PruefeSlot(plan, slot, p);
    DekoderSpeichern(plan.Positionen[slot], DekoderTexte(plan.Positionen[slot]));
}

} // namespace

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

    // Elements of one to three positions, and some of none.
    static const ElementTabelle katalog = [] {
        ElementTabelle k {};
        for (int e = 1; e <= ElementAnzahl; ++e)
            k[e].Zustaende = e % 4;
        return k;
    }();
    CPlanZellen &plan = *gelesen;
    FahrTabelle routen {};
    CFahr fahr(routen);
    for (int i = 1; i <= plan.PosAnzahl; ++i)
        if (!IstLoch(plan.Positionen[i]))
            Druecken(plan, fahr, katalog, {plan.Positionen[i].X, plan.Positionen[i].Y});
    // Last, design mode deletes every cell in slot order with the right
    // button, the view scrolled so that the cell lies under its top-left
    // corner: each press finds the cells before it deleted already.
    Arbeitsmodi modi;
    for (int i = 1; i <= plan.PosAnzahl; ++i) {
        const C_Position &zelle = plan.Positionen[i];
        if (IstLoch(zelle))
            continue;
        EntwurfDruecken(modi, plan, Qt::RightButton, {0, 0}, Sicht {{zelle.X, zelle.Y}, {980, 680}});
        Pruefe(IstLoch(zelle), "a right press leaves the cell pressed");
    }
    return 0;
}
