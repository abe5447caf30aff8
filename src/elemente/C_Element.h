#pragma once

#include <QByteArray>
#include <array>

// One element of the catalogue: pictures for up to three states and its spot
// in the palette.
class C_Element
{
public:
    int Nummer = 0;
    QByteArray Name;
    int PaletteX = 0;
    int PaletteY = 0;
    int Zustaende = 0;
    int Zusatz = 0;
    QByteArray Bild1;
    QByteArray Bild2;
    QByteArray Bild3;
    QByteArray Text1;
    QByteArray Text2;
    QByteArray Text3;
};

constexpr int ElementAnzahl = 88;

// Indexed 1 to 88 by element number; index 0 is never used.
using ElementTabelle = std::array<C_Element, ElementAnzahl + 1>;
