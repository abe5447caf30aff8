#pragma once

#include "elemente/C_Element.h"

#include <QImage>
#include <QString>

constexpr int PaletteBreiteStandard = 617;
constexpr int PaletteHoeheStandard = 113;
const QColor PaletteFarbe(128, 0, 0);

// The element catalogue as the main window keeps it.
struct CKatalog
{
    ElementTabelle Elemente;
    bool ElementeGeladen = false;
    // The palette shows the icons of the records read last.
    bool PaletteGezeichnet = false;

    // Nummer of the first record (index 1 upwards) whose palette spot is
    // exactly (x, y); 0 when there is none.
    int FindePaletteElement(int x, int y) const;
    // The element a press at box point (x, y) of the palette picks: the
    // Nummer on the spot under it when that is 1 to 88, else 0.
    int PaletteElementBei(int x, int y) const;
    // The tooltip at box point (x, y) of the palette: that of the element
    // a press there picks; empty where it picks none.
    QString PalettenTipp(int x, int y) const;
};

// An element's tooltip: its name and, on a second line, the names of its
// positions (as many as it has states, those without a name left out),
// e.g. "Weiche\nStellungen: gerade, abzweigend".
QString ElementTipp(const C_Element &e);

// The icon corner of the 28-pixel palette spot under box point (x, y):
// ((x div 28) * 28 + 1, (y div 28) * 28 + 1).
QPoint PalettenSpot(int x, int y);

// Reads the 88 records of a catalogue file into elemente, assigning every
// value as soon as it is read; raises VelmoFehler at the first failure,
// keeping what was read before it.
void LiesKatalogDatei(const QString &path, ElementTabelle &elemente);

// Reads Data/Elemente1.dat below workDir into the catalogue; the palette
// waits for PaletteZeichnen. On an error the records read so far keep their
// new values, ElementeGeladen stays false and the error is raised.
void LadeKatalog(CKatalog &katalog, const QString &workDir);

// Fills the palette maroon and draws every element's first picture into
// it, once for the records read last: the program starts without decoding
// the 88 pictures, or even touching the palette's memory, and draws them
// when the palette is first shown. Without loaded records the palette stays
// maroon. A picture that cannot be read raises its error once and leaves
// the icons drawn before it.
void PaletteZeichnen(CKatalog &katalog, const QString &workDir, QImage &PaletteBitmap);
