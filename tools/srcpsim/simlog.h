#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The simulator's log on standard error, one line per event:
//   "12:01:02.345 cmd#1 < SET GA M 18 0 1 -1"    a line received
//   "12:01:02.346 cmd#1 > 1796762107.242 200 OK" a line sent
//   "12:01:02.346 cmd#1 * connected from ..."      anything else
// Standard output is kept free for the port line.
namespace SimLog {

// Leaves out the '>' lines.
void setQuiet(bool quiet);

void received(QByteArrayView who, QByteArrayView line);
void sent(QByteArrayView who, QByteArrayView line);
void note(QByteArrayView who, QByteArrayView text);

// Control characters become \xNN and very long lines are shortened, so a
// log line always stays one readable terminal line.
QByteArray printable(QByteArrayView line);

} // namespace SimLog
