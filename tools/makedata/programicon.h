#pragma once

#include <QImage>

// The program's own icon, 256 x 256: a small piece of track diagram (a
// siding, a signal, a turnout and a feedback contact) drawn from the element
// icons themselves on the plan's silver, three times their size. Its few
// colours come as an 8-bit indexed picture of exactly those: the program
// decodes it at every start for its window icon, and an indexed PNG decodes
// in a fraction of the time of a 32-bit one.
QImage paintProgramIcon();

// The window's icon, 64 x 64: the program icon scaled down smoothly. The
// title bar and task bar show no more than that, and the window hands every
// pixel of its icon to the X server at each start.
QImage windowIcon(const QImage &programIcon);
