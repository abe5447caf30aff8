#pragma once

#include "bahncalc/busse.h"

#include <QByteArray>
#include <QList>

// Track power lines of the operator menu, without line end (they are sent with
// write-line). SRCP 0.7.3 (version code 70) has one power switch:
// "SET POWER ON"/"SET POWER OFF". Every other version code is SRCP 0.8, as in
// the opening exchange, where power belongs to a bus: one line for each bus
// of the server that serves POWER, ascending.
QList<QByteArray> PowerBefehle(int srcpVersion, bool ein, const ServerBusse &busse = {});
