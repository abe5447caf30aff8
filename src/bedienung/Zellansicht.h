#pragma once

#include "bedienung/Fahrstrassenbau.h"

// The picture of the cell at plan point p when it is drawn afresh, after a
// step was undone or redone: the last record there in its own position
// (below 1 counts as 1), as loading the plan draws the records one over the
// other; while route editing shows route `route` and lists p, the first
// record's element in the route-marked picture of the entry's code, as a
// press in route editing draws it. Element 0: no record there, the cell
// shows the plan colour only.
ZellBild Zellansicht(const CPlanZellen &plan, const CFahr &fahr, std::optional<int> route, QPoint p);
