#include "messteil.h"

#include <chrono>

// Its own translation unit, so it is never inlined and callgrind sees it.
double Messteil(const std::function<void()> &teil)
{
    const auto anfang = std::chrono::steady_clock::now();
    teil();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - anfang).count();
}
