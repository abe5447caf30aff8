// The working modes of the plan, the palette and the dispatch of presses on
// the plan view by mode.
#include "Velmo/TForm1.h"

#include "Velmo/TBildFlaeche.h"
#include "Velmo/TDekoderPanel.h"
#include "Velmo/TStatusLeiste.h"
#include "elemente/Bilder.h"
#include "regler/TReglerPanel.h"

#include <QAction>
#include <QFrame>

// Checks the item of the mode just entered and unchecks the others.
void TForm1::ModusAnzeigen(QAction *item)
{
    for (QAction *modus : {Gleisbildentwerfen1, Dekoderadressen1, Betrieb1, Fahrstrassenbearbeiten1, Softregler1})
        modus->setChecked(modus == item);
}

// A cell may be edited, rewired or listed in a route in the modes of the
// plan: the pulses of operation end before, so that their later steps do
// not draw over the edit.
void TForm1::ModusWechseln(Modus m, QAction *item)
{
    if (m == Modus::Entwurf || m == Modus::Dekoder || m == Modus::Fahrstrassen)
        Bahn->Impulse.AlleBeenden();
    if (FahrstrassenModus && m != Modus::Fahrstrassen)
        FahrstrassenbearbeitungBeenden();
    ModusSetzen(m);
    ModusAnzeigen(item);
    BearbeitenZeigen();
    EntwurfsansichtZeigen();
}

void TForm1::Gleisbildentwerfen1Click()
{
    ModusWechseln(Modus::Entwurf, Gleisbildentwerfen1);
    Decod_Panel->hide();
    Regler_panel->hide();
    Manage_panel->hide();
    Panel->resize(std::min(Client->width(), PaletteBreite), PaletteHoehe);
    if (!ElementeGeladen)
        LadeElemente();
    PanelPaint();
    Panel->show();
}

void TForm1::Dekoderadressen1Click()
{
    ModusWechseln(Modus::Dekoder, Dekoderadressen1);
    Regler_panel->hide();
    Manage_panel->hide();
    Panel->hide();
    Decod_Panel->show();
    SpeicherePlan(Dokument.PlanName, Dokument.PlanDir);
}

void TForm1::Betrieb1Click()
{
    ModusWechseln(Modus::Betrieb, Betrieb1);
    Panel->hide();
    Decod_Panel->hide();
    Regler_panel->show();
    Manage_panel->show();
    const BildSpeicher::Durchgang durchgang;
    for (int i = 0; i < TReglerPanel::Anzahl; ++i) {
        Regler_panel->FunktionsbilderZeigen(i, &durchgang);
        Regler_panel->ReglerEinrichten(i, &durchgang);
    }
    SpeicherePlan(Dokument.PlanName, Dokument.PlanDir);
}

void TForm1::Fahrstrassen1Click()
{
    SpeicherePlan(Dokument.PlanName, Dokument.PlanDir);
}

void TForm1::Softregler1Click()
{
    ModusWechseln(Modus::Regler, Softregler1);
}

void TForm1::PanelPaint()
{
    PaletteZeichnen(*this, WorkDir, PaletteBitmap);
    Panel->Zeigen();
}

// Any button picks the element of the spot under the press. Its picture is
// read from its own state-1 icon file into an image of its own, so the
// placed icon is exactly the one the plan shows when it is loaded again.
void TForm1::PanelMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    const int element = PaletteElementBei(X, Y);
    if (!element)
        return;
    LadeBild(WorkDir + "Data/" + IconName(element, 1), GewaehltesBild);
    Waehlen(element);
}

void TForm1::VelmoMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int X, int Y)
{
    if (EntwurfModus) {
        StatusBar1->SetzeText(1, QStringLiteral("x: %1 y: %2").arg(X).arg(Y));
        EntwurfDruck(button, X, Y);
    }
    if (DekoderModus)
        DekoderDruck(button, X, Y);
    if (BetriebModus)
        BetriebDruck(button, X, Y);
    if (FahrstrassenModus)
        FahrstrassenDruck(button, X, Y);
}

void TForm1::VelmoMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int X, int Y)
{
    EntwurfAusfuehren(EntwurfZiehen(*this, buttons, shift, {X, Y}, Sichtlage()));
}

void TForm1::VelmoMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int X, int Y)
{
    EntwurfLosgelassen(button, X, Y);
}
