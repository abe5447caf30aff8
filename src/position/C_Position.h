#pragma once

#include <QByteArray>
#include <vector>

// One placed cell of the plan.
class C_Position
{
public:
    int Nummer = 0;      // own slot index when placed; kept as a file gives it
    int Element = 0;     // catalogue element 1..88
    int X = 0;           // left pixel, a multiple of 27
    int Y = 0;           // top pixel, a multiple of 27
    int Zustand = 0;
    int Dekoder1 = 0;
    int Dekoder2 = 0;
    int Dekoder3 = 0;
    int Adresse1 = 0;
    int Adresse2 = 0;
    int Adresse3 = 0;
    int Fahrstrasse = 0;
    QByteArray Protokoll; // "N"/"n": DCC, anything else Motorola

    bool operator==(const C_Position &) const = default;
};

// One decoder row of a cell: the decoder and its output that set a position.
struct DekoderZeile
{
    int Dekoder = 0;
    int Adresse = 0;
    bool operator==(const DekoderZeile &) const = default;
};

// Row r (1 to 3) of the cell; any other r is the row (0, 0), which switches
// nothing.
DekoderZeile DekoderZeileVon(const C_Position &p, int r);

constexpr int RasterGroesse = 27;
constexpr int MaxPositionen = 10000;

// Snaps a coordinate to the 27-pixel raster, rounding towards zero.
int Raster(int v);

// The slots 0 to MaxPositionen of the plan's cells. A slot takes memory
// from the first time it is reached for writing; until then it reads as an
// empty cell. So a small plan, or none, costs no memory for the slots it
// does not use, and every slot of the range can be read or written at any
// time as if the whole table were there.
class Zellenfeld
{
public:
    C_Position &operator[](int i)
    {
        if (i >= int(Slots.size()))
            Slots.resize(i + 1);
        return Slots[i];
    }
    const C_Position &operator[](int i) const
    {
        static const C_Position leer;
        return i < int(Slots.size()) ? Slots[i] : leer;
    }
    // Equal when every slot reads the same.
    bool operator==(const Zellenfeld &andere) const;

private:
    std::vector<C_Position> Slots;
};

// The list of placed cells: slots 1 to PosAnzahl are in use, slot 0 never.
// Cells are appended and cleared in place (a cleared slot is a hole), never
// removed.
struct CPlanZellen
{
    Zellenfeld Positionen;
    int PosAnzahl = 0;

    // Appends a cell in state 1; refused (false, table unchanged) when all
    // 10000 slots are in use.
    bool NeuePosition(int x, int y, int element);
    // The lowest slot (1 to PosAnzahl) at exactly (x, y); 0 if none. Holes
    // never match, so a cleared cell does not hide a real cell at (0, 0).
    // Every look-up that reaches into the table goes through the slot: the
    // Nummer of a cell is what its file said and is never used as an index.
    int FindeSlot(int x, int y) const;
    // Nummer / Element of that slot; 0 if none.
    int FindePosition(int x, int y) const;
    int FindeElement(int x, int y) const;
    // Turns slot i into a hole; PosAnzahl is unchanged.
    void LoeschePosition(int i);
};

inline bool IstLoch(const C_Position &p)
{
    return p.Nummer == 0 && p.Element == 0;
}
