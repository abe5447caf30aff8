#pragma once

#include "elementtable.h"

class QPainter;

struct FittingLook
{
    int state;        // the state shown, 1 to the element's number of states
    bool pressed;     // a momentary element held down
    bool routeMarked; // the element is part of a marked route
};

// Draws what an element shows besides its track, in the unturned frame: the
// track runs along y = 13 from W to E, the centre is (13, 13). The painter
// carries the transform onto the turned element.
void drawFitting(QPainter &painter, Fitting fitting, const FittingLook &look);
