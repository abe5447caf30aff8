#pragma once

#include <cstdint>

// Waits until ms milliseconds have passed, serving window events, timers and
// the hand-overs of the reader threads meanwhile. The CPU stays idle.
void Pause(std::uint16_t ms);
