#pragma once

#include <QRgb>

// The red of everything that warns: a command the server refused (the frame
// of a cell, the name of a throttle), a red indicator, the emergency stop.
constexpr QRgb Warnrot = qRgb(0xd2, 0x1e, 0x1e);
