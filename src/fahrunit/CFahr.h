#pragma once

#include <array>

// Routes: 64 routes numbered 0 to 63, each with 64 entries. Entry 0 holds
// the route's entry count n (0 to 63) in X; entries 1 to n are the listed
// cells in the order they were added, each with its plan point and the
// recorded position as code 10 + position (11, 12, 13); the rest are zero.
struct FahrEintrag
{
    int X = 0;
    int Y = 0;
    int Code = 0;
    bool operator==(const FahrEintrag &) const = default;
};

constexpr int FahrstrassenZahl = 64;
constexpr int EintraegeJeFahrstrasse = 63;
using Fahrstrasse = std::array<FahrEintrag, EintraegeJeFahrstrasse + 1>;
using FahrTabelle = std::array<Fahrstrasse, FahrstrassenZahl>;

// The routes a route button or the route editor can choose: 1 to 63.
constexpr int ErsteFahrstrasse = 1;
constexpr int LetzteFahrstrasse = FahrstrassenZahl - 1;
constexpr bool FahrstrasseGibtEs(int r)
{
    return r >= ErsteFahrstrasse && r <= LetzteFahrstrasse;
}

// The operations on the route table of the main window.
class CFahr
{
public:
    explicit CFahr(FahrTabelle &tabelle);

    // Every field of every entry of every route := 0.
    void Leeren();
    int Anzahl(int r) const;
    void SetzeAnzahl(int r, int n);
    // Index of the listed entry (1 to the count) at (x, y) in route r; 0
    // when none. The zero entries after the count are no cells: a cell at
    // plan point (0, 0) is listed only when it was added.
    int Suche(int r, int x, int y) const;
    // Removes the entry at (x, y), which must be listed: the later entries
    // move one place down and the count drops by one.
    void Entferne(int r, int x, int y);
    // All entries of route r := 0.
    void Loeschen(int r);

    const Fahrstrasse &Route(int r) const { return Tabelle.at(r); }
    Fahrstrasse &Route(int r) { return Tabelle.at(r); }

private:
    FahrTabelle &Tabelle;
};
