#pragma once

#include "bahncalc/busse.h"
#include "lokunit/cLocoInfo.h"

#include <QByteArray>

// Locomotive commands. Under SRCP 0.8 a locomotive protocol code names a bus
// and a protocol version:
//   M1..M5 -> bus 1, version 1..5;  NB -> 2, 1;  N1 -> 2, 2;  N2 -> 2, 3;
//   N3 -> 3, 4;  N4 -> 3, 5.
// Codes are compared as whole, case-sensitive texts; any other code gives 0
// for both, and the 0.8 texts below are then empty (nothing to send).
int ProtocolBus(const QByteArray &code);
int ProtocolVersion(const QByteArray &code);

// Number of function values a drive command carries: Funktionsanzahl limited
// to 0..8, the size of the function table of the record.
int FunktionenImBefehl(const cLocoInfo &lok);

// SRCP 0.7.3 drive command:
// "SET GL <Protokoll> <Adresse> <Richtung> <V> <Vmax> <F0> <n> " followed by
// one "1 " (code above 10: switched on) or "0 " per function, then "\n".
// The protocol code is sent as stored.
QByteArray LokBefehl70(const cLocoInfo &lok);

// SRCP 0.8 drive command:
// "SET <bus> GL <Adresse> <Richtung> <V> <Vmax> <F0> " followed by the n
// function values F1 to Fn, as under SRCP 0.7.3, and "\n". The bus is the
// code's bus as the server's buses serve locomotives (ServerBusse::Ziel).
QByteArray LokBefehl80(const cLocoInfo &lok, const ServerBusse &busse = {});

// SRCP 0.8 initialisation:
// "INIT <bus> GL <Adresse> <M|N> <version> <steps> <functions>\n" with
// steps = Fahrstufen or 14 when 0, functions = InitFunktionsanzahl or, when 0,
// F0 and the n functions of the record (n + 1) for every code but "M1",
// which announces 0 (plain Motorola has no extra functions). A server
// counts F0 among the functions, so every function of the drive command
// is one it knows.
// The bus as for the drive command.
QByteArray LokInit80(const cLocoInfo &lok, const ServerBusse &busse = {});
