#pragma once

#include <QImage>

// The program's own icon, 256 x 256: a small piece of track diagram (a
// siding, a signal, a turnout and a feedback contact) drawn from the element
// icons themselves on the plan's silver, three times their size.
QImage paintProgramIcon();
