#pragma once

#include <vector>

// The table of routes: each route is a list of plan slots.
class CFahr
{
public:
    std::vector<std::vector<int>> Fahrstrassen;

    void Leeren() { Fahrstrassen.clear(); }
};
