#pragma once

#include "elemente/Katalog.h"
#include "fahrunit/CFahr.h"
#include "position/C_Position.h"

#include <QList>
#include <QString>
#include <array>

// The wiring sheet of a plan: one line per position of every switchable
// cell, with the decoder output that sets it and the SRCP address and port
// that output is switched under.
//
// A cell is switchable when its element has more than one position, is an
// uncoupler, a feedback contact or a route button, or when a press on it
// pulses its row 1 (a one-position element whose row 1 names a decoder
// output). Holes and the cells of other elements are left out.
//
// The lines of a cell: its first line names the column and row (1-based,
// X / 27 + 1 and Y / 27 + 1), the element ("Weiche (7)") and the protocol
// ("DCC" or "Motorola", as the commands choose it); the lines after it of
// the same cell leave these four fields empty.
// - an accessory: a line per position ("2 abzweigend") with its decoder,
//   output, "GA <address>" and port, or "nicht belegt" when that row
//   switches nothing;
// - a feedback contact: one line "Rückmeldung" with its module, contact and
//   the contact number the server reports ("FB 19");
// - a route button: a line "Fahrstrasse <r>", then a line per entry of the
//   route: "Eintrag <k>: Spalte <c>, Zeile <z>, Stellung <s>".
// The cells come ordered by column, then row, then slot.

enum SchaltplanFeld { SpSpalte, SpZeile, SpElement, SpProtokoll, SpStellung, SpDekoder, SpAusgang, SpAdresse, SpPort,
                      SchaltplanFelder };
using SchaltplanZeile = std::array<QString, SchaltplanFelder>;

// The column headings of the sheet.
const SchaltplanZeile &SchaltplanKopf();
// The sheet's title line, which says how its cells are ordered.
QString SchaltplanTitel(const QString &planName);

QList<SchaltplanZeile> Schaltplan(const CPlanZellen &plan, const CKatalog &katalog, const FahrTabelle &routen);
