// The throttle panel's presses by mode, and the decoder dialog.
#include "Velmo/TForm1.h"

#include "lokunit/TForm2.h"
#include "regler/TReglerPanel.h"

void TForm1::SpeedButtonClick(int i)
{
    AktuelleLok = i;
    if (ReglerModus)
        LokDialogOeffnen(i);
    if (BetriebModus) {
        Regler_panel->RichtungWechseln(i);
        Regler_panel->ReglerMarkieren(i);
    }
}

void TForm1::ScrollBarChange(int i)
{
    Regler_panel->ReglerBewegt(i);
    Regler_panel->ReglerMarkieren(i);
}

void TForm1::Func_picClick(int i)
{
    Regler_panel->Funktion0Umschalten(i);
}

void TForm1::FuncClick(int i, int k)
{
    Regler_panel->FunktionUmschalten(i, k);
}

void TForm1::LokDialogOeffnen(int i)
{
    AktuelleLok = i;
    Form2->LokDialogOeffnen(Lokomotiven[i], SrcpVersion, [this] {
        const int lok = AktuelleLok;
        if (lok >= 0 && lok < TReglerPanel::Anzahl) {
            Regler_panel->ReglerEinrichten(lok);
            Regler_panel->FunktionsbilderZeigen(lok);
        }
        Bahn->SaveParameters();
    });
}
