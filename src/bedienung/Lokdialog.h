#pragma once

#include "lokunit/cLocoInfo.h"

#include <QString>
#include <array>
#include <optional>

// The rules of the decoder settings dialog, apart from its controls.

// The function slots F1 to F4 are shown for variants 1 to 4 of either
// family (M2 to M5, N1 to N4) and hidden for variant 0 (M1, NB) or none.
bool FunktionenSichtbar(int variante);

// What the dialog shows when it opens for a record.
struct LokdialogInhalt
{
    // The family: true Märklin/Motorola, false DCC/NMRA; std::nullopt for
    // a first letter that is neither "M" nor "N" (the family stays as it was).
    std::optional<bool> Maerklin;
    // The item to select in the family's variant group; -1 selects none.
    int Variante = -1;
    bool Funktionen = true;
    QString Adresse;
    QString Beschreibung;
    QString Vmax;
    // The function count and speed steps the record holds; empty while
    // they are 0, so that confirming gives the defaults.
    QString Funktionsanzahl;
    QString Fahrstufen;
    // The codes the slots F1 to F4 start with, each switched off (an on
    // code loses its 10).
    std::array<int, 4> Codes {};
    // The picture of each slot: its symbol in the switched-on look, whatever
    // state it was stored in; empty for none.
    std::array<QString, 4> Bilder;
};

// The dialog's contents for lok. A protocol whose second character is
// neither "B" nor a digit raises the conversion error.
LokdialogInhalt LokdialogFuellen(const cLocoInfo &lok);

// What the user confirms.
struct LokdialogEingaben
{
    QString Adresse;
    QString Beschreibung;
    QString Vmax;
    QString Funktionsanzahl;
    QString Fahrstufen;
    bool Maerklin = true;
    // The selected item of the family's variant group; -1 for none.
    int Variante = -1;
    std::array<int, 4> Codes {};
};

// Stores a confirmed dialog into lok; version is the SRCP version (70 or
// 80). An empty address changes nothing and gives false. Otherwise, in
// this order: address, name (its first 20 characters, every control
// character a blank), Vmax (100 when
// empty), protocol with function count and speed steps (M1: 0 and 14; NB:
// 4 and 14; the other variants 4 and 14 under 0.73, else the two count
// fields, 4 and 14 when empty; no variant: all three unchanged), then
// forward, standing, F0 off, and with functions F1 to F4 from the slots,
// every one switched off. A field that is not a decimal integer raises the
// conversion error (of the first such field in this order) and leaves the
// record as it was. A new protocol, address, function count or number of speed steps
// makes the locomotive unknown to the server (Initialisiert 0), so that it
// is announced again before its next drive command.
bool LokdialogSpeichern(cLocoInfo &lok, const LokdialogEingaben &eingaben, int version);
