#pragma once

#include "elementtable.h"

#include <QImage>

// The 27 x 27 icon of an element in a state: 1 to 3, or 11 to 13 for the
// same states marked as part of a route. A state beyond the element's number
// of states shows its last state, except that a momentary element (uncoupler,
// route button) shows itself pressed in state 2.
QImage paintIcon(const Element &element, int state);
