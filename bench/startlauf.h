#pragma once

// What the two start programs (bench_startzeit, bench_grundfenster) do at
// the first paint of their view. Without idle seconds they print
// "erstes_bild_ns <steady clock>" and end the application, so that
// bench/messlauf turns it into the time from process start to first paint.
// With idle seconds they print the same, then run `vorDerRuhe` from the
// event loop (Velmo connects there), stay idle that long and print what the
// whole process used meanwhile:
//
//   ruhe_cpu_ms <user + system>   ruhe_nvcsw <voluntary>   ruhe_nivcsw <involuntary>
//
// The application ends with 1 when vorDerRuhe returns false.
#include <functional>

class Startlauf
{
public:
    Startlauf(int ruheSekunden, std::function<bool()> vorDerRuhe = {});
    // Called at every paint of the view; only the first one counts.
    void Gemalt();

private:
    void ruhen();

    const int RuheSekunden;
    const std::function<bool()> VorDerRuhe;
    bool Erstes = true;
};

// The idle seconds given as argument `index`: 0 when it is missing, -1 when
// it is not a number of at least 1.
int Ruhesekunden(int argc, char *argv[], int index);
