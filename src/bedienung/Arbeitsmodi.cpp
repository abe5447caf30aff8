#include "bedienung/Arbeitsmodi.h"

void Arbeitsmodi::ModusSetzen(Modus m)
{
    EntwurfModus = m == Modus::Entwurf;
    DekoderModus = m == Modus::Dekoder;
    BetriebModus = m == Modus::Betrieb;
    FahrstrassenModus = m == Modus::Fahrstrassen;
    ReglerModus = m == Modus::Regler;
    if (m == Modus::Dekoder || m == Modus::Betrieb || m == Modus::Fahrstrassen)
        ElementGewaehlt = false;
}

bool Arbeitsmodi::Waehlen(int element)
{
    if (element < 1)
        return false;
    ElementGewaehlt = true;
    GewaehltesElement = element;
    return true;
}
