#pragma once

#include <QByteArray>
#include <QList>

// Track power lines of the operator menu, without line end (they are sent with
// write-line). SRCP 0.7.3 (version code 70) has one power switch:
// "SET POWER ON"/"SET POWER OFF". Every other version code is SRCP 0.8, as in
// the opening exchange, where power belongs to a bus: one line for each of the
// buses 1 to 3 that the locomotive and accessory commands use.
QList<QByteArray> PowerBefehle(int srcpVersion, bool ein);
