#pragma once

#include "lokunit/cLocoInfo.h"

#include <QString>
#include <array>
#include <optional>

// The throttle arithmetic. A throttle's slider runs from 0 at the top to its
// maximum at the bottom; the bottom end is standstill and the top end full
// speed.

// The slider's maximum: Vmax, a negative Vmax counting as 0.
int ReglerMaximum(const cLocoInfo &lok);

// The speed a slider position stands for: the maximum less the position,
// never below 0.
int ReglerGeschwindigkeit(const cLocoInfo &lok, int position);

// The direction button's picture when the throttle is built: the double
// arrow for "M1" and "NB"; for every other code the arrow of the direction
// the record holds, pointing left for forward (1) and right otherwise, as
// a press shows it.
QString RichtungsbildEinrichten(const cLocoInfo &lok);

// A press on the direction button of a configured locomotive. "M1" keeps
// the double arrow and, standing, toggles Richtung (1 becomes 0, anything
// else 1). "M2" to "M5", "NB" and "N1" to "N4", standing, toggle the same
// way and show the arrow of the new direction. A moving
// locomotive, and one of any other code, keeps its direction. Returns the
// picture the button shows afterwards; empty when it keeps its picture.
QString RichtungsDruck(cLocoInfo &lok, bool stehend);

// F0's picture: "Func_off.bmp" when off, "Func_on.bmp" when on.
QString Funktion0Bild(int funktion0);

// A press on F1 to F4: a code above 10 goes off (less 10), any other code
// above 0 goes on (plus 10); 0 stays 0.
int FunktionGeschaltet(int code);

// The pictures of F1 to F4 from the record: with Funktionsanzahl above 0,
// every slot whose code is above 0 shows the picture of its code, or
// nothing for a code without a picture (an empty text). std::nullopt: the
// slot keeps what it shows.
std::array<std::optional<QString>, 4> Funktionsbilder(const cLocoInfo &lok);
